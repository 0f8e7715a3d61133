#include "support/calllog.h"

#include "load/loadday.h"
#include "logparse/parselogfile.h"
#include "store/calltypes.h"

namespace tarrow::testing {

namespace {

QByteArray line(const QDateTime& utc, const char* code, std::string_view text, int port, int inUse,
                int available) {
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + ",HcMgr," +
           code + ',' + QByteArray(text.data(), static_cast<qsizetype>(text.size())) + ",Port" +
           QByteArray::number(port) + ',' + QByteArray::number(inUse) + ',' +
           QByteArray::number(available) + ",0\r\n";
}

const char* codeOf(int type) {
    switch (type) {
    case store::Notification:
    case store::Amis:
        return "1164";
    case store::Mwi:
        return "30300";
    case store::Trap:
        return "1165";
    default:
        return "1162";
    }
}

} // namespace

CallLog& CallLog::start(const QDateTime& utc, int port, int type, int inUse, int available) {
    text += line(utc, codeOf(type), store::kCallTypes[store::typeIndex(type)].eventText, port,
                 inUse, available);
    return *this;
}

CallLog& CallLog::end(const QDateTime& utc, int port, int inUse, int available) {
    text += line(utc, "1163", store::kDisconnectEventText, port, inUse, available);
    return *this;
}

CallLog& CallLog::call(const QDateTime& utc, int seconds, int port, int type, int available) {
    return start(utc, port, type, 1, available).end(utc.addSecs(seconds), port, 0, available);
}

QDateTime utc(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

load::LoadedDay loadFromLogs(const QDate& day, const QTimeZone& zone,
                             const QList<QByteArray>& files) {
    load::LoadedDay loaded;
    logparse::DayLinesBuilder lines;
    logparse::ParseOptions options;
    options.chosenDay = load::dayNumber(day);
    options.zone = zone;
    for (const QByteArray& file : files) {
        logparse::ParseResult parsed =
            logparse::ParseLogFile(std::string_view(file.constData(), file.size()), options);
        load::addCounts(loaded, parsed);
        loaded.rows.insert(loaded.rows.end(), parsed.rows.begin(), parsed.rows.end());
        lines.add(std::move(parsed.callLines), parsed.edges);
    }
    loaded.day = day;
    loaded.zone = zone;
    loaded.lines = lines.finish();
    return loaded;
}

} // namespace tarrow::testing
