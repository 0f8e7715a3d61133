#pragma once

#include "app/reportfiles.h"

namespace tarrow::app {

// Opens a report window off screen on the loaded day, as the desktop program
// would, and writes its chart to a file. Needs a QApplication.
[[nodiscard]] ChartWriter windowChartWriter(AppState& state);

} // namespace tarrow::app
