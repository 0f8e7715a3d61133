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
    day.portsInService = figures.poolPorts();
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

QString failureOf(logparse::ReadOutcome outcome, const QString& name, const QString& error) {
    switch (outcome) {
    case logparse::ReadOutcome::NotAFile:
        return QStringLiteral("%1 is not a regular file").arg(name);
    case logparse::ReadOutcome::Changed:
        return QStringLiteral("%1 changed while it was read").arg(name);
    case logparse::ReadOutcome::TooLarge:
        return QStringLiteral("%1 is too large for a log (over %2 MB)")
            .arg(name)
            .arg(logparse::kMaxLogFileBytes >> 20);
    case logparse::ReadOutcome::TooManyLines:
        return QStringLiteral("%1 holds more than 1,000,000 lines").arg(name);
    default:
        break;
    }
    return error.isEmpty() ? QStringLiteral("%1 could not be read").arg(name)
                           : QStringLiteral("%1 could not be read: %2").arg(name, error);
}

FileDays readFileDays(const logparse::LogFile& file, const load::LoadRequest& request,
                      std::int64_t firstDay, int dayCount) {
    FileDays read{firstDay, {}, {}};
    try {
        const logparse::LogFileBytes bytes = logparse::readLogFile(file.nativePath);
        if (!bytes.parsable()) {
            read.failure = failureOf(bytes.outcome, file.name, bytes.error);
            return read;
        }
        logparse::ParseOptions options = load::parseOptions(request, firstDay);
        options.fileName = file.name;
        options.knownLines = bytes.lines;
        read.parts = logparse::ParseLogFileDays(bytes.view(), options, dayCount);
        if (!read.parts.empty() && read.parts.front().tooManyLines) {
            read.parts.clear();
            read.failure = QStringLiteral("%1 holds more than 1,000,000 lines").arg(file.name);
        }
    } catch (const std::bad_alloc&) {
        read.parts.clear();
        read.failure = QStringLiteral("not enough memory to read %1").arg(file.name);
    } catch (const std::exception& e) {
        // Nothing a reader thread meets gets past it: the day is skipped.
        read.parts.clear();
        read.failure = QStringLiteral("%1 could not be read: %2")
                           .arg(file.name, QString::fromLocal8Bit(e.what()));
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

// One run of a history: the days of the range that have files, what the
// cache holds of them, and the files still to read, each read once for the
// span of days it feeds, on two threads.
class HistoryRun {
public:
    HistoryRun(const load::LoadRequest& request, double gos, QList<logparse::LogFile> files,
               HistoryProgress* progress)
        : request_(request), gos_(gos), files_(std::move(files)), progress_(progress) {}

    // The days from `from` to `to` that have files, in date order, and the
    // files of each in folder order.
    void listDays(const QDate& from, const QDate& to) {
        for (const logparse::LogFile& file : files_)
            if (file.date.isValid() && file.date >= from && file.date <= to)
                dayIndex_.emplace(dayNumber(file.date), 0);
        for (auto& [number, index] : dayIndex_) {
            index = dates_.size();
            dates_.push_back(QDate(1970, 1, 1).addDays(number));
        }
        dayFiles_.resize(dates_.size());
        for (qsizetype f = 0; f < files_.size(); ++f)
            if (files_[f].date.isValid())
                for (int d = -logparse::kDaysAroundFile; d <= logparse::kDaysAroundFile; ++d)
                    if (const auto it = dayIndex_.find(dayNumber(files_[f].date) + d);
                        it != dayIndex_.end() && logparse::feedsDay(files_[f], dates_[it->second]))
                        dayFiles_[it->second].push_back(f);
        results_.resize(dates_.size());
        keys_.resize(dates_.size());
        toCompute_.assign(dates_.size(), true);
        failures_.resize(dates_.size());
        unread_.resize(dates_.size());
    }

    // Takes the days whose files are unchanged from the cache.
    void lookUp(HistoryCache& cache) {
        std::map<qsizetype, QByteArray> stamps; // each file looked at once
        for (std::size_t i = 0; i < dates_.size(); ++i) {
            QList<QByteArray> dayStamps;
            for (const qsizetype f : dayFiles_[i]) {
                auto stamp = stamps.find(f);
                if (stamp == stamps.end())
                    stamp = stamps.emplace(f, historyFileStamp(files_[f])).first;
                dayStamps << stamp->second;
            }
            keys_[i] = historyDayKey(dates_[i], dayStamps, request_.zone, request_.dateOrder);
            if (auto found = cache.find(keys_[i], dates_[i])) {
                results_[i] = std::move(*found);
                toCompute_[i] = false;
            }
        }
    }

    // Reads the files of the days to compute on two threads; false when told
    // to stop.
    bool read() {
        planReads();
        if (progress_)
            progress_->files = static_cast<qint64>(toRead_.size());
        parsed_.resize(static_cast<std::size_t>(files_.size()));
        auto helper = std::async(std::launch::async, [this] { work(); });
        work();
        helper.get();
        return !(progress_ && progress_->stop);
    }

    // Keeps the days computed in the cache (a skipped day never: it is tried
    // again), names the skipped days, and gives the days with calls.
    std::vector<HistoryDay> finish(HistoryCache* cache, std::vector<SkippedDay>* skipped) {
        if (cache) {
            std::vector<HistoryCacheEntry> computed;
            for (std::size_t i = 0; i < dates_.size(); ++i)
                if (toCompute_[i] && failures_[i].isEmpty())
                    computed.push_back(
                        {keys_[i], historyDaySlot(dates_[i], request_.folder), results_[i]});
            cache->store(computed);
        }
        if (skipped)
            for (std::size_t i = 0; i < dates_.size(); ++i)
                if (!failures_[i].isEmpty())
                    skipped->push_back({dates_[i], failures_[i]});
        std::vector<HistoryDay> days;
        for (auto& result : results_)
            if (result) {
                // What the target blocking decides is not kept in the cache.
                result->portsNeeded = portsNeededOn(*result, gos_);
                days.push_back(std::move(*result));
            }
        return days;
    }

private:
    struct Span {
        std::int64_t first = 0;
        int days = 0;
    };

    // The files that feed the days to compute, each to be read once for the
    // span of those days it feeds, in date order, so that each day is put
    // together, and its rows let go, soon after its last file is read.
    void planReads() {
        spans_.assign(static_cast<std::size_t>(files_.size()), Span{});
        for (std::size_t i = 0; i < dates_.size(); ++i) {
            if (!toCompute_[i])
                continue;
            unread_[i] = dayFiles_[i].size();
            const std::int64_t day = dayNumber(dates_[i]);
            for (const qsizetype f : dayFiles_[i]) {
                Span& span = spans_[static_cast<std::size_t>(f)];
                // Days come in date order, so a file's span only grows forwards.
                if (span.days == 0)
                    span.first = day;
                span.days = static_cast<int>(day - span.first + 1);
            }
        }
        for (qsizetype f = 0; f < files_.size(); ++f)
            if (spans_[static_cast<std::size_t>(f)].days > 0)
                toRead_.push_back(f);
        std::stable_sort(toRead_.begin(), toRead_.end(), [this](qsizetype a, qsizetype b) {
            return files_[a].date < files_[b].date;
        });
    }

    void work() {
        for (std::size_t n = next_++; n < toRead_.size(); n = next_++) {
            if (progress_ && progress_->stop)
                return;
            const qsizetype f = toRead_[n];
            const Span span = spans_[static_cast<std::size_t>(f)];
            FileDays read = readFileDays(files_[f], request_, span.first, span.days);
            std::vector<std::size_t> ready;
            {
                const std::lock_guard guard(lock_);
                parsed_[static_cast<std::size_t>(f)] = std::move(read);
                for (std::int64_t d = span.first; d < span.first + span.days; ++d)
                    if (const std::size_t i = dayIndex_.at(d); toCompute_[i] && --unread_[i] == 0)
                        ready.push_back(i);
            }
            // A day whose files are all read is this worker's alone: no other
            // touches its parts.
            for (const std::size_t i : ready)
                compute(i);
            if (progress_)
                ++progress_->filesRead;
        }
    }

    void compute(std::size_t i) {
        failures_[i] = dayFailure(dayFiles_[i], parsed_);
        if (!failures_[i].isEmpty())
            return;
        try {
            load::LoadedDay day = assembleDay(dayNumber(dates_[i]), dayFiles_[i], parsed_);
            day.day = dates_[i];
            day.zone = request_.zone;
            if (day.totalCalls() > 0)
                results_[i] = historyDayOf(day, dates_[i], gos_);
        } catch (const std::bad_alloc&) {
            failures_[i] = QStringLiteral("not enough memory to compute the day");
        }
    }

    const load::LoadRequest& request_;
    double gos_;
    QList<logparse::LogFile> files_;
    HistoryProgress* progress_;
    std::map<std::int64_t, std::size_t> dayIndex_; // day number -> index in dates_
    std::vector<QDate> dates_;
    std::vector<std::vector<qsizetype>> dayFiles_;
    std::vector<std::optional<HistoryDay>> results_; // from the cache or computed
    std::vector<QString> keys_;
    std::vector<bool> toCompute_;
    std::vector<QString> failures_;   // why a day is skipped
    std::vector<std::size_t> unread_; // files of each day not read yet
    std::vector<Span> spans_;
    std::vector<qsizetype> toRead_;
    std::vector<FileDays> parsed_;
    std::mutex lock_;
    std::atomic<std::size_t> next_{0};
};

} // namespace

std::vector<HistoryDay> computeHistoryDays(const load::LoadRequest& request, const QDate& from,
                                           const QDate& to, double gos, QString& folderError,
                                           HistoryCache* cache, HistoryProgress* progress,
                                           std::vector<SkippedDay>* skipped) {
    logparse::FolderListing listing = logparse::listLogFiles(request.folder, request.prefix);
    folderError = listing.error;
    if (!listing.error.isEmpty())
        return {};
    HistoryRun run(request, gos, std::move(listing.files), progress);
    run.listDays(from, to);
    if (cache)
        run.lookUp(*cache);
    if (!run.read())
        return {};
    return run.finish(cache, skipped);
}

} // namespace tarrow::reports
