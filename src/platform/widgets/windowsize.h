#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tarrow::platform {

// The window's outer size (frame included), after snapping it up to the
// minimum outer size when it is smaller; a minimum larger than the screen's
// room is cut to it. The resize rules of every window start from this.
QSize snapToMinimum(QWidget& window, QSize minimumOuter);

// The room on the window's screen (the primary one before it has one),
// without task bars and docks.
[[nodiscard]] QRect availableRoom(const QWidget& window);

// Makes a top-level window no larger than the room on its screen, frame
// included, and moves it inside that room.
void fitToScreen(QWidget& window);

} // namespace tarrow::platform
