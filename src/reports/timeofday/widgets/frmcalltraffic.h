#pragma once

#include "reports/widgets/summarywindow.h"
#include "reports/timeofday/widgets/timeofdaywindow.h"

namespace tarrow::reports {

// Calls started per minute, by call type.
class frmCallTraffic : public TimeOfDayWindow {
    Q_OBJECT
public:
    explicit frmCallTraffic(ReportContext& context, QWidget* parent = nullptr);

protected:
    MinuteTable computeFigures() override;
    QWidget* createSummary() override;
};

// The Call Traffic figures per hour.
class frmCallTrafficSummary : public SummaryWindow {
    Q_OBJECT
public:
    explicit frmCallTrafficSummary(ReportContext& context, QWidget* parent = nullptr);
};

} // namespace tarrow::reports
