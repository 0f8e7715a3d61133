// Feeds any bytes to the History cache's decoder as the rows of several days,
// then what decodes to a sane day through the across-day figures, History.csv,
// History.json and the chart model, as a run would. Besides memory and
// undefined-behaviour faults, it stops when a decoded row, encoded again,
// does not decode to itself.
#include "reports/history/historychartmodel.h"
#include "reports/history/historycodec.h"
#include "reports/history/historyoutput.h"
#include "reports/history/historysummary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace tarrow;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    reports::SizingChoice choice;
    choice.ports = data[0] % 64;
    choice.gos = data[1] % 2 ? 0.01 : 0.001 * (1 + data[1] % 200);
    std::vector<reports::HistoryDay> days;
    // The rest: rows, each a 16-bit length and that many bytes.
    std::size_t at = 2;
    while (at + 2 <= size) {
        std::uint16_t length = 0;
        std::memcpy(&length, data + at, 2);
        at += 2;
        const std::size_t n = std::min<std::size_t>(length, size - at);
        const QByteArray row(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(n));
        at += n;
        const auto decoded = reports::decodeHistoryDay(row);
        if (!decoded)
            continue;
        // What decodes encodes to bytes that decode to the same again (a flag
        // byte other than 0 or 1 reads as set and is written back as 1).
        const QByteArray again = reports::encodeHistoryDay(*decoded);
        const auto twice = reports::decodeHistoryDay(again);
        if (!twice || reports::encodeHistoryDay(*twice) != again)
            __builtin_trap();
        // The cache serves only a sane figure of the day it is asked for.
        if (*decoded && (*decoded)->sane((*decoded)->day))
            days.push_back(**decoded);
    }
    std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.day < b.day; });
    days.erase(std::unique(days.begin(), days.end(),
                           [](const auto& a, const auto& b) { return a.day == b.day; }),
               days.end());
    const reports::HistorySummary summary = reports::summarizeHistory(days, choice);
    (void)reports::historyCsv(days, summary);
    (void)reports::historyJson(summary);
    (void)reports::historyChartModel(days, summary, QStringLiteral("1 %"));
    return 0;
}
