#pragma once

#include "charts/chartmodel.h"
#include "reports/capacity/sizing.h"
#include "reports/summarytable.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

#include <array>

namespace tarrow::reports {

// One line of the capacity verdict: what it says and its figure; warning marks
// a figure that says the ports fall short.
struct VerdictLine {
    QString label;
    QString value;
    bool warning = false;
};

// The verdict in one or two sentences, naming the evidence that decided it.
[[nodiscard]] QString capacityHeadline(const CapacityFigures& figures, const Sizing& sizing);
// The verdict's figures, in the order the window and the command line show them.
[[nodiscard]] QList<VerdictLine> capacityVerdict(const CapacityFigures& figures,
                                                 const Sizing& sizing);

// The colour a verdict's headline is written in: green only for "enough",
// amber for "near", red for "notEnough".
[[nodiscard]] QColor verdictColour(Verdict verdict);

// A blocking target as the user reads it: 0.01 is "1 %".
[[nodiscard]] QString percentText(double probability);
[[nodiscard]] QString erlangText(double erlangs); // "12.345 E"

// CapacityTraffic.csv: one row per quarter-hour, Erlangs with 4 decimals.
[[nodiscard]] QByteArray capacityTrafficCsv(const CapacityFigures& figures);
// Capacity.json (schema 2): the figures and the sizing at the choice made.
[[nodiscard]] QByteArray capacityJson(const CapacityFigures& figures, const Sizing& sizing);

// The quarter-hour table as a summary grid.
[[nodiscard]] SummaryTable capacitySummary(const CapacityFigures& figures);

// The pool's traffic by clock quarter in Erlangs, stacked by call type, the
// busy hour shaded and levels for the pool and what it carries at the target;
// the X axis is minutes of the day as on the other time-of-day charts.
[[nodiscard]] charts::ChartModel capacityChart(const CapacityFigures& figures,
                                               const Sizing& sizing);
// A dashed level of the chart: its legend text and its height in Erlangs.
struct CapacityLevel {
    QString label;
    double erlangs = 0;
};
// The pool and the capacity at the target, the last two series of
// capacityChart, for a sizing.
[[nodiscard]] std::array<CapacityLevel, 2> capacityLevels(const Sizing& sizing);

} // namespace tarrow::reports
