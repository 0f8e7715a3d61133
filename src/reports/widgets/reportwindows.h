#pragma once

#include "reports/reporttable.h"

#include <memory>

class QWidget;

namespace tarrow::reports {

class ChartWindow;
class ReportHost;

// Creates the report's chart window with its figures computed and drawn; the
// window is not shown. A parent, when given, is where the window opens from.
[[nodiscard]] std::unique_ptr<ChartWindow> createReportWindow(ReportId report, ReportHost& host,
                                                              QWidget* parent = nullptr);

} // namespace tarrow::reports
