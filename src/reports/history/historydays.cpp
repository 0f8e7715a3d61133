#include "reports/history/historydays.h"

#include "load/loadedday.h"
#include "logparse/logfiles.h"
#include "logparse/readlogfile.h"
#include "reports/capacity/erlangb.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <map>
#include <mutex>
#include <optional>

namespace tarrow::reports {

HistoryDay historyDayOf(const load::LoadedDay& loaded, const QDate& date, double gos) {
    const CapacityFigures figures = computeCapacityFigures(loaded);
    HistoryDay day;
    day.day = date;
    day.calls = loaded.calls;
    day.busyHourStart = figures.busyHourStart;
    day.busyHourErlangs = figures.busyHourErlangs();
    day.peakLinesInUse = figures.peakLinesInUse;
    day.atbSeconds = figures.atbTotalSeconds;
    day.atbEpisodes = figures.atbEpisodes;
    day.portsInService = figures.portsWithCalls;
    day.portsNeeded = erlang::portsNeeded(day.busyHourErlangs, gos);
    if (!loaded.rows.empty()) {
        day.minLinesAvailable = loaded.rows.front().linesAvailable;
        for (const store::RawRow& row : loaded.rows)
            day.minLinesAvailable = std::min<int>(day.minLinesAvailable, row.linesAvailable);
    }
    for (int q = 0; q < kQuarterHours; ++q)
        day.quarterErlangs[static_cast<std::size_t>(q)] = figures.erlangs(q);
    return day;
}

namespace {

using load::dayNumber;

// One log file's parse, split by the days of the run it feeds.
struct FileDays {
    std::int64_t firstDay = 0;                // the day of parts[0]
    std::vector<logparse::ParseResult> parts; // none when the file could not be read
};

FileDays readFileDays(const logparse::LogFile& file, const load::LoadRequest& request,
                      std::int64_t firstDay, int dayCount) {
    FileDays read{firstDay, {}};
    const logparse::LogFileBytes bytes = logparse::readLogFile(file.nativePath);
    if (!bytes.parsable())
        return read;
    logparse::ParseOptions options = load::parseOptions(request, firstDay);
    options.fileName = file.name;
    read.parts = logparse::ParseLogFileDays(bytes.view(), options, dayCount);
    return read;
}

// The day from its files' parts, in folder order, as "Load Data" puts it
// together; the parts' rows are moved out.
load::LoadedDay assembleDay(std::int64_t day, const std::vector<qsizetype>& feeders,
                            std::vector<FileDays>& files) {
    load::LoadedDay loaded;
    for (const qsizetype f : feeders) {
        FileDays& file = files[static_cast<std::size_t>(f)];
        if (file.parts.empty())
            continue;
        logparse::ParseResult& part = file.parts[static_cast<std::size_t>(day - file.firstDay)];
        load::addCounts(loaded, part);
        if (part.tooManyLines)
            continue;
        if (loaded.rows.empty())
            loaded.rows = std::move(part.rows);
        else
            loaded.rows.insert(loaded.rows.end(), part.rows.begin(), part.rows.end());
        std::vector<store::RawRow>().swap(part.rows);
    }
    return loaded;
}

} // namespace

std::vector<HistoryDay> computeHistoryDays(const load::LoadRequest& request, const QDate& from,
                                           const QDate& to, double gos, QString& folderError,
                                           HistoryCache* cache, HistoryProgress* progress) {
    const logparse::FolderListing listing = logparse::listLogFiles(request.folder, request.prefix);
    folderError = listing.error;
    if (!listing.error.isEmpty())
        return {};
    const QList<logparse::LogFile>& files = listing.files;
    std::vector<QDate> dates;
    for (const logparse::LogFile& file : files)
        if (file.date.isValid() && file.date >= from && file.date <= to)
            dates.push_back(file.date);
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());

    // Each day's result has its own slot, from the cache or computed.
    std::vector<std::optional<HistoryDay>> results(dates.size());
    std::vector<QString> keys(dates.size());
    std::vector<std::size_t> todo;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (cache) {
            keys[i] = historyDayKey(dates[i], logparse::filesForDay(files, dates[i]),
                                    request.zone, request.dateOrder);
            if (auto found = cache->find(keys[i])) {
                results[i] = std::move(*found);
                continue;
            }
        }
        todo.push_back(i);
    }

    // The files that feed the days to compute (those dated within one day of
    // one), each to be read once for all the days it feeds; the files of each
    // day in folder order; and how many of them are still to be read.
    std::map<std::int64_t, std::size_t> todoIndex; // day number -> slot in `todo`
    for (std::size_t k = 0; k < todo.size(); ++k)
        todoIndex[dayNumber(dates[todo[k]])] = k;
    std::vector<std::vector<qsizetype>> feeders(todo.size());
    std::vector<std::pair<std::int64_t, int>> fileSpan(static_cast<std::size_t>(files.size()));
    std::vector<qsizetype> toRead;
    for (qsizetype f = 0; f < files.size(); ++f) {
        if (!files[f].date.isValid())
            continue;
        const std::int64_t date = dayNumber(files[f].date);
        std::int64_t first = 0, last = -1;
        for (std::int64_t d = date - 1; d <= date + 1; ++d)
            if (const auto it = todoIndex.find(d); it != todoIndex.end()) {
                feeders[it->second].push_back(f);
                first = last < first ? d : first;
                last = d;
            }
        if (last >= first) {
            fileSpan[static_cast<std::size_t>(f)] = {first, static_cast<int>(last - first + 1)};
            toRead.push_back(f);
        }
    }
    // Read in date order, so each day is put together, and its rows let go,
    // soon after its last file is read.
    std::stable_sort(toRead.begin(), toRead.end(),
                     [&](qsizetype a, qsizetype b) { return files[a].date < files[b].date; });
    std::vector<std::size_t> unread(todo.size());
    for (std::size_t k = 0; k < todo.size(); ++k)
        unread[k] = feeders[k].size();
    if (progress)
        progress->files = static_cast<qint64>(toRead.size());

    std::vector<FileDays> parsed(static_cast<std::size_t>(files.size()));
    std::mutex lock;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t n = next++; n < toRead.size(); n = next++) {
            if (progress && progress->stop)
                return;
            const qsizetype f = toRead[n];
            const auto [first, count] = fileSpan[static_cast<std::size_t>(f)];
            FileDays read = readFileDays(files[f], request, first, count);
            std::vector<std::size_t> ready;
            {
                const std::lock_guard guard(lock);
                parsed[static_cast<std::size_t>(f)] = std::move(read);
                for (std::int64_t d = first; d < first + count; ++d) {
                    const std::size_t k = todoIndex.at(d);
                    if (--unread[k] == 0)
                        ready.push_back(k);
                }
            }
            // A day whose files are all read is this worker's alone: no other
            // touches its parts.
            for (const std::size_t k : ready) {
                const load::LoadedDay day = assembleDay(dayNumber(dates[todo[k]]), feeders[k], parsed);
                if (day.totalCalls() > 0)
                    results[todo[k]] = historyDayOf(day, dates[todo[k]], gos);
            }
            if (progress)
                ++progress->filesRead;
        }
    };
    auto helper = std::async(std::launch::async, work);
    work();
    helper.get();
    if (progress && progress->stop)
        return {};
    if (cache) {
        std::vector<std::pair<QString, std::optional<HistoryDay>>> computed;
        for (const std::size_t i : todo)
            computed.emplace_back(keys[i], results[i]);
        cache->store(computed);
    }
    std::vector<HistoryDay> days;
    for (auto& result : results)
        if (result) {
            // What the target blocking decides is not kept in the cache.
            result->portsNeeded = erlang::portsNeeded(result->busyHourErlangs, gos);
            days.push_back(std::move(*result));
        }
    return days;
}

} // namespace tarrow::reports
