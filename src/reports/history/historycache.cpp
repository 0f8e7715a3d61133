#include "reports/history/historycache.h"

#include "platform/isodate.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <sqlite3.h>

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

// Whether SQLite found the file damaged or no database at all, as opposed to
// busy with another process, read-only or on a full disk: only damage sets
// the file aside, anything else only goes without the cache this time.
bool isDamage(const std::exception& error) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&error);
    return sqlite &&
           (sqlite->getErrorCode() == SQLITE_CORRUPT || sqlite->getErrorCode() == SQLITE_NOTADB);
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
    : path_(QDir(folder).filePath(historyCacheFileName())) {
    (void)QDir().mkpath(folder);
    try {
        open();
    } catch (const std::exception& error) {
        db_.reset();
        if (isDamage(error))
            startAnew();
    }
}

HistoryCache::~HistoryCache() = default;

void HistoryCache::open() {
    db_ = std::make_unique<SQLite::Database>(QFile::encodeName(path_).toStdString(),
                                             SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db_->setBusyTimeout(5000);
    db_->exec("CREATE TABLE IF NOT EXISTS Days (Key TEXT PRIMARY KEY, Figures BLOB NOT NULL)");
    (void)db_->execAndGet("SELECT COUNT(*) FROM Days");
}

void HistoryCache::failed(const std::exception& error) {
    db_.reset();
    if (isDamage(error))
        startAnew();
}

void HistoryCache::startAnew() {
    db_.reset();
    const QString bad = path_ + QStringLiteral(".bad");
    QFile::remove(bad);
    if (!QFile::rename(path_, bad))
        QFile::remove(path_);
    try {
        open();
    } catch (const std::exception&) {
        db_.reset(); // no cache this time: every day is computed
    }
}

std::optional<std::optional<HistoryDay>> HistoryCache::find(const QString& key, const QDate& day) {
    if (!db_)
        return std::nullopt;
    try {
        SQLite::Statement query(*db_, "SELECT Figures FROM Days WHERE Key = ?");
        query.bind(1, key.toStdString());
        if (!query.executeStep())
            return std::nullopt;
        const SQLite::Column figures = query.getColumn(0);
        auto found =
            decode(QByteArray(static_cast<const char*>(figures.getBlob()), figures.getBytes()));
        // A row that is not a sane figure of this very day is damage: the
        // day is computed again and the row replaced.
        if (found && *found && !(*found)->sane(day))
            return std::nullopt;
        return found;
    } catch (const std::exception& error) {
        failed(error);
        return std::nullopt;
    }
}

void HistoryCache::store(const std::vector<std::pair<QString, std::optional<HistoryDay>>>& days) {
    if (!db_ || days.empty())
        return;
    try {
        SQLite::Transaction transaction(*db_);
        SQLite::Statement insert(*db_, "INSERT OR REPLACE INTO Days (Key, Figures) VALUES (?, ?)");
        for (const auto& [key, day] : days) {
            const QByteArray bytes = encode(day);
            insert.bind(1, key.toStdString());
            insert.bind(2, bytes.constData(), static_cast<int>(bytes.size()));
            insert.exec();
            insert.reset();
        }
        transaction.commit();
    } catch (const std::exception& error) {
        failed(error);
    }
}

} // namespace tarrow::reports
