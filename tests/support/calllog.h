#pragma once

#include "load/loadedday.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QTimeZone>

namespace tarrow::testing {

// The call lines of a log file, written as the server writes them (UTC).
class CallLog {
public:
    // A call start of a type (1 to 5) on a port, with the server's counts.
    CallLog& start(const QDateTime& utc, int port, int type, int inUse, int available);
    // A disconnect on a port.
    CallLog& end(const QDateTime& utc, int port, int inUse, int available);
    // A call from start to start + seconds; the port's line counts are the
    // same at both ends.
    CallLog& call(const QDateTime& utc, int seconds, int port, int type = 1, int available = 5);

    QByteArray text;
};

// A UTC instant.
[[nodiscard]] QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0);

// One day read from log files (in folder order) as "Load Data" reads them,
// without a database: the rows, counts and call lines of the day.
[[nodiscard]] load::LoadedDay loadFromLogs(const QDate& day, const QTimeZone& zone,
                                           const QList<QByteArray>& files);

} // namespace tarrow::testing
