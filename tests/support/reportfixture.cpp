#include "support/reportfixture.h"

#include "app/startup.h"
#include "load/loadday.h"
#include "serverprobe/registryapi.h"

#include <SQLiteCpp/Statement.h>

#include <QFile>

#include <algorithm>

namespace tarrow::testing {

void useTempFolder(load::AppState& state, const TempFolder& dir) {
    dir.writeTemplate();
    state.programFolder = dir.path();
    state.dataFolder = dir.path();
    state.zone = QTimeZone("UTC");
    state.locale = QLocale(QLocale::English, QLocale::UnitedStates);
}

void damageTable(const QString& databasePath, const std::string& table) {
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        SQLite::Database db(QFile::encodeName(databasePath).toStdString(), SQLite::OPEN_READONLY);
        pageSize = db.execAndGet("PRAGMA page_size").getInt64();
        SQLite::Statement root(db, "SELECT rootpage FROM sqlite_master WHERE name = ?");
        root.bind(1, table);
        if (!root.executeStep())
            qFatal("no such table to damage");
        page = root.getColumn(0).getInt64();
    }
    QFile file(databasePath);
    if (!file.open(QIODevice::ReadWrite) || !file.seek((page - 1) * pageSize) ||
        file.write(QByteArray(static_cast<qsizetype>(pageSize), '\x5a')) != pageSize)
        qFatal("could not damage the database file");
}

WorkingDatabaseFixture::WorkingDatabaseFixture() {
    dir.writeTemplate();
    state.programFolder = dir.path();
    state.dataFolder = dir.path();
    serverprobe::MapRegistry registry;
    if (!app::startUp(state, registry).isEmpty())
        qFatal("working database fixture failed to start");
    state.day.dataDate = QDateTime(QDate(2009, 3, 7), QTime(17, 0));
    state.day.day = QDate(2009, 3, 7);
    state.day.zone = QTimeZone::utc();
}

void WorkingDatabaseFixture::addRow(int port, int callType, int startMinute, int inUse,
                                    int available, int endMinute, int seconds) {
    store::RawRow row;
    row.port = static_cast<std::int16_t>(port);
    row.callType = static_cast<std::int8_t>(callType);
    row.linesInUse = static_cast<std::int16_t>(inUse);
    row.linesAvailable = static_cast<std::int16_t>(available);
    row.startSecond = startMinute * 60;
    row.closed = endMinute >= 0;
    row.endSecond = std::max(endMinute, 0) * 60;
    row.seconds = seconds;
    state.day.rows.push_back(row);
    // The call lines behind the row, in UTC (the day's zone): a leg's start
    // and, when closed, its disconnect; a disconnect row is a disconnect line.
    const std::int64_t midnight = load::dayNumber(state.day.day) * 86400;
    std::vector<logparse::CallLine>& lines = state.day.lines.lines;
    const auto add = [&](std::int64_t at, int type) {
        lines.push_back({midnight + at, row.port, row.linesAvailable, row.linesInUse,
                         static_cast<std::int8_t>(type)});
    };
    add(row.startSecond, callType);
    if (store::isCallType(callType) && row.closed)
        add(std::int64_t{row.startSecond} + seconds, store::Disconnect);
    std::stable_sort(
        lines.begin(), lines.end(),
        [](const logparse::CallLine& a, const logparse::CallLine& b) { return a.utc < b.utc; });
}

qint64 WorkingDatabaseFixture::count(const std::string& table) {
    SQLite::Statement q(state.database.db(), "SELECT COUNT(*) FROM " + table);
    q.executeStep();
    return q.getColumn(0).getInt64();
}

} // namespace tarrow::testing
