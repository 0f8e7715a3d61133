#pragma once

#include "reports/perport/widgets/portaxiswindow.h"
#include "reports/widgets/summarywindow.h"

namespace tarrow::reports {

// Calls of each type per port within the Call Distribution tab's range.
class frmCallDistribution : public PortAxisWindow {
    Q_OBJECT
public:
    explicit frmCallDistribution(ReportHost& host, QWidget* parent = nullptr);
};

// The stored Call Distribution figures, one row per port.
class frmCallDistributionSummary : public SummaryWindow {
    Q_OBJECT
public:
    frmCallDistributionSummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                               QWidget* parent = nullptr);
};

} // namespace tarrow::reports
