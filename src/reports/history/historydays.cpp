#include "reports/history/historydays.h"

#include "load/loadedday.h"
#include "logparse/logfiles.h"
#include "logparse/readlogfile.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/sizing.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <map>
#include <mutex>
#include <new>
#include <numeric>
#include <optional>

namespace tarrow::reports {

int portsNeededOn(const HistoryDay& day, double gos) {
    // What the day's busy hour offered; a saturated pool tells only that it
    // needed more than it had.
    const std::optional<double> offered =
        erlang::offeredFromCarried(day.busyHourErlangs, day.portsInService);
    return offered ? erlang::portsNeeded(*offered, gos) : day.portsInService + 1;
}

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
    day.portsInService = sizeCapacity(figures, {}).ports;
    day.portsNeeded = portsNeededOn(day, gos);
    if (!loaded.rows.empty()) {
        day.minLinesAvailable = loaded.rows.front().linesAvailable;
        for (const store::RawRow& row : loaded.rows)
            day.minLinesAvailable = std::min<int>(day.minLinesAvailable, row.linesAvailable);
    }
    for (int q = 0; q < kQuarterHours; ++q) {
        const auto i = static_cast<std::size_t>(q);
        day.quarterErlangs[i] = figures.erlangs(q);
        day.poolSeconds[i] = std::accumulate(figures.poolSeconds[i].begin(),
                                             figures.poolSeconds[i].end(), qint64{0});
    }
    day.realSeconds = figures.realSeconds;
    day.atbQuarterSeconds = figures.atbSeconds;
    return day;
}

namespace {

using load::dayNumber;

// One log file's parse, split by the days of the run it feeds.
struct FileDays {
    std::int64_t firstDay = 0;                // the day of parts[0]
    std::vector<logparse::ParseResult> parts; // none when the file could not be read
    QString failure;                          // why the days it feeds cannot be computed
};

QString failureOf(logparse::ReadOutcome outcome, const QString& name) {
    switch (outcome) {
    case logparse::ReadOutcome::NotAFile:
        return QStringLiteral("%1 is not a regular file").arg(name);
    case logparse::ReadOutcome::Changed:
        return QStringLiteral("%1 changed while it was read").arg(name);
    default:
        break;
    }
    return QStringLiteral("%1 could not be read").arg(name);
}

FileDays readFileDays(const logparse::LogFile& file, const load::LoadRequest& request,
                      std::int64_t firstDay, int dayCount) {
    FileDays read{firstDay, {}, {}};
    try {
        const logparse::LogFileBytes bytes = logparse::readLogFile(file.nativePath);
        if (!bytes.parsable()) {
            read.failure = failureOf(bytes.outcome, file.name);
            return read;
        }
        logparse::ParseOptions options = load::parseOptions(request, firstDay);
        options.fileName = file.name;
        read.parts = logparse::ParseLogFileDays(bytes.view(), options, dayCount);
        if (!read.parts.empty() && read.parts.front().tooManyLines) {
            read.parts.clear();
            read.failure = QStringLiteral("%1 holds more than 1,000,000 lines").arg(file.name);
        }
    } catch (const std::bad_alloc&) {
        read.parts.clear();
        read.failure = QStringLiteral("not enough memory to read %1").arg(file.name);
    }
    return read;
}

// Why a day cannot be computed: the first of its files that failed.
QString dayFailure(const std::vector<qsizetype>& feeders, const std::vector<FileDays>& files) {
    for (const qsizetype f : feeders)
        if (!files[static_cast<std::size_t>(f)].failure.isEmpty())
            return files[static_cast<std::size_t>(f)].failure;
    return {};
}

// The day from its files' parts, in folder order, as "Load Data" puts it
// together; the parts' rows are moved out.
load::LoadedDay assembleDay(std::int64_t day, const std::vector<qsizetype>& feeders,
                            std::vector<FileDays>& files) {
    load::LoadedDay loaded;
    logparse::DayLinesBuilder lines;
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
        lines.add(std::move(part.callLines), part.edges);
        part.edges = {};
    }
    loaded.lines = lines.finish();
    return loaded;
}

} // namespace

std::vector<HistoryDay> computeHistoryDays(const load::LoadRequest& request, const QDate& from,
                                           const QDate& to, double gos, QString& folderError,
                                           HistoryCache* cache, HistoryProgress* progress,
                                           std::vector<SkippedDay>* skipped) {
    const logparse::FolderListing listing = logparse::listLogFiles(request.folder, request.prefix);
    folderError = listing.error;
    if (!listing.error.isEmpty())
        return {};
    const QList<logparse::LogFile>& files = listing.files;

    // The days of the range that have files, in date order, and the files of
    // each (those dated within one day of it, as "Load Data" takes them) in
    // folder order.
    std::map<std::int64_t, std::size_t> dayIndex; // day number -> index in `dates`
    for (const logparse::LogFile& file : files)
        if (file.date.isValid() && file.date >= from && file.date <= to)
            dayIndex.emplace(dayNumber(file.date), 0);
    std::vector<QDate> dates;
    for (auto& [number, index] : dayIndex) {
        index = dates.size();
        dates.push_back(QDate(1970, 1, 1).addDays(number));
    }
    std::vector<std::vector<qsizetype>> dayFiles(dates.size());
    for (qsizetype f = 0; f < files.size(); ++f)
        if (files[f].date.isValid())
            for (int d = -logparse::kDaysAroundFile; d <= logparse::kDaysAroundFile; ++d)
                if (const auto it = dayIndex.find(dayNumber(files[f].date) + d);
                    it != dayIndex.end() && logparse::feedsDay(files[f], dates[it->second]))
                    dayFiles[it->second].push_back(f);

    // Each day's result has its own slot, from the cache or computed.
    std::vector<std::optional<HistoryDay>> results(dates.size());
    std::vector<QString> keys(dates.size());
    std::vector<bool> toCompute(dates.size(), true);
    if (cache) {
        std::map<qsizetype, QByteArray> stamps; // each file looked at once
        for (std::size_t i = 0; i < dates.size(); ++i) {
            QList<QByteArray> dayStamps;
            for (const qsizetype f : dayFiles[i]) {
                auto stamp = stamps.find(f);
                if (stamp == stamps.end())
                    stamp = stamps.emplace(f, historyFileStamp(files[f])).first;
                dayStamps << stamp->second;
            }
            keys[i] = historyDayKey(dates[i], dayStamps, request.zone, request.dateOrder);
            if (auto found = cache->find(keys[i], dates[i])) {
                results[i] = std::move(*found);
                toCompute[i] = false;
            }
        }
    }

    // The files that feed the days to compute, each to be read once for the
    // span of those days it feeds; and how many files of each day are unread.
    struct Span {
        std::int64_t first = 0;
        int days = 0;
    };
    std::vector<Span> spans(static_cast<std::size_t>(files.size()));
    std::vector<std::size_t> unread(dates.size());
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (!toCompute[i])
            continue;
        unread[i] = dayFiles[i].size();
        const std::int64_t day = dayNumber(dates[i]);
        for (const qsizetype f : dayFiles[i]) {
            Span& span = spans[static_cast<std::size_t>(f)];
            // Days come in date order, so a file's span only grows forwards.
            if (span.days == 0)
                span.first = day;
            span.days = static_cast<int>(day - span.first + 1);
        }
    }
    std::vector<qsizetype> toRead;
    for (qsizetype f = 0; f < files.size(); ++f)
        if (spans[static_cast<std::size_t>(f)].days > 0)
            toRead.push_back(f);
    // Read in date order, so each day is put together, and its rows let go,
    // soon after its last file is read.
    std::stable_sort(toRead.begin(), toRead.end(),
                     [&](qsizetype a, qsizetype b) { return files[a].date < files[b].date; });
    if (progress)
        progress->files = static_cast<qint64>(toRead.size());

    std::vector<FileDays> parsed(static_cast<std::size_t>(files.size()));
    std::vector<QString> failures(dates.size()); // why a day is skipped
    std::mutex lock;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t n = next++; n < toRead.size(); n = next++) {
            if (progress && progress->stop)
                return;
            const qsizetype f = toRead[n];
            const Span span = spans[static_cast<std::size_t>(f)];
            FileDays read = readFileDays(files[f], request, span.first, span.days);
            std::vector<std::size_t> ready;
            {
                const std::lock_guard guard(lock);
                parsed[static_cast<std::size_t>(f)] = std::move(read);
                for (std::int64_t d = span.first; d < span.first + span.days; ++d)
                    if (const std::size_t i = dayIndex.at(d); toCompute[i] && --unread[i] == 0)
                        ready.push_back(i);
            }
            // A day whose files are all read is this worker's alone: no other
            // touches its parts.
            for (const std::size_t i : ready) {
                failures[i] = dayFailure(dayFiles[i], parsed);
                if (!failures[i].isEmpty())
                    continue;
                try {
                    load::LoadedDay day = assembleDay(dayNumber(dates[i]), dayFiles[i], parsed);
                    day.day = dates[i];
                    day.zone = request.zone;
                    if (day.totalCalls() > 0)
                        results[i] = historyDayOf(day, dates[i], gos);
                } catch (const std::bad_alloc&) {
                    failures[i] = QStringLiteral("not enough memory to compute the day");
                }
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
    // A skipped day is never cached: it is tried again on the next run.
    if (cache) {
        std::vector<std::pair<QString, std::optional<HistoryDay>>> computed;
        for (std::size_t i = 0; i < dates.size(); ++i)
            if (toCompute[i] && failures[i].isEmpty())
                computed.emplace_back(keys[i], results[i]);
        cache->store(computed);
    }
    if (skipped)
        for (std::size_t i = 0; i < dates.size(); ++i)
            if (!failures[i].isEmpty())
                skipped->push_back({dates[i], failures[i]});
    std::vector<HistoryDay> days;
    for (auto& result : results)
        if (result) {
            // What the target blocking decides is not kept in the cache.
            result->portsNeeded = portsNeededOn(*result, gos);
            days.push_back(std::move(*result));
        }
    return days;
}

} // namespace tarrow::reports
