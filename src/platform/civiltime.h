#pragma once

#include <cstdint>

// Wall-clock date-times as whole seconds counted from 1970-01-01 00:00:00 of the
// same clock, without any zone. The parser keeps local times this way so that
// minute-of-day and seconds-of-day arithmetic is plain integer work.
namespace tarrow::civil {

struct Date {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12, day 1..31).
constexpr std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr Date civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int daysInMonth(int y, int m) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

constexpr std::int64_t dayOf(std::int64_t secs) {
    return floorDiv(secs, 86400);
}
constexpr int secondOfDay(std::int64_t secs) {
    return static_cast<int>(secs - dayOf(secs) * 86400);
}
constexpr int minuteOfDay(std::int64_t secs) {
    return secondOfDay(secs) / 60;
}

// Writes "YYYY-MM-DD HH:MM:SS" (19 characters, no terminator) into out.
inline void format(std::int64_t secs, char* out) {
    const Date d = civilFromDays(dayOf(secs));
    const int sod = secondOfDay(secs);
    auto two = [](char* p, int v) {
        p[0] = static_cast<char>('0' + v / 10);
        p[1] = static_cast<char>('0' + v % 10);
    };
    int y = d.year;
    if (y < 0 || y > 9999)
        y = 0;
    out[0] = static_cast<char>('0' + y / 1000);
    out[1] = static_cast<char>('0' + y / 100 % 10);
    two(out + 2, y % 100);
    out[4] = '-';
    two(out + 5, d.month);
    out[7] = '-';
    two(out + 8, d.day);
    out[10] = ' ';
    two(out + 11, sod / 3600);
    out[13] = ':';
    two(out + 14, sod / 60 % 60);
    out[16] = ':';
    two(out + 17, sod % 60);
}

} // namespace tarrow::civil
