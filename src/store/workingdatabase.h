#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace SQLite {
class Database;
}

namespace tarrow::store {

inline QString workingFileName() { return QStringLiteral("PortData.mdb"); }
inline QString templateFileName() { return QStringLiteral("PortDataClean.mdb"); }

// "Provider=...;Data Source=" followed by the folder and the working file name.
[[nodiscard]] QString connectionString(const QString& dataFolder);
// The file named after "Data Source=" in a connection string.
[[nodiscard]] QString databasePathOf(const QString& connectionString);

// Makes sure the working file exists in dataFolder (copied from the template in
// programFolder when missing) and is writable. Returns an error description, or
// an empty text when the file is ready.
[[nodiscard]] QString prepareWorkingFile(const QString& programFolder, const QString& dataFolder);

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

    // Opens the database; returns an error description or an empty text.
    QString open();
    void close() noexcept;
    [[nodiscard]] bool isOpen() const { return db_ != nullptr; }
    // The open database; throws when it could not be opened.
    SQLite::Database& db();

private:
    QString connection_;
    std::unique_ptr<SQLite::Database> db_;
};

// Empties RawPortData; returns an error description or an empty text.
QString emptyRawPortData(WorkingDatabase& wdb);

// Empties all five tables. Emptying RawPortData fails silently; each result
// table that cannot be emptied gives one "Error in ClearDatabases: " message.
[[nodiscard]] QStringList ClearDatabases(WorkingDatabase& wdb);

} // namespace tarrow::store
