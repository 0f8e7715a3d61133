#include "reports/history/historydays.h"

#include "load/loadedday.h"
#include "logparse/logfiles.h"
#include "reports/capacity/erlangb.h"

#include <algorithm>
#include <atomic>
#include <future>
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

std::vector<HistoryDay> computeHistoryDays(const load::LoadRequest& request, const QDate& from,
                                           const QDate& to, double gos, QString& folderError,
                                           HistoryCache* cache) {
    const logparse::FolderListing listing = logparse::listLogFiles(request.folder, request.prefix);
    folderError = listing.error;
    if (!listing.error.isEmpty())
        return {};
    std::vector<QDate> dates;
    for (const logparse::LogFile& file : listing.files)
        if (file.date.isValid() && file.date >= from && file.date <= to)
            dates.push_back(file.date);
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());

    // Each day's result has its own slot: from the cache, or computed by two
    // workers that take the remaining days in turn.
    std::vector<std::optional<HistoryDay>> results(dates.size());
    std::vector<QString> keys(dates.size());
    std::vector<std::size_t> todo;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (cache) {
            keys[i] = historyDayKey(dates[i], logparse::filesForDay(listing.files, dates[i]),
                                    request.zone, request.dateOrder);
            if (auto found = cache->find(keys[i])) {
                results[i] = std::move(*found);
                continue;
            }
        }
        todo.push_back(i);
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k = next++; k < todo.size(); k = next++) {
            const std::size_t i = todo[k];
            load::LoadRequest day = request;
            day.day = dates[i];
            const load::LoadedDay loaded = load::readDay(listing.files, day);
            if (loaded.totalCalls() > 0)
                results[i] = historyDayOf(loaded, dates[i], gos);
        }
    };
    auto helper = std::async(std::launch::async, work);
    work();
    helper.get();
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
