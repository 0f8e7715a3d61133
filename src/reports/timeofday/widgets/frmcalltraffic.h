#pragma once

#include "reports/timeofday/widgets/timeofdaywindow.h"
#include "reports/widgets/summarywindow.h"

namespace tarrow::reports {

// Calls started per minute, by call type.
class frmCallTraffic : public TimeOfDayWindow {
    Q_OBJECT
public:
    explicit frmCallTraffic(ReportHost& host, QWidget* parent = nullptr);
};

// The Call Traffic figures per hour.
class frmCallTrafficSummary : public SummaryWindow {
    Q_OBJECT
public:
    frmCallTrafficSummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                          QWidget* parent = nullptr);
};

} // namespace tarrow::reports
