#include "reports/capacity/capacityreport.h"

#include "load/loadedday.h"
#include "reports/capacity/capacityoutput.h"

namespace tarrow::reports {

ReportDocument capacityReport(const load::LoadedDay& day, const ReportParams& params) {
    auto figures = std::make_shared<CapacityFigures>(computeCapacityFigures(day));
    const Sizing sizing = sizeCapacity(*figures, params.sizing);
    ReportDocument doc = documentOf(ReportId::Capacity, day.dataDate.date(), params);
    doc.verdict << capacityHeadline(*figures, sizing);
    doc.summary = capacitySummary(*figures);
    doc.chart = capacityChart(*figures, sizing);
    doc.chart.header = QStringLiteral("Capacity Report for ") + longDate(doc.day);
    doc.files.append({QStringLiteral("CapacityTraffic.csv"), capacityTrafficCsv(*figures)});
    doc.files.append({QStringLiteral("Capacity.json"), capacityJson(*figures, sizing)});
    doc.capacity = std::move(figures);
    return doc;
}

} // namespace tarrow::reports
