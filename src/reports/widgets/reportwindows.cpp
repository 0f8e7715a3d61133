#include "reports/widgets/reportwindows.h"

#include "reports/capacity/widgets/frmcapacity.h"
#include "reports/perport/widgets/frmcalldistribution.h"
#include "reports/perport/widgets/frmporttimeuse.h"
#include "reports/timeofday/widgets/frmcalltraffic.h"
#include "reports/timeofday/widgets/frmportavailability.h"

namespace tarrow::reports {

namespace {

std::unique_ptr<ChartWindow> windowOf(ReportId report, ReportHost& host, QWidget* parent) {
    switch (report) {
    case ReportId::PortAvailability:
        return std::make_unique<frmPortAvailability>(host, parent);
    case ReportId::CallDistribution:
        return std::make_unique<frmCallDistribution>(host, parent);
    case ReportId::PortTimeUse:
        return std::make_unique<frmPortTimeUse>(host, parent);
    case ReportId::CallTraffic:
        return std::make_unique<frmCallTraffic>(host, parent);
    case ReportId::Capacity:
        return std::make_unique<frmCapacity>(host, parent);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<ChartWindow> createReportWindow(const ReportDocument& document, ReportHost& host,
                                                QWidget* parent) {
    std::unique_ptr<ChartWindow> window = windowOf(document.report, host, parent);
    if (window)
        window->showDocument(document);
    return window;
}

} // namespace tarrow::reports
