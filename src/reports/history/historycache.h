#pragma once

#include "logparse/logfiles.h"
#include "reports/history/historysummary.h"
#include "store/blobcache.h"

#include <QString>
#include <QTimeZone>

#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tarrow::reports {

inline QString historyCacheFileName() {
    return QStringLiteral("History.db");
}

// What a history day's key holds of one of its files: its name, size,
// modification time and status-change time (taken once per file and run).
[[nodiscard]] QByteArray historyFileStamp(const logparse::LogFile& file);

// What makes up one day of a history: the day, the zone and date order it is
// read in, and the stamps of its files in folder order. A day whose files
// changed gets another key, so it is computed again.
[[nodiscard]] QString historyDayKey(const QDate& day, const QList<QByteArray>& fileStamps,
                                    const QTimeZone& zone, logparse::DateOrder order);

// The slot a day of a log folder fills in the cache: one row per day and
// folder, whatever changed in its files since.
[[nodiscard]] QString historyDaySlot(const QDate& day, const QString& folder);

// A day to keep: its key, its slot, and its figures (nothing when its files
// hold no call).
struct HistoryCacheEntry {
    QString key;
    QString slot;
    std::optional<HistoryDay> figures;
};

// The per-day cache of a history (History.db). It only ever saves work: a
// cached day is the day computed afresh, bit for bit, and a damaged cache is
// set aside as "History.db.bad" and started anew without a word. A cache that
// is busy, read-only or on a full disk is simply not used.
class HistoryCache {
public:
    explicit HistoryCache(const QString& folder);

    // A day found: its figures, or nothing inside when its files hold no call.
    // A row that does not decode to a sane figure of that day is not found.
    [[nodiscard]] std::optional<std::optional<HistoryDay>> find(const QString& key,
                                                                const QDate& day);
    // Keeps days just computed, in one transaction; each replaces the row its
    // slot held.
    void store(const std::vector<HistoryCacheEntry>& days);

private:
    store::BlobCache cache_;
};

} // namespace tarrow::reports
