// Feeds any bytes to the log parser as one log file. Besides memory and
// undefined-behaviour faults, it stops on a result no log can give: a row
// outside the chosen day, a call type or port out of range, more rows or
// calls than lines, or a day of a several-day parse that differs from that
// day parsed alone. (Disconnect samples are rows too, of their own type.)
// The day's call lines go through the capacity figures, which must hold
// whatever the lines say.
#include "load/loadedday.h"
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"
#include "reports/capacity/capacity.h"

#include <cstddef>
#include <cstdint>
#include <numeric>

using namespace tarrow;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QTimeZone zones[] = {QTimeZone("UTC"), QTimeZone("Europe/Berlin"),
                                      QTimeZone("Australia/Lord_Howe")};
    logparse::ParseOptions options;
    // The first byte picks the zone, the date order and the day kept.
    const std::uint8_t pick = size > 0 ? data[0] : 0;
    options.zone = zones[pick % 3];
    options.dateOrder = static_cast<logparse::DateOrder>((pick / 3) % 3);
    // An ordinary day and Berlin's two clock-change days, or a day either side.
    static const std::int64_t kept[] = {civil::daysFromCivil(2009, 1, 15),
                                        civil::daysFromCivil(2009, 3, 29),
                                        civil::daysFromCivil(2009, 10, 25)};
    options.chosenDay = kept[(pick / 9) % 3] + (pick / 27) % 3 - 1;
    options.fileName = QStringLiteral("data_qnhcmgr_20090115.csv");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const logparse::ParseResult result = logparse::ParseLogFile(bytes, options);

    if (result.lineCount != logparse::countLines(bytes))
        __builtin_trap();
    if (static_cast<qint64>(result.rows.size()) > result.lineCount)
        __builtin_trap();
    if (std::accumulate(result.calls.begin(), result.calls.end(), qint64{0}) > result.lineCount)
        __builtin_trap();
    for (const store::RawRow& row : result.rows) {
        const bool call = row.callType >= 1 && row.callType <= 5;
        const bool sample = row.callType == static_cast<int>(store::CallType::Disconnect);
        if (row.startSecond < 0 || row.startSecond >= 86400 || row.port < 0 || !(call || sample))
            __builtin_trap();
        if (row.closed && row.endSecond < 0)
            __builtin_trap();
    }
    if (result.callLines.size() < result.rows.size() ||
        static_cast<qint64>(result.callLines.size()) > result.lineCount)
        __builtin_trap();
    for (const logparse::CallLine& line : result.callLines)
        if (line.port < 0 || !((line.type >= 1 && line.type <= 5) || line.type == 99))
            __builtin_trap();
    load::LoadedDay day;
    day.day = QDate(1970, 1, 1).addDays(options.chosenDay);
    day.zone = options.zone;
    day.lines = logparse::orderDayLines(result.callLines, result.edges);
    const reports::CapacityFigures figures = reports::computeCapacityFigures(day);
    qint64 real = 0;
    for (int q = 0; q < reports::kQuarterHours; ++q) {
        real += figures.realSeconds[static_cast<std::size_t>(q)];
        if (figures.atbSeconds[static_cast<std::size_t>(q)] >
            figures.realSeconds[static_cast<std::size_t>(q)])
            __builtin_trap();
    }
    if (real < 82800 || real > 90000 || figures.busyHourRealSeconds() < 3600 ||
        figures.measuredBlocking() > 1 || figures.busyHourErlangs() < 0)
        __builtin_trap();

    // The chosen day as the middle one of three read in one pass.
    logparse::ParseOptions before = options;
    before.chosenDay -= 1;
    const std::vector<logparse::ParseResult> days = logparse::ParseLogFileDays(bytes, before, 3);
    const logparse::ParseResult& middle = days[1];
    if (middle.rows.size() != result.rows.size() || middle.calls != result.calls ||
        middle.peakPort != result.peakPort || middle.lastEventTime != result.lastEventTime ||
        middle.callLines.size() != result.callLines.size())
        __builtin_trap();
    for (std::size_t i = 0; i < result.rows.size(); ++i)
        if (middle.rows[i].startSecond != result.rows[i].startSecond ||
            middle.rows[i].seconds != result.rows[i].seconds ||
            middle.rows[i].closed != result.rows[i].closed)
            __builtin_trap();
    return 0;
}
