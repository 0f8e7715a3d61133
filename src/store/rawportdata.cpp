#include "store/rawportdata.h"

#include "platform/civiltime.h"
#include "store/workingdatabase.h"

#include <QDir>
#include <QSaveFile>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace tarrow::store {

QString appendRawRows(WorkingDatabase& wdb, const std::vector<RawRow>& rows,
                      const std::function<void(std::size_t)>& stored) {
    if (rows.empty())
        return {};
    try {
        SQLite::Database& db = wdb.db();
        const bool current = wdb.rawFiguresCurrent();
        SQLite::Transaction transaction(db);
        SQLite::Statement insert(db, "INSERT INTO RawPortData (Port, CallType, StartTime, "
                                     "LinesAvailableToTakeCalls, LinesInUse, StartMinute, EndTime, "
                                     "Seconds, EndMinute) VALUES (?,?,?,?,?,?,?,?,?)");
        char start[19];
        char end[19];
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const RawRow& row = rows[i];
            civil::format(row.startTime, start);
            insert.bind(1, row.port);
            insert.bind(2, row.callType);
            insert.bindNoCopy(3, start, sizeof start);
            insert.bind(4, row.linesAvailable);
            insert.bind(5, row.linesInUse);
            insert.bind(6, row.startMinute);
            if (row.closed) {
                civil::format(row.endTime, end);
                insert.bindNoCopy(7, end, sizeof end);
                insert.bind(8, row.seconds);
                insert.bind(9, row.endMinute);
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
        std::vector<RawFigures> figures;
        figures.reserve(rows.size());
        for (const RawRow& row : rows)
            figures.push_back(RawFigures{row.port, row.callType, row.startMinute, row.linesInUse,
                                         row.linesAvailable, row.closed, row.endMinute,
                                         row.seconds});
        wdb.rawRowsAppended(figures, current);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString writeTableCsv(WorkingDatabase& wdb, const QString& table, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
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
        file.write(line.data(), static_cast<qint64>(line.size()));
        while (query.executeStep()) {
            line.clear();
            for (int c = 0; c < query.getColumnCount(); ++c) {
                if (c)
                    line += ',';
                if (!query.getColumn(c).isNull())
                    line += query.getColumn(c).getString();
            }
            line += '\n';
            file.write(line.data(), static_cast<qint64>(line.size()));
        }
    } catch (const std::exception& e) {
        file.cancelWriting();
        return QString::fromUtf8(e.what());
    }
    if (!file.commit())
        return QStringLiteral("Cannot write \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

} // namespace tarrow::store
