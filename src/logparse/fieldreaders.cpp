#include "logparse/fieldreaders.h"

#include "platform/civiltime.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace tarrow::logparse {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A cursor over a text that skips nothing by itself.
struct Reader {
    std::string_view s;
    std::size_t i = 0;

    bool atEnd() const { return i >= s.size(); }
    char peek() const { return atEnd() ? '\0' : s[i]; }
    void skipBlanks() {
        while (!atEnd() && isBlank(s[i]))
            ++i;
    }
    // Reads up to maxDigits decimal digits; returns the count read.
    int digits(int& value, int maxDigits = 9) {
        int n = 0;
        value = 0;
        while (!atEnd() && isDigit(s[i]) && n < maxDigits) {
            value = value * 10 + (s[i] - '0');
            ++i;
            ++n;
        }
        return n;
    }
    bool take(char c) {
        if (peek() != c)
            return false;
        ++i;
        return true;
    }
    bool takeWordCi(std::string_view word) {
        if (s.size() - i < word.size())
            return false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            char c = s[i + k];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != word[k])
                return false;
        }
        i += word.size();
        return true;
    }
};

bool validDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= civil::daysInMonth(y, m);
}

int widenYear(int year, int digitCount) {
    if (digitCount > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<civil::Date> readDate(Reader& r, DateOrder order) {
    int a = 0, b = 0, c = 0;
    const int na = r.digits(a);
    if (na == 0)
        return std::nullopt;
    const char sep = r.peek();
    if (sep != '-' && sep != '/' && sep != '.')
        return std::nullopt;
    ++r.i;
    if (r.digits(b) == 0 || !r.take(sep))
        return std::nullopt;
    const int nc = r.digits(c);
    if (nc == 0)
        return std::nullopt;
    if (na >= 3 || order == DateOrder::YearMonthDay) {
        const int y = widenYear(a, na);
        if (validDate(y, b, c))
            return civil::Date{y, b, c};
        return std::nullopt;
    }
    const int y = widenYear(c, nc);
    int month = order == DateOrder::MonthDayYear ? a : b;
    int day = order == DateOrder::MonthDayYear ? b : a;
    if (!validDate(y, month, day))
        std::swap(month, day);
    if (!validDate(y, month, day))
        return std::nullopt;
    return civil::Date{y, month, day};
}

std::optional<int> readTime(Reader& r) {
    int h = 0, m = 0, s = 0;
    const int nh = r.digits(h, 2);
    if (nh == 0 || !r.take(':') || r.digits(m, 2) != 2)
        return std::nullopt;
    if (r.take(':')) {
        if (r.digits(s, 2) != 2)
            return std::nullopt;
        if (r.take('.') || r.take(',')) {
            int fraction = 0;
            if (r.digits(fraction, 9) == 0)
                return std::nullopt;
            while (isDigit(r.peek()))
                ++r.i;
        }
    }
    r.skipBlanks();
    if (r.takeWordCi("AM") || r.takeWordCi("PM")) {
        const bool pm = r.s[r.i - 2] == 'P' || r.s[r.i - 2] == 'p';
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (pm ? 12 : 0);
    }
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

// Whether the 'e' at position at starts an exponent: digits follow it, after
// blanks and an optional sign.
bool exponentFollows(std::string_view field, std::size_t at) {
    std::size_t j = at + 1;
    while (j < field.size() && isBlank(field[j]))
        ++j;
    if (j < field.size() && (field[j] == '+' || field[j] == '-'))
        ++j;
    while (j < field.size() && isBlank(field[j]))
        ++j;
    return j < field.size() && isDigit(field[j]);
}

// The number of the characters collected from a field: plain integers are
// summed directly, anything else goes through from_chars, which reads the same
// in every locale (strtod would follow the C library's decimal separator) and
// takes no plus sign.
double toNumber(const char* buf, std::size_t n, bool digitsOnly) {
    if (digitsOnly && n <= 16) {
        std::int64_t v = 0;
        std::size_t k = (buf[0] == '-' || buf[0] == '+') ? 1 : 0;
        for (; k < n; ++k)
            v = v * 10 + (buf[k] - '0');
        return buf[0] == '-' ? -static_cast<double>(v) : static_cast<double>(v);
    }
    const char* first = buf[0] == '+' ? buf + 1 : buf;
    double value = 0;
    const auto [end, error] = std::from_chars(first, buf + n, value);
    if (error == std::errc::result_out_of_range)
        return first[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return value;
}

} // namespace

double readNumericPrefix(std::string_view field) {
    // Collect the characters that form the number, dropping blanks, then
    // convert; plain integers take the fast path.
    char buf[64];
    std::size_t n = 0;
    bool digitsOnly = true;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    std::size_t i = 0;
    auto nextNonBlank = [&]() {
        while (i < field.size() && isBlank(field[i]))
            ++i;
        return i < field.size() ? field[i] : '\0';
    };
    char c = nextNonBlank();
    if (c == '+' || c == '-') {
        buf[n++] = c;
        ++i;
    }
    while (n < sizeof buf - 4) {
        c = nextNonBlank();
        if (isDigit(c)) {
            seenDigit = true;
        } else if (c == '.' && !seenPoint && !seenExp) {
            seenPoint = true;
            digitsOnly = false;
        } else if ((c == 'e' || c == 'E') && seenDigit && !seenExp) {
            if (!exponentFollows(field, i))
                break;
            seenExp = true;
            digitsOnly = false;
            buf[n++] = 'e';
            ++i;
            c = nextNonBlank();
            if (c == '+' || c == '-') {
                buf[n++] = c;
                ++i;
            }
            continue;
        } else {
            break;
        }
        buf[n++] = c;
        ++i;
    }
    if (!seenDigit)
        return 0.0;
    return toNumber(buf, n, digitsOnly);
}

std::optional<std::int16_t> readInt16(std::string_view field) {
    // Fast path: the plain digits the server writes.
    if (!field.empty() && field.size() <= 5) {
        int value = 0;
        bool plain = true;
        for (char c : field) {
            plain = plain && isDigit(c);
            value = value * 10 + (c - '0');
        }
        if (plain && value <= 32767)
            return static_cast<std::int16_t>(value);
    }
    const double rounded = std::nearbyint(readNumericPrefix(field));
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

namespace {

// The server's own form "YYYY-MM-DD hh:mm:ss", read directly; nothing when the
// text has another form or no valid date and time (the general reader decides).
std::optional<std::int64_t> readServerDateTime(std::string_view t) {
    if (t.size() != 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' ||
        t[16] != ':')
        return std::nullopt;
    const auto number = [&t](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            if (!isDigit(t[i]))
                return -1;
            value = value * 10 + (t[i] - '0');
        }
        return value;
    };
    const int y = number(0, 4), mo = number(5, 2), d = number(8, 2);
    const int h = number(11, 2), mi = number(14, 2), s = number(17, 2);
    if (!validDate(y, mo, d) || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return std::nullopt;
    return civil::daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
}

} // namespace

std::optional<std::int64_t> readDateTime(std::string_view text, DateOrder order) {
    if (const auto fast = readServerDateTime(text))
        return fast;
    Reader r{text};
    r.skipBlanks();
    const auto date = readDate(r, order);
    if (!date)
        return std::nullopt;
    if (!r.take('T')) {
        const std::size_t before = r.i;
        r.skipBlanks();
        if (r.i == before)
            return std::nullopt;
    }
    const auto seconds = readTime(r);
    if (!seconds)
        return std::nullopt;
    r.take('Z');
    r.skipBlanks();
    if (!r.atEnd())
        return std::nullopt;
    return civil::daysFromCivil(date->year, date->month, date->day) * 86400 + *seconds;
}

} // namespace tarrow::logparse
