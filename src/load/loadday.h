#pragma once

#include "load/loadedday.h"
#include "logparse/fieldreaders.h"
#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <array>
#include <functional>

namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::load {

struct LoadRequest {
    QString folder;
    QString prefix;
    QDate day;
    QString entryText; // the day-list entry, for the load message
    QTimeZone zone;
    logparse::DateOrder dateOrder = logparse::DateOrder::MonthDayYear;
};

// How far the work on one file is: it has `steps` steps (reading its lines,
// then storing its rows), and `advanced` reports how many are done and answers
// whether to go on. A load told to stop ends within a moment, leaving no day.
struct LoadProgress {
    // A file starts: its path, its steps, and which of the day's files it is
    // (from 1) of how many.
    std::function<void(const QString& path, qint64 steps, int file, int files)> fileStarted;
    std::function<bool(qint64 done)> advanced;
    std::function<void()> fileFinished;
};

struct LoadOutcome {
    QString folderError;        // the folder could not be read: nothing was changed
    QStringList errors;         // one message each (emptying or storing failed)
    QStringList oversizedFiles; // files over the line limit, not loaded
    QString message;            // the load message, or the no-data message
    QString repairNote;         // the working database was found damaged and replaced
    qint64 calls = 0;           // call starts of all types
    LoadedDay day;              // what was loaded (and stored in RawPortData)
    bool cancelled = false;     // stopped on request: nothing is loaded
    [[nodiscard]] bool foundCalls() const { return calls > 0; }
    // The day could not be stored whole: no report may run on it.
    [[nodiscard]] bool storeFailed() const { return !errors.isEmpty(); }
};

// "Load Data": empties the working database, parses every log file dated within
// one day of the chosen day in folder order, stores their rows and counts calls.
// The peaks go on from those of the previous day.
[[nodiscard]] LoadOutcome loadDay(store::WorkingDatabase& database, const LoadRequest& request,
                                  const LoadedDay& previous, const LoadProgress& progress = {});

// Days since 1970-01-01 of a date, as the parser counts days.
[[nodiscard]] std::int64_t dayNumber(const QDate& date);

// How a request's files are parsed, keeping the days from firstDay (a day
// number) on.
[[nodiscard]] logparse::ParseOptions parseOptions(const LoadRequest& request,
                                                  std::int64_t firstDay);

// Adds what one file's parse counted for the day (calls, peaks, data date,
// problems) to the day; its rows are the caller's to add.
void addCounts(LoadedDay& day, const logparse::ParseResult& parsed);

[[nodiscard]] QString loadMessage(const QString& entryText,
                                  const std::array<qint64, store::kCallTypeCount>& calls);
// What a load of a day without any log file in the folder says.
[[nodiscard]] QString noFilesMessage(const QDate& day);
[[nodiscard]] QString noDataMessage();
[[nodiscard]] QString storeFailedMessage();
[[nodiscard]] QString cancelledMessage();
[[nodiscard]] QString tooManyLinesMessage();
[[nodiscard]] QString tooManyLinesTitle();

} // namespace tarrow::load
