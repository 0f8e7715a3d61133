#pragma once

#include "reports/widgets/summarywindow.h"
#include "reports/timeofday/widgets/timeofdaywindow.h"

namespace tarrow::reports {

// The fewest lines available and the most ports busy, minute by minute.
class frmPortAvailability : public TimeOfDayWindow {
    Q_OBJECT
public:
    explicit frmPortAvailability(ReportContext& context, QWidget* parent = nullptr);

protected:
    MinuteTable computeFigures() override;
    QWidget* createSummary() override;
};

// The Port Availability figures per clock hour.
class frmPortAvailabilitySummary : public SummaryWindow {
    Q_OBJECT
public:
    explicit frmPortAvailabilitySummary(ReportContext& context, QWidget* parent = nullptr);
};

} // namespace tarrow::reports
