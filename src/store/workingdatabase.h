#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <memory>

namespace SQLite {
class Database;
class Exception;
} // namespace SQLite

namespace tarrow::store {

inline QString workingFileName() {
    return QStringLiteral("PortData.mdb");
}
inline QString templateFileName() {
    return QStringLiteral("PortDataClean.mdb");
}

// "Provider=...;Data Source=" followed by the folder and the working file name.
[[nodiscard]] QString connectionString(const QString& dataFolder);
// The file named after "Data Source=" in a connection string.
[[nodiscard]] QString databasePathOf(const QString& connectionString);

// Makes sure the working file exists in dataFolder (copied from the template in
// programFolder when missing) and is writable.
platform::Result prepareWorkingFile(const QString& programFolder, const QString& dataFolder);

// How long a statement waits for another connection's lock before it fails.
inline constexpr int kBusyTimeoutMs = 5000;

// The open working database, reached through its connection string. Every
// window and the command line share one of these.
class WorkingDatabase {
public:
    explicit WorkingDatabase(QString connectionString = {});
    ~WorkingDatabase();
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;

    const QString& connectionString() const { return connection_; }
    void setConnectionString(const QString& connection);

    platform::Result open();
    // Whether the file was found to be no sound database since it was opened:
    // not a database, damaged inside, or left by a load that did not finish.
    [[nodiscard]] bool foundDamage() const { return damaged_; }
    void noteDamage(bool damaged) { damaged_ = damaged_ || damaged; }
    // Notes damage when a failure that came from the database says so.
    void noteFailure(const std::exception& e);
    // Marks the file while a load writes to it, so a load that dies half-way
    // leaves a mark the next open finds.
    platform::Result markLoad(bool running);
    void close() noexcept;
    [[nodiscard]] bool isOpen() const { return db_ != nullptr; }
    // The open database; throws when it could not be opened.
    SQLite::Database& db();

private:
    static constexpr int kLoadMark = 0x4c4f4144; // "LOAD" in PRAGMA user_version
    QString connection_;
    std::unique_ptr<SQLite::Database> db_;
    bool damaged_ = false;
};

// Whether an SQLite failure says the file is damaged.
[[nodiscard]] bool isDamage(const SQLite::Exception& e);

// Moves a damaged working file aside as "PortData.mdb.bad" (replacing an older
// one), so a fresh copy of the template can take its place.
platform::Result setAsideWorkingFile(const QString& dataFolder);

platform::Result emptyRawPortData(WorkingDatabase& wdb);

// Gives the room of emptied rows back to the disk (the file is scratch: a
// cancelled load of a huge day leaves nothing to keep).
platform::Result returnFreeSpace(WorkingDatabase& wdb);

// Empties all five tables. Emptying RawPortData fails silently; each result
// table that cannot be emptied gives one "Error in ClearDatabases: " message.
[[nodiscard]] QStringList ClearDatabases(WorkingDatabase& wdb);

} // namespace tarrow::store
