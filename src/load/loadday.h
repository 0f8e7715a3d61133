#pragma once

#include "logparse/fieldreaders.h"
#include "logparse/problems.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::logparse {

// Figures a load leaves behind for the reports. The call counters start again at
// every load; the two peaks only ever rise while the program runs.
struct LoadTotals {
    std::array<qint64, 5> calls{}; // call starts by call type 1 to 5
    std::int16_t peakPort = 0;
    std::int16_t peakAvailable = 0;
    std::optional<std::int64_t> lastEventTime; // local time of the last line kept
};

struct LoadRequest {
    QString folder;
    QString prefix;
    QDate day;
    QString entryText; // the day-list entry, for the load message
    QTimeZone zone;
    DateOrder dateOrder = DateOrder::MonthDayYear;
};

// How far the work on one file is: it has `steps` steps (reading its lines,
// then storing its rows), and `advanced` reports how many are done.
struct LoadProgress {
    std::function<void(const QString& path, qint64 steps)> fileStarted;
    std::function<void(qint64 done)> advanced;
    std::function<void()> fileFinished;
};

struct LoadOutcome {
    QString folderError;        // the folder could not be read: nothing was changed
    QStringList errors;         // one message each (emptying or storing failed)
    QStringList oversizedFiles; // files over the line limit, not loaded
    ProblemLog problems;        // lines and files skipped
    QString message;            // the load message, or the no-data message
    [[nodiscard]] bool foundCalls() const { return calls > 0; }
    qint64 calls = 0;
};

// "Load Data": empties the working database, parses every log file dated within
// one day of the chosen day in folder order, stores their rows and counts calls.
[[nodiscard]] LoadOutcome loadDay(store::WorkingDatabase& database, LoadTotals& totals,
                                  const LoadRequest& request, const LoadProgress& progress = {});

[[nodiscard]] QString loadMessage(const QString& entryText, const std::array<qint64, 5>& calls);
[[nodiscard]] QString noDataMessage();
[[nodiscard]] QString tooManyLinesMessage();
[[nodiscard]] QString tooManyLinesTitle();

} // namespace tarrow::logparse
