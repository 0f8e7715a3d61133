#include "reports/history/historycodec.h"

#include <QDataStream>
#include <QIODevice>

namespace tarrow::reports {

namespace {
constexpr qint32 kFormat = 3; // of the stored figures; another format is a miss
} // namespace

QByteArray encodeHistoryDay(const std::optional<HistoryDay>& day) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kFormat << day.has_value();
    if (!day)
        return bytes;
    out << day->day;
    for (const qint64 calls : day->calls)
        out << calls;
    out << day->busyHourStart << day->busyHourErlangs << day->peakLinesInUse
        << day->minLinesAvailable << day->atbSeconds << day->atbEpisodes << day->portsInService;
    for (const double erlangs : day->quarterErlangs)
        out << erlangs;
    for (const QuarterSeconds* seconds :
         {&day->poolSeconds, &day->realSeconds, &day->atbQuarterSeconds})
        for (const qint64 s : *seconds)
            out << s;
    return bytes;
}

std::optional<std::optional<HistoryDay>> decodeHistoryDay(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    qint32 format = 0;
    bool hasDay = false;
    in >> format >> hasDay;
    if (in.status() != QDataStream::Ok || format != kFormat)
        return std::nullopt;
    if (!hasDay)
        return std::optional<HistoryDay>();
    HistoryDay day;
    in >> day.day;
    for (qint64& calls : day.calls)
        in >> calls;
    in >> day.busyHourStart >> day.busyHourErlangs >> day.peakLinesInUse >> day.minLinesAvailable >>
        day.atbSeconds >> day.atbEpisodes >> day.portsInService;
    for (double& erlangs : day.quarterErlangs)
        in >> erlangs;
    for (QuarterSeconds* seconds : {&day.poolSeconds, &day.realSeconds, &day.atbQuarterSeconds})
        for (qint64& s : *seconds)
            in >> s;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return std::optional<HistoryDay>(day);
}

} // namespace tarrow::reports
