#include "store/workingdatabase.h"

#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

namespace tarrow::store {

namespace {
const QString kProvider = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
}

QString connectionString(const QString& dataFolder) {
    return kProvider + QDir::toNativeSeparators(QDir(dataFolder).filePath(workingFileName()));
}

QString databasePathOf(const QString& connection) {
    const qsizetype at = connection.indexOf(QStringLiteral("Data Source="), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    QString path = connection.mid(at + 12);
    const qsizetype end = path.indexOf(QLatin1Char(';'));
    if (end >= 0)
        path.truncate(end);
    return QDir::fromNativeSeparators(path);
}

QString prepareWorkingFile(const QString& programFolder, const QString& dataFolder) {
    const QString working = QDir(dataFolder).filePath(workingFileName());
    if (!QFileInfo::exists(working)) {
        const QString source = QDir(programFolder).filePath(templateFileName());
        if (!QFileInfo::exists(source))
            return QStringLiteral("The empty database template \"%1\" was not found.")
                .arg(QDir::toNativeSeparators(source));
        if (!QDir().mkpath(dataFolder) || !QFile::copy(source, working))
            return QStringLiteral("Could not copy \"%1\" to \"%2\".")
                .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(working));
    }
    QFile file(working);
    const auto perms = file.permissions();
    if (!(perms & QFileDevice::WriteOwner) &&
        !file.setPermissions(perms | QFileDevice::WriteOwner | QFileDevice::WriteUser))
        return QStringLiteral("Could not make \"%1\" writable.")
            .arg(QDir::toNativeSeparators(working));
    return {};
}

WorkingDatabase::WorkingDatabase(QString connection) : connection_(std::move(connection)) {}
WorkingDatabase::~WorkingDatabase() = default;

void WorkingDatabase::setConnectionString(const QString& connection) {
    close();
    connection_ = connection;
}

QString WorkingDatabase::open() {
    close();
    const QString path = databasePathOf(connection_);
    if (path.isEmpty())
        return QStringLiteral("The connection string names no database file.");
    if (!QFileInfo::exists(path))
        return QStringLiteral("The working database \"%1\" does not exist.")
            .arg(QDir::toNativeSeparators(path));
    try {
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                     SQLite::OPEN_READWRITE);
        // The working database is scratch data refilled at every load: a
        // write-ahead log with normal syncing keeps it consistent after a crash
        // while letting a load append a million rows quickly.
        db->exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
        createSchema(*db);
        db_ = std::move(db);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

void WorkingDatabase::close() noexcept {
    db_.reset();
    figures_.clear();
    figuresMark_ = {};
}

WorkingDatabase::TableMark WorkingDatabase::rawMark() {
    SQLite::Statement q(db(), "SELECT COUNT(*), IFNULL(MAX(rowid), 0) FROM RawPortData");
    q.executeStep();
    return TableMark{q.getColumn(0).getInt64(), q.getColumn(1).getInt64()};
}

const std::vector<RawFigures>& WorkingDatabase::rawFigures() {
    // The row count and last row id tell whether anything but this program's
    // own loads changed the table since the figures were taken.
    const TableMark mark = rawMark();
    if (mark == figuresMark_)
        return figures_;
    figures_.clear();
    figuresMark_ = {};
    SQLite::Statement q(db(), "SELECT Port, CallType, StartMinute, LinesInUse, "
                              "LinesAvailableToTakeCalls, EndMinute, Seconds FROM RawPortData "
                              "ORDER BY rowid");
    while (q.executeStep()) {
        RawFigures f;
        f.port = static_cast<std::int16_t>(q.getColumn(0).getInt());
        f.callType = static_cast<std::int16_t>(q.getColumn(1).getInt());
        f.startMinute = static_cast<std::int16_t>(q.getColumn(2).getInt());
        f.linesInUse = static_cast<std::int16_t>(q.getColumn(3).getInt());
        f.linesAvailable = static_cast<std::int16_t>(q.getColumn(4).getInt());
        f.closed = !q.getColumn(5).isNull();
        f.endMinute = q.getColumn(5).getInt();
        f.seconds = q.getColumn(6).getInt();
        figures_.push_back(f);
    }
    figuresMark_ = mark;
    return figures_;
}

void WorkingDatabase::rawRowsEmptied() {
    figures_.clear();
    figuresMark_ = TableMark{0, 0};
}

void WorkingDatabase::rawRowsAppended(const std::vector<RawFigures>& rows) {
    const bool current = figuresMark_.count == static_cast<std::int64_t>(figures_.size());
    figures_.insert(figures_.end(), rows.begin(), rows.end());
    // Only figures that matched the table before stay trusted; otherwise the
    // next read takes them from the table again.
    figuresMark_ = current ? rawMark() : TableMark{};
}

SQLite::Database& WorkingDatabase::db() {
    if (!db_)
        throw SQLite::Exception("The working database is not open.");
    return *db_;
}

QString emptyRawPortData(WorkingDatabase& wdb) {
    try {
        wdb.db().exec("DELETE FROM RawPortData");
        wdb.rawRowsEmptied();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QStringList ClearDatabases(WorkingDatabase& wdb) {
    // Reopening first lets a database that was unusable at start-up recover.
    if (!wdb.isOpen())
        (void)wdb.open();
    (void)emptyRawPortData(wdb);
    QStringList messages;
    for (const char* table : kResultTables) {
        try {
            wdb.db().exec(std::string("DELETE FROM ") + table);
        } catch (const std::exception& e) {
            messages << QStringLiteral("Error in ClearDatabases: ") + QString::fromUtf8(e.what());
        }
    }
    return messages;
}

} // namespace tarrow::store
