#pragma once

#include "reports/capacity/sizing.h"
#include "reports/history/historysummary.h"

#include <QString>

namespace tarrow::reports {

// The exit codes of a monitoring check.
enum CheckCode { CheckOk = 0, CheckWarning = 1, CheckCritical = 2, CheckUnknown = 3 };

// Utilisation thresholds in % of the capacity.
struct CheckThresholds {
    double warning = 80;
    double critical = 95;
};

// Why thresholds cannot be used (outside 0–100, not numbers, warning above
// critical), or empty.
[[nodiscard]] QString thresholdProblem(const CheckThresholds& thresholds);

// A run-out within this many days of the last day warns.
inline constexpr int kRunOutWarningDays = 90;

// A check's answer: its exit code and its one line, "TARROW CAPACITY
// WARNING - 83.1 % of what 20 ports carry at 1 % | 'utilisation'=83.1%;80;95;0 …".
struct CheckResult {
    CheckCode code = CheckUnknown;
    QString line;
};

// One day: utilisation = demand ÷ capacity; the verdict "notEnough" is
// critical whatever the utilisation.
[[nodiscard]] CheckResult checkDay(const CapacityFigures& figures, const Sizing& sizing,
                                   const CheckThresholds& thresholds);
// The last days as a history: utilisation of the demand sized over them;
// "exhausted" is critical, a likely run-out within 90 days at least warns.
[[nodiscard]] CheckResult checkDays(const HistorySummary& summary,
                                    const CheckThresholds& thresholds);
// "TARROW CAPACITY UNKNOWN - <why>".
[[nodiscard]] CheckResult unknownCheck(const QString& why);

} // namespace tarrow::reports
