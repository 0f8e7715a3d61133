#include "store/workingdatabase.h"

#include "platform/shownpath.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

namespace tarrow::store {

using platform::Result;

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

Result prepareWorkingFile(const QString& programFolder, const QString& dataFolder) {
    const QString working = QDir(dataFolder).filePath(workingFileName());
    if (!QFileInfo::exists(working)) {
        const QString source = QDir(programFolder).filePath(templateFileName());
        if (!QFileInfo::exists(source))
            return Result::failure(
                QStringLiteral("The empty database template \"%1\" was not found.")
                    .arg(platform::shownPath(source)));
        if (!QDir().mkpath(dataFolder) || !QFile::copy(source, working))
            return Result::failure(
                QStringLiteral("Could not copy \"%1\" to \"%2\".")
                    .arg(platform::shownPath(source), platform::shownPath(working)));
    }
    // A read-only working file is made writable again, but a link is not
    // followed: the file it points to belongs to someone else.
    if (QFileInfo(working).isSymLink())
        return {};
    QFile file(working);
    const auto perms = file.permissions();
    if (!(perms & QFileDevice::WriteOwner) &&
        !file.setPermissions(perms | QFileDevice::WriteOwner | QFileDevice::WriteUser))
        return Result::failure(
            QStringLiteral("Could not make \"%1\" writable.").arg(platform::shownPath(working)));
    return {};
}

WorkingDatabase::WorkingDatabase(QString connection) : connection_(std::move(connection)) {}
WorkingDatabase::~WorkingDatabase() = default;

void WorkingDatabase::setConnectionString(const QString& connection) {
    close();
    connection_ = connection;
}

Result WorkingDatabase::open() {
    close();
    damaged_ = false;
    const QString path = databasePathOf(connection_);
    if (path.isEmpty())
        return Result::failure(QStringLiteral("The connection string names no database file."));
    if (!QFileInfo::exists(path))
        return Result::failure(QStringLiteral("The working database \"%1\" does not exist.")
                                   .arg(platform::shownPath(path)));
    try {
        // One thread uses the connection, so SQLite's own locking is left out.
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                     SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        // The working database is scratch data rebuilt from the logs: the
        // journal stays in memory (a failed file still rolls back), nothing
        // waits for the disk, and freed pages are not overwritten. A load
        // that dies half-way is found by the load mark and the file rebuilt.
        // A moment's overlap with another connection (a tool reading the
        // file) waits instead of failing the load.
        db->setBusyTimeout(kBusyTimeoutMs);
        db->exec("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; PRAGMA secure_delete=OFF;");
        if (db->execAndGet("PRAGMA user_version").getInt() == kLoadMark) {
            damaged_ = true;
            return Result::failure(
                QStringLiteral("The working database was left half-written by a load that did "
                               "not finish."));
        }
        createSchema(*db);
        db_ = std::move(db);
    } catch (const SQLite::Exception& e) {
        damaged_ = isDamage(e);
        return Result::failure(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        return Result::failure(QString::fromUtf8(e.what()));
    }
    return {};
}

bool isDamage(const SQLite::Exception& e) {
    return e.getErrorCode() == SQLITE_NOTADB || e.getErrorCode() == SQLITE_CORRUPT;
}

void WorkingDatabase::noteFailure(const std::exception& e) {
    if (const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e))
        noteDamage(isDamage(*sqlite));
}

Result WorkingDatabase::markLoad(bool running) {
    try {
        db().exec(running ? "PRAGMA user_version=" + std::to_string(kLoadMark)
                          : std::string("PRAGMA user_version=0"));
    } catch (const std::exception& e) {
        noteFailure(e);
        return Result::failure(QString::fromUtf8(e.what()));
    }
    return {};
}

Result setAsideWorkingFile(const QString& dataFolder) {
    const QDir dir(dataFolder);
    const QString bad = dir.filePath(workingFileName() + QStringLiteral(".bad"));
    QFile::remove(bad);
    for (const char* companion : {"-wal", "-shm"})
        QFile::remove(dir.filePath(workingFileName() + QLatin1String(companion)));
    if (!QFile::rename(dir.filePath(workingFileName()), bad))
        return Result::failure(
            QStringLiteral("Could not move the damaged working database aside."));
    return {};
}

void WorkingDatabase::close() noexcept {
    db_.reset();
}

SQLite::Database& WorkingDatabase::db() {
    if (!db_)
        throw SQLite::Exception("The working database is not open.");
    return *db_;
}

Result emptyRawPortData(WorkingDatabase& wdb) {
    try {
        wdb.db().exec("DELETE FROM RawPortData");
    } catch (const std::exception& e) {
        wdb.noteFailure(e);
        return Result::failure(QString::fromUtf8(e.what()));
    }
    return {};
}

Result returnFreeSpace(WorkingDatabase& wdb) {
    try {
        wdb.db().exec("VACUUM");
    } catch (const std::exception& e) {
        wdb.noteFailure(e);
        return Result::failure(QString::fromUtf8(e.what()));
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
            wdb.noteFailure(e);
            messages << QStringLiteral("Error in ClearDatabases: ") + QString::fromUtf8(e.what());
        }
    }
    return messages;
}

} // namespace tarrow::store
