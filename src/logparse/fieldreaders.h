#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarrow::logparse {

// The order of day, month and year in a numeric date such as 1/2/2009.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// Reads the numeric prefix of a field: blanks are ignored anywhere, an optional
// sign, digits with an optional fraction and exponent; reading stops at the first
// character that cannot continue the number, and a field without a number is 0.
[[nodiscard]] double readNumericPrefix(std::string_view field);

// The numeric prefix rounded to the nearest integer (ties to even), or nothing
// when that integer does not fit 16 bits.
[[nodiscard]] std::optional<std::int16_t> readInt16(std::string_view field);

// Reads a log date-time: ISO "YYYY-MM-DD hh:mm:ss" (also with 'T', fractional
// seconds and a trailing 'Z'), or a numeric date with '/', '-' or '.' in the given
// order (the other day/month order when that gives no valid date) followed by a
// 24-hour or AM/PM time. Returns wall-clock seconds since 1970-01-01 00:00:00,
// fractions of a second dropped, or nothing when the text is not a date and time.
[[nodiscard]] std::optional<std::int64_t> readDateTime(std::string_view text, DateOrder order);

} // namespace tarrow::logparse
