// Feeds any bytes to the log parser as one log file. Besides memory and
// undefined-behaviour faults, it stops on a result no log can give: a row
// outside the chosen day, a call type or port out of range, more rows or
// calls than lines. (Disconnect samples are rows too, of their own type.)
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"

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
    options.chosenDay = civil::daysFromCivil(2009, 1, 15) + (pick / 9) % 3 - 1;
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
    return 0;
}
