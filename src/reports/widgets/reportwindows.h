#pragma once

#include "reports/reporttable.h"

#include <memory>

class QWidget;

namespace tarrow::reports {

class ChartWindow;
class ReportHost;

// Creates the chart window of the document's report with its figures drawn;
// the window is not shown. A parent, when given, is where the window opens
// from. The switch names every report, so a report added to the table without
// a window does not build.
[[nodiscard]] std::unique_ptr<ChartWindow>
createReportWindow(const ReportDocument& document, ReportHost& host, QWidget* parent = nullptr);

} // namespace tarrow::reports
