#include "reports/widgets/reportwindows.h"

#include "reports/perport/widgets/frmcalldistribution.h"
#include "reports/perport/widgets/frmporttimeuse.h"
#include "reports/timeofday/widgets/frmcalltraffic.h"
#include "reports/timeofday/widgets/frmportavailability.h"

namespace tarrow::reports {

ChartWindow* createReportWindow(const QString& name, ReportContext& context) {
    ChartWindow* window = nullptr;
    if (name == kReportWindowNames[0])
        window = new frmPortAvailability(context);
    else if (name == kReportWindowNames[1])
        window = new frmCallDistribution(context);
    else if (name == kReportWindowNames[2])
        window = new frmPortTimeUse(context);
    else if (name == kReportWindowNames[3])
        window = new frmCallTraffic(context);
    if (window)
        window->load();
    return window;
}

} // namespace tarrow::reports
