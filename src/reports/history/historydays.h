#pragma once

#include "load/loadday.h"
#include "reports/history/historycache.h"
#include "reports/history/historysummary.h"

#include <QDate>

#include <atomic>
#include <vector>

namespace tarrow::load {
struct LoadedDay;
}

namespace tarrow::reports {

// The ports a day's busy hour needed at the target: for the traffic it
// offered, or one more than its pool when that was saturated.
[[nodiscard]] int portsNeededOn(const HistoryDay& day, double gos);

// A loaded day as one day of a history: its capacity figures, the ports
// needed for its busy hour at the target blocking, and its smallest count of
// lines available.
[[nodiscard]] HistoryDay historyDayOf(const load::LoadedDay& day, const QDate& date, double gos);

// How far a history run is, shared with the thread that shows it: the log
// files to read, how many are read, and whether to stop. A stopped run gives
// no days.
struct HistoryProgress {
    std::atomic<qint64> files{0};
    std::atomic<qint64> filesRead{0};
    std::atomic<bool> stop{false};
};

// Every day from `from` to `to` that the folder has files for, each read as
// if it were the only day loaded since start, without touching the working
// database; days whose files hold no call are left out. Each file is read
// once, for all the days it feeds, on one of two threads. The request gives the folder, prefix,
// zone and date order. With a cache, days whose files are unchanged are taken from it and the
// others kept in it. A day one of whose files cannot be read, holds more than
// 1,000,000 lines or does not fit in memory is skipped, with its reason, and
// never cached.
[[nodiscard]] std::vector<HistoryDay>
computeHistoryDays(const load::LoadRequest& request, const QDate& from, const QDate& to, double gos,
                   QString& folderError, HistoryCache* cache = nullptr,
                   HistoryProgress* progress = nullptr, std::vector<SkippedDay>* skipped = nullptr);

} // namespace tarrow::reports
