#include "support/reportfixture.h"

#include "app/startup.h"
#include "serverprobe/registryapi.h"

#include <SQLiteCpp/Statement.h>

namespace tarrow::testing {

WorkingDatabaseFixture::WorkingDatabaseFixture() {
    dir.writeTemplate();
    state.programFolder = dir.path();
    state.dataFolder = dir.path();
    serverprobe::MapRegistry registry;
    if (!app::startUp(state, registry).isEmpty())
        qFatal("working database fixture failed to start");
    state.dataDate = QDateTime(QDate(2009, 3, 7), QTime(17, 0));
}

void WorkingDatabaseFixture::addRow(int port, int callType, int startMinute, int inUse,
                                    int available, int endMinute, int seconds) {
    SQLite::Statement insert(
        state.database.db(),
        "INSERT INTO RawPortData (Port, CallType, StartTime, "
        "LinesAvailableToTakeCalls, LinesInUse, StartMinute, EndTime, Seconds, "
        "EndMinute) VALUES (?, ?, '2009-03-07 00:00:00', ?, ?, ?, ?, ?, ?)");
    insert.bind(1, port);
    insert.bind(2, callType);
    insert.bind(3, available);
    insert.bind(4, inUse);
    insert.bind(5, startMinute);
    if (endMinute >= 0) {
        insert.bind(6, "2009-03-07 00:00:00");
        insert.bind(7, seconds);
        insert.bind(8, endMinute);
    }
    insert.exec();
}

qint64 WorkingDatabaseFixture::count(const std::string& table) {
    SQLite::Statement q(state.database.db(), "SELECT COUNT(*) FROM " + table);
    q.executeStep();
    return q.getColumn(0).getInt64();
}

} // namespace tarrow::testing
