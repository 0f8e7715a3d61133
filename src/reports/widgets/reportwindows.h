#pragma once

#include <QString>

namespace tarrow::reports {

class ChartWindow;
struct ReportContext;

// The four report windows by name: frmPortAvailability, frmCallDistribution,
// frmPortTimeUse and frmCallTraffic.
inline const QString kReportWindowNames[] = {
    QStringLiteral("frmPortAvailability"), QStringLiteral("frmCallDistribution"),
    QStringLiteral("frmPortTimeUse"), QStringLiteral("frmCallTraffic")};

// Creates the named report window with its figures computed and drawn; nullptr
// for a name that is no report window. The window is not shown.
[[nodiscard]] ChartWindow* createReportWindow(const QString& name, ReportContext& context);

} // namespace tarrow::reports
