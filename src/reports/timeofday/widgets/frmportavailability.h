#pragma once

#include "reports/timeofday/widgets/timeofdaywindow.h"
#include "reports/widgets/summarywindow.h"

namespace tarrow::reports {

// The fewest lines available and the most ports busy, minute by minute.
class frmPortAvailability : public TimeOfDayWindow {
    Q_OBJECT
public:
    explicit frmPortAvailability(ReportHost& host, QWidget* parent = nullptr);
};

// The Port Availability figures per clock hour.
class frmPortAvailabilitySummary : public SummaryWindow {
    Q_OBJECT
public:
    frmPortAvailabilitySummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                               QWidget* parent = nullptr);
};

} // namespace tarrow::reports
