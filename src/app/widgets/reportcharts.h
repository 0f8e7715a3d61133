#pragma once

#include "app/reportfiles.h"

namespace tarrow::app {

// Draws a report's chart model off screen, as the report windows draw it, into
// a picture file. Needs a QApplication; constructs no window.
[[nodiscard]] ChartWriter chartPictureWriter();

} // namespace tarrow::app
