#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace SQLite {
class Database;
}

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
// programFolder when missing) and is writable. Returns an error description, or
// an empty text when the file is ready.
[[nodiscard]] QString prepareWorkingFile(const QString& programFolder, const QString& dataFolder);

// The figures of one RawPortData row that the reports read.
struct RawFigures {
    std::int16_t port = 0;
    std::int16_t callType = 0;
    std::int16_t startMinute = 0;
    std::int16_t linesInUse = 0;
    std::int16_t linesAvailable = 0;
    bool closed = false; // EndMinute and Seconds are set
    std::int32_t endMinute = 0;
    std::int32_t seconds = 0;
};

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
    // Whether the last open failed because the file is not a sound database.
    [[nodiscard]] bool foundDamage() const { return damaged_; }
    void close() noexcept;
    [[nodiscard]] bool isOpen() const { return db_ != nullptr; }
    // The open database; throws when it could not be opened.
    SQLite::Database& db();

    // RawPortData's rows, in stored order, as the reports read them. They are
    // kept in memory while RawPortData is unchanged, so each report is one
    // pass over memory rather than one over the table. Throws on failures.
    const std::vector<RawFigures>& rawFigures();
    // Whether the figures in memory still match RawPortData.
    [[nodiscard]] bool rawFiguresCurrent();
    // What this program wrote to RawPortData, to keep the figures current:
    // rows appended while the figures were current are added to them.
    void rawRowsEmptied();
    void rawRowsAppended(const std::vector<RawFigures>& rows, bool wereCurrent);

private:
    static void onRowChange(void* self, int, const char*, const char* table, long long);
    [[nodiscard]] std::int64_t lastRawRowId();
    void markFiguresCurrent();

    QString connection_;
    std::unique_ptr<SQLite::Database> db_;
    std::vector<RawFigures> figures_;
    // The figures match the table while no row of it changed since they were
    // taken (reported by the database's change hook) and its last row id is the
    // one they were taken at (emptying a whole table is not reported row by row).
    bool figuresValid_ = false;
    bool damaged_ = false;
    bool rawChanged_ = false;
    std::int64_t figuresLastRowId_ = -1;
};

// Moves a damaged working file aside as "PortData.mdb.bad" (replacing an older
// one), so a fresh copy of the template can take its place. Returns an error
// description or an empty text.
[[nodiscard]] QString setAsideWorkingFile(const QString& dataFolder);

// Empties RawPortData; returns an error description or an empty text.
QString emptyRawPortData(WorkingDatabase& wdb);

// Empties all five tables. Emptying RawPortData fails silently; each result
// table that cannot be emptied gives one "Error in ClearDatabases: " message.
[[nodiscard]] QStringList ClearDatabases(WorkingDatabase& wdb);

} // namespace tarrow::store
