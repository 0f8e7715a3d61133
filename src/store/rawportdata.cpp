#include "store/rawportdata.h"

#include "platform/civiltime.h"
#include "platform/fileoutput.h"
#include "store/workingdatabase.h"

#include <QIODevice>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace tarrow::store {

using platform::Result;

Result appendRawRows(WorkingDatabase& wdb, std::int64_t dayNumber, const std::vector<RawRow>& rows,
                     const std::function<void(std::size_t)>& stored) {
    if (rows.empty())
        return {};
    try {
        SQLite::Database& db = wdb.db();
        SQLite::Transaction transaction(db);
        SQLite::Statement insert(db, "INSERT INTO RawPortData (Port, CallType, StartTime, "
                                     "LinesAvailableToTakeCalls, LinesInUse, StartMinute, EndTime, "
                                     "Seconds, EndMinute) VALUES (?,?,?,?,?,?,?,?,?)");
        char start[19];
        char end[19];
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const RawRow& row = rows[i];
            civil::format(row.startTime(dayNumber), start);
            insert.bind(1, row.port);
            insert.bind(2, row.callType);
            insert.bindNoCopy(3, start, sizeof start);
            insert.bind(4, row.linesAvailable);
            insert.bind(5, row.linesInUse);
            insert.bind(6, row.startMinute());
            if (row.closed) {
                civil::format(row.endTime(dayNumber), end);
                insert.bindNoCopy(7, end, sizeof end);
                insert.bind(8, row.seconds);
                insert.bind(9, row.endMinute());
            } else {
                insert.bind(7);
                insert.bind(8);
                insert.bind(9);
            }
            insert.exec();
            insert.reset();
            if (stored && (i + 1) % 32768 == 0)
                stored(i + 1);
        }
        transaction.commit();
        if (stored)
            stored(rows.size());
    } catch (const std::exception& e) {
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
                return Result::failure(file.errorString());
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
                    return Result::failure(file.errorString());
            }
        } catch (const std::exception& e) {
            return Result::failure(QString::fromUtf8(e.what()));
        }
        return {};
    });
}

} // namespace tarrow::store
