#include "store/workingdatabase.h"

#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <cstring>

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
    damaged_ = false;
    const QString path = databasePathOf(connection_);
    if (path.isEmpty())
        return QStringLiteral("The connection string names no database file.");
    if (!QFileInfo::exists(path))
        return QStringLiteral("The working database \"%1\" does not exist.")
            .arg(QDir::toNativeSeparators(path));
    try {
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                     SQLite::OPEN_READWRITE);
        // SQLite's defaults (a rollback journal, full syncing) keep the file
        // sound through a crash and measured fastest for a load's one big
        // transaction of appended rows.
        createSchema(*db);
        sqlite3_update_hook(db->getHandle(), &WorkingDatabase::onRowChange, this);
        db_ = std::move(db);
        figuresValid_ = false;
    } catch (const SQLite::Exception& e) {
        damaged_ = e.getErrorCode() == SQLITE_NOTADB || e.getErrorCode() == SQLITE_CORRUPT;
        return QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString setAsideWorkingFile(const QString& dataFolder) {
    const QDir dir(dataFolder);
    const QString bad = dir.filePath(workingFileName() + QStringLiteral(".bad"));
    QFile::remove(bad);
    for (const char* companion : {"-wal", "-shm"})
        QFile::remove(dir.filePath(workingFileName() + QLatin1String(companion)));
    if (!QFile::rename(dir.filePath(workingFileName()), bad))
        return QStringLiteral("Could not move the damaged working database aside.");
    return {};
}

void WorkingDatabase::close() noexcept {
    db_.reset();
    figures_.clear();
    figuresValid_ = false;
}

SQLite::Database& WorkingDatabase::db() {
    if (!db_)
        throw SQLite::Exception("The working database is not open.");
    return *db_;
}

void WorkingDatabase::onRowChange(void* self, int, const char*, const char* table, long long) {
    if (std::strcmp(table, "RawPortData") == 0)
        static_cast<WorkingDatabase*>(self)->rawChanged_ = true;
}

std::int64_t WorkingDatabase::lastRawRowId() {
    SQLite::Statement q(db(), "SELECT IFNULL(MAX(rowid), 0) FROM RawPortData");
    q.executeStep();
    return q.getColumn(0).getInt64();
}

void WorkingDatabase::markFiguresCurrent() {
    rawChanged_ = false;
    figuresLastRowId_ = lastRawRowId();
    figuresValid_ = true;
}

bool WorkingDatabase::rawFiguresCurrent() {
    return figuresValid_ && !rawChanged_ && lastRawRowId() == figuresLastRowId_;
}

const std::vector<RawFigures>& WorkingDatabase::rawFigures() {
    if (rawFiguresCurrent())
        return figures_;
    figures_.clear();
    figuresValid_ = false;
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
    markFiguresCurrent();
    return figures_;
}

void WorkingDatabase::rawRowsEmptied() {
    figures_.clear();
    markFiguresCurrent();
}

void WorkingDatabase::rawRowsAppended(const std::vector<RawFigures>& rows, bool wereCurrent) {
    if (!wereCurrent) {
        figuresValid_ = false;
        return;
    }
    figures_.insert(figures_.end(), rows.begin(), rows.end());
    markFiguresCurrent();
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
