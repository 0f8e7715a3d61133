#pragma once

#include "reports/perport/widgets/portaxiswindow.h"
#include "reports/widgets/summarywindow.h"

namespace tarrow::reports {

// Seconds spent on each call type per port within the Port Time Use tab's range.
class frmPortTimeUse : public PortAxisWindow {
    Q_OBJECT
public:
    explicit frmPortTimeUse(ReportHost& host, QWidget* parent = nullptr);
};

// The stored Port Time Use seconds, one row per port.
class frmPortTimeUseSummary : public SummaryWindow {
    Q_OBJECT
public:
    frmPortTimeUseSummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                          QWidget* parent = nullptr);
};

} // namespace tarrow::reports
