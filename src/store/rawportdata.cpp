#include "store/rawportdata.h"

#include "platform/civiltime.h"
#include "platform/fileoutput.h"
#include "store/workingdatabase.h"

#include <QIODevice>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace tarrow::store {

using platform::Result;

namespace {

// Rows go in batches of this many per INSERT statement: far fewer statement
// steps than one row at a time.
constexpr std::size_t kRowsPerInsert = 64;
constexpr int kColumns = 9;

std::string insertStatement(std::size_t rows) {
    std::string sql = "INSERT INTO RawPortData (Port, CallType, StartTime, "
                      "LinesAvailableToTakeCalls, LinesInUse, StartMinute, EndTime, Seconds, "
                      "EndMinute) VALUES ";
    for (std::size_t r = 0; r < rows; ++r)
        sql += r ? ",(?,?,?,?,?,?,?,?,?)" : "(?,?,?,?,?,?,?,?,?)";
    return sql;
}

// "YYYY-MM-DD hh:mm:ss" of a second of the day: the date part is written once
// for the day, the time part for each row.
void formatTime(char* out, const char* date, int secondOfDay) {
    std::memcpy(out, date, 11);
    const auto two = [](char* p, int v) {
        p[0] = static_cast<char>('0' + v / 10);
        p[1] = static_cast<char>('0' + v % 10);
    };
    two(out + 11, secondOfDay / 3600);
    out[13] = ':';
    two(out + 14, secondOfDay / 60 % 60);
    out[16] = ':';
    two(out + 17, secondOfDay % 60);
}

// Binds rows[first, first + count) to an insert of count rows; the times are
// written into times, which must outlive the statement's step.
void bindRows(sqlite3_stmt* insert, const std::vector<RawRow>& rows, std::size_t first,
              std::size_t count, const char* date, char (*times)[2][19]) {
    for (std::size_t r = 0; r < count; ++r) {
        const RawRow& row = rows[first + r];
        const int c = static_cast<int>(r) * kColumns;
        formatTime(times[r][0], date, row.startSecond);
        sqlite3_bind_int(insert, c + 1, row.port);
        sqlite3_bind_int(insert, c + 2, row.callType);
        // Times are stored as text, as the schema says, so SQL can compare them.
        sqlite3_bind_text(insert, c + 3, times[r][0], 19, SQLITE_STATIC);
        sqlite3_bind_int(insert, c + 4, row.linesAvailable);
        sqlite3_bind_int(insert, c + 5, row.linesInUse);
        sqlite3_bind_int(insert, c + 6, row.startMinute());
        if (row.closed) {
            formatTime(times[r][1], date, row.endSecond);
            sqlite3_bind_text(insert, c + 7, times[r][1], 19, SQLITE_STATIC);
            sqlite3_bind_int(insert, c + 8, row.seconds);
            sqlite3_bind_int(insert, c + 9, row.endMinute());
        } else {
            sqlite3_bind_null(insert, c + 7);
            sqlite3_bind_null(insert, c + 8);
            sqlite3_bind_null(insert, c + 9);
        }
    }
}

// A prepared statement of the connection, finalized when it goes.
struct PreparedInsert {
    sqlite3_stmt* statement = nullptr;
    PreparedInsert(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement,
                               nullptr) != SQLITE_OK)
            throw SQLite::Exception(db);
    }
    ~PreparedInsert() { sqlite3_finalize(statement); }
    PreparedInsert(const PreparedInsert&) = delete;
    PreparedInsert& operator=(const PreparedInsert&) = delete;
    void run(sqlite3* db) const {
        if (sqlite3_step(statement) != SQLITE_DONE)
            throw SQLite::Exception(db);
        sqlite3_reset(statement);
    }
};

} // namespace

Result appendRawRows(WorkingDatabase& wdb, std::int64_t dayNumber, const std::vector<RawRow>& rows,
                     const std::function<bool(std::size_t)>& stored) {
    if (rows.empty())
        return {};
    try {
        SQLite::Database& db = wdb.db();
        SQLite::Transaction transaction(db);
        sqlite3* handle = db.getHandle();
        // The full-size statement is prepared only for a file that fills it:
        // a day of many small files would otherwise spend its time preparing.
        const std::unique_ptr<PreparedInsert> full =
            rows.size() >= kRowsPerInsert
                ? std::make_unique<PreparedInsert>(handle, insertStatement(kRowsPerInsert))
                : nullptr;
        char times[kRowsPerInsert][2][19];
        char date[19];
        civil::format(dayNumber * 86400, date);
        std::size_t done = 0;
        while (done < rows.size()) {
            const std::size_t count = std::min(kRowsPerInsert, rows.size() - done);
            // The last, shorter batch has a statement of its own.
            std::unique_ptr<PreparedInsert> tail;
            if (count < kRowsPerInsert)
                tail = std::make_unique<PreparedInsert>(handle, insertStatement(count));
            const PreparedInsert& insert = tail ? *tail : *full;
            bindRows(insert.statement, rows, done, count, date, times);
            insert.run(handle);
            const std::size_t before = done;
            done += count;
            if (stored && done / 32768 != before / 32768 && !stored(done))
                return Result::failure(QStringLiteral("cancelled")); // rolled back
        }
        transaction.commit();
        if (stored)
            (void)stored(rows.size());
    } catch (const std::exception& e) {
        wdb.noteFailure(e);
        return Result::failure(QString::fromUtf8(e.what()));
    }
    return {};
}

Result writeTableCsv(WorkingDatabase& wdb, const QString& table, const QString& path) {
    return platform::saveAtomically(path, [&](QIODevice& file) -> Result {
        const auto put = [&file](const std::string& line) {
            return file.write(line.data(), static_cast<qint64>(line.size())) ==
                   static_cast<qint64>(line.size());
        };
        try {
            SQLite::Statement query(wdb.db(),
                                    "SELECT * FROM " + table.toStdString() + " ORDER BY rowid");
            std::string line;
            for (int c = 0; c < query.getColumnCount(); ++c) {
                if (c)
                    line += ',';
                line += query.getColumnName(c);
            }
            line += '\n';
            if (!put(line))
                return Result::failure(platform::whyNotWritten(file));
            while (query.executeStep()) {
                line.clear();
                for (int c = 0; c < query.getColumnCount(); ++c) {
                    if (c)
                        line += ',';
                    if (!query.getColumn(c).isNull())
                        line += query.getColumn(c).getString();
                }
                line += '\n';
                if (!put(line))
                    return Result::failure(platform::whyNotWritten(file));
            }
        } catch (const std::exception& e) {
            wdb.noteFailure(e);
            return Result::failure(QString::fromUtf8(e.what()));
        }
        return {};
    });
}

} // namespace tarrow::store
