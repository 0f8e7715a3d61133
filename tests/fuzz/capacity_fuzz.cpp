// Feeds any call lines and any sizing choice to the capacity figures and
// their sizing, bypassing the parser: times outside the day, lines out of
// order, negative counts and lengths, ports out of range, NaN and infinite
// targets. Besides memory and undefined-behaviour faults, it stops on figures
// no day can give: real time that does not add up to the day, all-busy time
// longer than a quarter, or a verdict on a pool the figures call saturated.
#include "load/loadedday.h"
#include "platform/civiltime.h"
#include "reports/capacity/capacity.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/capacity/sizing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

using namespace tarrow;

namespace {

template <typename T> T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = std::min(sizeof(T), size);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

double anyTarget(std::uint8_t pick, double raw) {
    switch (pick % 5) {
    case 0:
        return std::numeric_limits<double>::quiet_NaN();
    case 1:
        return std::numeric_limits<double>::infinity();
    case 2:
        return -raw;
    default:
        return raw;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QTimeZone zones[] = {QTimeZone("UTC"), QTimeZone("Europe/Berlin"),
                                      QTimeZone("Australia/Lord_Howe")};
    // An ordinary day and the two clock-change days of Berlin.
    static const QDate days[] = {QDate(2009, 1, 15), QDate(2009, 3, 29), QDate(2009, 10, 25)};
    const auto pick = take<std::uint8_t>(data, size);
    reports::SizingChoice choice;
    choice.ports = take<std::int32_t>(data, size) % 40000;
    choice.gos = anyTarget(pick, take<double>(data, size));
    choice.growthPercent = anyTarget(pick / 5, take<double>(data, size));
    choice.retryShare = anyTarget(pick / 25, take<double>(data, size));

    load::LoadedDay day;
    day.day = days[pick % 3];
    day.zone = zones[(pick / 3) % 3];
    const std::int64_t midnight =
        civil::daysFromCivil(day.day.year(), day.day.month(), day.day.day()) * 86400;
    while (size >= 12) {
        logparse::CallLine line;
        // Up to a day and a half either side of the day's UTC midnight.
        line.utc = midnight + take<std::int32_t>(data, size) % (3 * 86400);
        line.port = take<std::int16_t>(data, size);
        line.available = take<std::int16_t>(data, size);
        line.inUse = take<std::int16_t>(data, size);
        const auto type = take<std::uint8_t>(data, size);
        line.type = static_cast<std::int8_t>(type % 7 == 6 ? 99 : type % 7);
        const auto where = take<std::uint8_t>(data, size) % 8;
        (where == 0   ? day.lines.before
         : where == 1 ? day.lines.after
                      : day.lines.lines)
            .push_back(line);
    }
    const reports::CapacityFigures figures = reports::computeCapacityFigures(day);
    qint64 real = 0;
    for (int q = 0; q < reports::kQuarterHours; ++q) {
        const auto i = static_cast<std::size_t>(q);
        real += figures.realSeconds[i];
        if (figures.atbSeconds[i] < 0 || figures.atbSeconds[i] > figures.realSeconds[i])
            __builtin_trap();
    }
    if (real < 23 * 3600 || real > 25 * 3600)
        __builtin_trap();
    const reports::Sizing sizing = reports::sizeCapacity(figures, choice);
    (void)reports::capacityJson(figures, sizing);
    (void)reports::capacityTrafficCsv(figures);
    (void)reports::capacityHeadline(figures, sizing);
    (void)reports::capacityVerdict(figures, sizing);
    return 0;
}
