#include "logparse/fieldreaders.h"
#include "platform/civiltime.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace tarrow::logparse {
namespace {

TEST(NumericFields, ReadAsRoundedSixteenBitPrefix) {
    struct Case {
        const char* field;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"12", 12},
        {" 7", 7},
        {"1 2", 12},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"-3", -3},
        {"+4", 4},
        {"12.5", 12},
        {"13.5", 14},
        {"-0.5", 0},
        {"2.49", 2},
        {"1e3", 1000},
        {"1e", 1},
        {"1.5.7", 2},
        {"32767", 32767},
        {"32767.4", 32767},
        {"32767.5", {}},
        {"-32768", -32768},
        {"-32768.5", -32768},
        {"-32769", {}},
        {"99999", {}},
        {"1e10", {}},
        {"4294967297", {}},
        {"000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        const auto read = readInt16(c.field);
        if (c.value) {
            ASSERT_TRUE(read.has_value()) << c.field;
            EXPECT_EQ(*read, *c.value) << c.field;
        } else {
            EXPECT_FALSE(read.has_value()) << c.field;
        }
    }
}

std::int64_t at(int y, int mo, int d, int h, int mi, int s) {
    return civil::daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
}

TEST(DateFields, AcceptedForms) {
    struct Case {
        const char* text;
        DateOrder order;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"2009-01-15 10:15:30", DateOrder::MonthDayYear, at(2009, 1, 15, 10, 15, 30)},
        {"2009-01-15T10:15:30", DateOrder::DayMonthYear, at(2009, 1, 15, 10, 15, 30)},
        {"2009-01-15T10:15:30.987Z", DateOrder::MonthDayYear, at(2009, 1, 15, 10, 15, 30)},
        {"  2009-01-15 10:15:30  ", DateOrder::MonthDayYear, at(2009, 1, 15, 10, 15, 30)},
        {"1/15/2009 10:15:30 PM", DateOrder::MonthDayYear, at(2009, 1, 15, 22, 15, 30)},
        {"1/15/2009 12:00:00 AM", DateOrder::MonthDayYear, at(2009, 1, 15, 0, 0, 0)},
        {"1/15/2009 12:00:00 pm", DateOrder::MonthDayYear, at(2009, 1, 15, 12, 0, 0)},
        {"2/1/2009 10:00", DateOrder::MonthDayYear, at(2009, 2, 1, 10, 0, 0)},
        {"2/1/2009 10:00", DateOrder::DayMonthYear, at(2009, 1, 2, 10, 0, 0)},
        {"15.01.2009 22:15:30", DateOrder::DayMonthYear, at(2009, 1, 15, 22, 15, 30)},
        // The locale's order gives no valid date: the other order is used.
        {"15/01/2009 22:15:30", DateOrder::MonthDayYear, at(2009, 1, 15, 22, 15, 30)},
        {"1/15/09 22:15:30", DateOrder::DayMonthYear, at(2009, 1, 15, 22, 15, 30)},
        {"2009/01/15 08:00:00", DateOrder::DayMonthYear, at(2009, 1, 15, 8, 0, 0)},
        {"2024-02-29 23:59:59", DateOrder::MonthDayYear, at(2024, 2, 29, 23, 59, 59)},
    };
    for (const Case& c : cases) {
        const auto read = readDateTime(c.text, c.order);
        ASSERT_TRUE(read.has_value()) << c.text;
        EXPECT_EQ(*read, c.expected) << c.text;
    }
}

TEST(DateFields, RejectedForms) {
    const char* rejected[] = {
        "",
        "not a date",
        "2009-01-15",          // no time of day
        "2009-01-15 25:00:00", // hour out of range
        "2009-01-15 10:60:00",
        "2009-02-29 10:00:00", // not a leap year
        "2009-13-01 10:00:00",
        "13/13/2009 10:00:00", // impossible in either order
        "1/15/2009 13:00:00 PM",
        "2009-01-15 10:15:30 garbage",
        "2009-01-15 10:15:30+01:00", // an offset would change the meaning
        "2009-01-15_10:15:30",
        "\xff\xfe\x01\x02",
    };
    for (const char* text : rejected)
        EXPECT_FALSE(readDateTime(text, DateOrder::MonthDayYear).has_value()) << text;
}

TEST(CivilTime, FormatsAndSplitsLocalTimes) {
    char buf[19];
    civil::format(at(2009, 1, 15, 10, 17, 5), buf);
    EXPECT_EQ(std::string(buf, 19), "2009-01-15 10:17:05");
    civil::format(at(1969, 12, 31, 23, 59, 59), buf);
    EXPECT_EQ(std::string(buf, 19), "1969-12-31 23:59:59");
    EXPECT_EQ(civil::minuteOfDay(at(2009, 1, 15, 10, 15, 30)), 615);
    EXPECT_EQ(civil::minuteOfDay(at(1969, 12, 31, 23, 59, 59)), 1439);
    EXPECT_EQ(civil::dayOf(at(1969, 12, 31, 23, 59, 59)), -1);
}

} // namespace
} // namespace tarrow::logparse

namespace tarrow::logparse {
namespace {

// The fast paths for the server's own forms and the general readers behind
// them give the same answer for every text: a leading blank sends a text past
// the fast path to the general reader.
TEST(FastPaths, AgreeWithTheGeneralReaders) {
    for (const char* text : {"2009-01-15 10:15:30", "2008-02-29 00:00:00", "2009-02-29 00:00:00",
                             "2009-12-31 23:59:59", "2009-12-31 24:00:00", "2009-12-31 23:60:00",
                             "2009-13-01 10:00:00", "0000-01-01 10:00:00", "9999-12-31 23:59:59",
                             "2009-00-10 10:00:00", "2009-04-31 10:00:00", "2009-01-15T10:15:30",
                             "20a9-01-15 10:15:30", "2009/01/15 10:15:30"}) {
        const std::string general = std::string(" ") + text;
        EXPECT_EQ(readDateTime(text, DateOrder::MonthDayYear),
                  readDateTime(general, DateOrder::MonthDayYear))
            << text;
    }
    for (const char* field :
         {"0", "7", "00012", "32767", "32768", "99999", "12345", "1", "65535"}) {
        const std::string general = std::string(" ") + field;
        EXPECT_EQ(readInt16(field), readInt16(general)) << field;
    }
    EXPECT_EQ(readDateTime("2009-01-15 10:15:30", DateOrder::DayMonthYear),
              civil::daysFromCivil(2009, 1, 15) * 86400 + 10 * 3600 + 15 * 60 + 30);
}

// A comma-decimal C locale must not change how log numbers read.
TEST(NumericFields, ReadTheSameInACommaDecimalLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const double read = readNumericPrefix("3.7");
    const auto rounded = readInt16("7.6");
    const double exponent = readNumericPrefix("1.5e2");
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(read, 3.7);
    EXPECT_EQ(rounded, 8);
    EXPECT_EQ(exponent, 150.0);
}

} // namespace
} // namespace tarrow::logparse
