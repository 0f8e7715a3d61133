// Feeds any bytes to the field and date readers. A date-time that is read
// must read back the same from its own ISO form, and a 16-bit read must agree
// with the numeric prefix it rounds.
#include "logparse/fieldreaders.h"
#include "platform/civiltime.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace tarrow;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto order : {logparse::DateOrder::MonthDayYear, logparse::DateOrder::DayMonthYear,
                             logparse::DateOrder::YearMonthDay}) {
        const std::optional<std::int64_t> t = logparse::readDateTime(text, order);
        if (!t)
            continue;
        const civil::Date d = civil::civilFromDays(civil::dayOf(*t));
        if (d.year < 1 || d.year > 9999)
            continue;
        char iso[20];
        civil::format(*t, iso);
        if (logparse::readDateTime(std::string_view(iso, 19), order) != t)
            __builtin_trap();
    }
    const double prefix = logparse::readNumericPrefix(text);
    const std::optional<std::int16_t> small = logparse::readInt16(text);
    if (small && std::isfinite(prefix) && std::fabs(prefix - *small) > 0.5)
        __builtin_trap();
    if (!small && std::isfinite(prefix) && std::fabs(prefix) < 32000)
        __builtin_trap();
    return 0;
}
