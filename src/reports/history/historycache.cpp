#include "reports/history/historycache.h"

#include "platform/isodate.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace tarrow::reports {

namespace {

constexpr qint32 kFormat = 3; // of the stored figures; another format is a miss

QByteArray encode(const std::optional<HistoryDay>& day) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kFormat << day.has_value();
    if (!day)
        return bytes;
    out << day->day;
    for (const qint64 calls : day->calls)
        out << calls;
    out << day->busyHourStart << day->busyHourErlangs << day->peakLinesInUse
        << day->minLinesAvailable << day->atbSeconds << day->atbEpisodes << day->portsInService;
    for (const double erlangs : day->quarterErlangs)
        out << erlangs;
    for (const QuarterSeconds* seconds :
         {&day->poolSeconds, &day->realSeconds, &day->atbQuarterSeconds})
        for (const qint64 s : *seconds)
            out << s;
    return bytes;
}

std::optional<std::optional<HistoryDay>> decode(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    qint32 format = 0;
    bool hasDay = false;
    in >> format >> hasDay;
    if (in.status() != QDataStream::Ok || format != kFormat)
        return std::nullopt;
    if (!hasDay)
        return std::optional<HistoryDay>();
    HistoryDay day;
    in >> day.day;
    for (qint64& calls : day.calls)
        in >> calls;
    in >> day.busyHourStart >> day.busyHourErlangs >> day.peakLinesInUse >> day.minLinesAvailable >>
        day.atbSeconds >> day.atbEpisodes >> day.portsInService;
    for (double& erlangs : day.quarterErlangs)
        in >> erlangs;
    for (QuarterSeconds* seconds : {&day.poolSeconds, &day.realSeconds, &day.atbQuarterSeconds})
        for (qint64& s : *seconds)
            in >> s;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return std::optional<HistoryDay>(day);
}

} // namespace

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
    auto found = decode(*bytes);
    // A row that is not a sane figure of this very day is damage: the day is
    // computed again and the row replaced.
    if (found && *found && !(*found)->sane(day))
        return std::nullopt;
    return found;
}

void HistoryCache::store(const std::vector<HistoryCacheEntry>& days) {
    std::vector<store::BlobEntry> values;
    for (const HistoryCacheEntry& day : days)
        values.push_back({day.key, day.slot, encode(day.figures)});
    cache_.store(values);
}

QString historyDaySlot(const QDate& day, const QString& folder) {
    return platform::isoDate(day) + QLatin1Char('\t') +
           QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace tarrow::reports
