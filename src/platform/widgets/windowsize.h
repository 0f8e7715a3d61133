#pragma once

#include <QSize>

class QWidget;

namespace tarrow::platform {

// The window's outer size (frame included), after snapping it up to the
// minimum outer size when it is smaller. The resize rules of every window
// start from this.
QSize snapToMinimum(QWidget& window, QSize minimumOuter);

} // namespace tarrow::platform
