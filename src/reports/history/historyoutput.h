#pragma once

#include "reports/capacity/capacityoutput.h"
#include "reports/history/historysummary.h"
#include "reports/summarytable.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace tarrow::reports {

// A history run as the window shows it: its days in date order, their
// across-day figures and the blocking target they were sized at.
struct HistoryRun {
    std::vector<HistoryDay> days;
    HistorySummary summary;
    double gos = kDefaultGos;
};

// One line per day: its date, busy hour, offered traffic, peak and
// all-ports-busy time.
[[nodiscard]] QStringList historyDayLines(const std::vector<HistoryDay>& days,
                                          const HistorySummary& summary);
// The status in words: "Ports already short since about 22 Jan", "Ports run
// out between 10 and 31 May, most likely 17 May" or "No run-out within a year".
[[nodiscard]] QString historyHeadline(const HistorySummary& summary);
// The colour the headline is written in.
[[nodiscard]] QColor historyColour(const HistorySummary& summary);
// The across-day figures, in the order the window and the command line show them.
[[nodiscard]] QList<VerdictLine> historyVerdict(const HistorySummary& summary);
// The days as a grid: the columns and cells of History.csv, keyed by the
// file's column names; the headers split into words ("Busy Hour Erlangs") so
// a printed table can wrap them.
[[nodiscard]] SummaryTable historyDaysTable(const std::vector<HistoryDay>& days,
                                            const HistorySummary& summary);
// "2026-11-03: data_qnhcmgr_20261103.csv could not be read", one per skipped day.
[[nodiscard]] QStringList skippedDayLines(const HistorySummary& summary);

} // namespace tarrow::reports
