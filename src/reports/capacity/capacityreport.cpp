#include "reports/capacity/capacityreport.h"

#include "load/loadedday.h"
#include "reports/capacity/capacityoutput.h"

namespace tarrow::reports {

ReportOutput capacityReport(const ReportInput& input) {
    auto figures = std::make_shared<CapacityFigures>(computeCapacityFigures(input.day));
    const Sizing sizing = sizeCapacity(*figures, input.sizing);
    ReportOutput out;
    out.summary = capacitySummary(*figures);
    out.chart = capacityChart(*figures, sizing);
    out.chart.header = QStringLiteral("Capacity Report for ") + longDate(input.day.dataDate.date());
    out.files.append({QStringLiteral("CapacityTraffic.csv"), capacityTrafficCsv(*figures)});
    out.files.append({QStringLiteral("Capacity.json"), capacityJson(*figures, sizing)});
    out.capacity = std::move(figures);
    return out;
}

} // namespace tarrow::reports
