#include "reports/history/historycache.h"

#include "platform/isodate.h"
#include "reports/history/historycodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarrow::reports {

QByteArray historyFileStamp(const logparse::LogFile& file) {
    const QFileInfo info(QFile::decodeName(file.nativePath));
    // The status-change time too: a file rewritten and its time set back is
    // still noticed.
    return file.nativePath + '\t' + QByteArray::number(info.size()) + '\t' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\t' +
           QByteArray::number(info.metadataChangeTime().toMSecsSinceEpoch()) + '\n';
}

QString historyDayKey(const QDate& day, const QList<QByteArray>& fileStamps, const QTimeZone& zone,
                      logparse::DateOrder order) {
    QByteArray text = platform::isoDate(day).toUtf8() + '\n' + zone.id() + '\n' +
                      QByteArray::number(static_cast<int>(order)) + '\n';
    for (const QByteArray& stamp : fileStamps)
        text += stamp;
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

HistoryCache::HistoryCache(const QString& folder)
    : cache_([&folder] {
          (void)QDir().mkpath(folder);
          return QDir(folder).filePath(historyCacheFileName());
      }()) {}

std::optional<std::optional<HistoryDay>> HistoryCache::find(const QString& key, const QDate& day) {
    const std::optional<QByteArray> bytes = cache_.find(key);
    if (!bytes)
        return std::nullopt;
    auto found = decodeHistoryDay(*bytes);
    // A row that is not a sane figure of this very day is damage: the day is
    // computed again and the row replaced.
    if (found && *found && !(*found)->sane(day))
        return std::nullopt;
    return found;
}

void HistoryCache::store(const std::vector<HistoryCacheEntry>& days) {
    std::vector<store::BlobEntry> values;
    for (const HistoryCacheEntry& day : days)
        values.push_back({day.key, day.slot, encodeHistoryDay(day.figures)});
    cache_.store(values);
}

QString historyDaySlot(const QDate& day, const QString& folder) {
    return platform::isoDate(day) + QLatin1Char('\t') +
           QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace tarrow::reports
