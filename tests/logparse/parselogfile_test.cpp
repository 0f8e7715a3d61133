#include "logparse/parselogfile.h"
#include "logparse/utctolocal.h"
#include "platform/civiltime.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tarrow::logparse {
namespace {

using testing::logLine;

ParseOptions optionsFor(int y, int m, int d, const char* zone = "UTC") {
    ParseOptions o;
    o.chosenDay = civil::daysFromCivil(y, m, d);
    o.zone = QTimeZone(QByteArray(zone));
    o.fileName = QStringLiteral("data_qnhcmgr_20090115.csv");
    return o;
}

ParseResult parse(const QByteArray& bytes, const ParseOptions& o = optionsFor(2009, 1, 15)) {
    return ParseLogFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        o);
}

std::string timeText(std::int64_t t) {
    char buf[19];
    civil::format(t, buf);
    return std::string(buf, 19);
}

TEST(ParseLogFile, CallClosedByDisconnectGivesLegAndSample) {
    const auto r = parse(logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12) +
                         logLine("2009-01-15 10:17:05", "1163", "CALL DISCONNECT", "Port7", 2, 13));
    ASSERT_EQ(r.rows.size(), 2u);
    const store::RawRow& leg = r.rows[0];
    EXPECT_EQ(leg.port, 7);
    EXPECT_EQ(leg.callType, store::Inbound);
    EXPECT_EQ(timeText(leg.startTime(civil::daysFromCivil(2009, 1, 15))), "2009-01-15 10:15:30");
    EXPECT_EQ(leg.linesInUse, 3);
    EXPECT_EQ(leg.linesAvailable, 12);
    EXPECT_EQ(leg.startMinute(), 615);
    ASSERT_TRUE(leg.closed);
    EXPECT_EQ(timeText(leg.endTime(civil::daysFromCivil(2009, 1, 15))), "2009-01-15 10:17:05");
    EXPECT_EQ(leg.seconds, 95);
    EXPECT_EQ(leg.endMinute(), 617);
    const store::RawRow& sample = r.rows[1];
    EXPECT_EQ(sample.port, 7);
    EXPECT_EQ(sample.callType, store::Disconnect);
    EXPECT_EQ(timeText(sample.startTime(civil::daysFromCivil(2009, 1, 15))), "2009-01-15 10:17:05");
    EXPECT_EQ(sample.startMinute(), 617);
    EXPECT_EQ(sample.linesAvailable, 13);
    EXPECT_FALSE(sample.closed);
    EXPECT_EQ(r.calls[0], 1);
}

TEST(ParseLogFile, ClassifiesCodesAndTexts) {
    struct Case {
        const char* code;
        const char* text;
        int callType; // 0: dropped
    };
    const Case cases[] = {
        {"1162", "NEW CALL", 1},
        {"1162", "new call", 1},
        {"1164", "Notification Dial Out", 2},
        {"30300", "MWI DIAL OUT", 3},
        {"1165", "TRAP DIAL OUT", 4},
        {"1163", "AMIS DIAL OUT", 5},
        {"1162", "NEW CALL ", 0},
        {"1162", " NEW CALL", 0},
        {" 1162", "NEW CALL", 0},
        {"1162a", "NEW CALL", 0},
        {"9999", "NEW CALL", 0},
        {"1162", "PORT STATUS", 0},
    };
    for (const Case& c : cases) {
        const auto r = parse(logLine("2009-01-15 10:00:00", c.code, c.text, "Port1", 1, 1));
        if (c.callType == 0) {
            EXPECT_TRUE(r.rows.empty()) << c.code << '/' << c.text;
        } else {
            ASSERT_EQ(r.rows.size(), 1u) << c.code << '/' << c.text;
            EXPECT_EQ(r.rows[0].callType, c.callType);
            EXPECT_EQ(r.calls[static_cast<std::size_t>(c.callType - 1)], 1);
        }
    }
}

TEST(ParseLogFile, FieldCountsAndEmptyFiles) {
    EXPECT_TRUE(parse("").rows.empty());
    EXPECT_TRUE(parse("2009-01-15 10:00:00,x,1162,NEW CALL,Port1,1\r\n").rows.empty());
    EXPECT_TRUE(parse("2009-01-15 10:00:00,x,1162,NEW CALL,Port1,1\r\n").problems.isEmpty());
    EXPECT_EQ(parse("2009-01-15 10:00:00,x,1162,NEW CALL,Port1,1,5").rows.size(), 1u);
}

TEST(ParseLogFile, PortTokens) {
    struct Case {
        const char* token;
        int port; // -1: dropped
        std::optional<ProblemKind> problem;
    };
    const Case cases[] = {
        {"Port12", 12, {}},
        {"Port 7", 7, {}},
        {"Port", 0, {}},
        {"PortABC", 0, {}},
        {"Port300", 300, {}},
        {"Port32767", 32767, {}},
        {"P1", -1, ProblemKind::ShortPortToken},
        {"", -1, ProblemKind::ShortPortToken},
        {"Port-3", -1, ProblemKind::NegativePort},
        {"Port32768", -1, ProblemKind::NumberTooLarge},
        {"Port99999999999", -1, ProblemKind::NumberTooLarge},
    };
    for (const Case& c : cases) {
        const auto r =
            parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", c.token, 1, 1) +
                  logLine("2009-01-15 10:01:00", "1163", "CALL DISCONNECT", c.token, 0, 2));
        if (c.port < 0) {
            EXPECT_TRUE(r.rows.empty()) << c.token;
            EXPECT_EQ(r.calls[0], 0) << "a dropped line counts nowhere: " << c.token;
            EXPECT_EQ(r.problems.count(*c.problem), 2) << c.token;
        } else {
            // Every port a log can hold has its leg closed (not only 0 to 256).
            ASSERT_EQ(r.rows.size(), 2u) << c.token;
            EXPECT_EQ(r.rows[0].port, c.port) << c.token;
            EXPECT_TRUE(r.rows[0].closed) << c.token;
            EXPECT_TRUE(r.problems.isEmpty()) << c.token;
        }
    }
}

TEST(ParseLogFile, LineCountsOutOfRangeDropTheLine) {
    const auto r = parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port1", 70000, 1) +
                         logLine("2009-01-15 10:00:01", "1162", "NEW CALL", "Port2", 1, -40000) +
                         logLine("2009-01-15 10:00:02", "1162", "NEW CALL", "Port3", 1, 1));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].port, 3);
    EXPECT_EQ(r.problems.count(ProblemKind::NumberTooLarge), 2);
    EXPECT_EQ(r.problems.places(ProblemKind::NumberTooLarge).at(1).line, 2);
    EXPECT_EQ(r.calls[0], 1);
}

TEST(ParseLogFile, UnreadableDateDropsTheLineWithoutReusingTheLastTime) {
    const auto r = parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port1", 1, 1) +
                         logLine("garbage", "1162", "NEW CALL", "Port2", 1, 1) +
                         logLine("2009-01-15 10:05:00", "1163", "CALL DISCONNECT", "Port1", 0, 2));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].port, 1);
    EXPECT_EQ(r.problems.count(ProblemKind::NotADate), 1);
    EXPECT_EQ(r.problems.places(ProblemKind::NotADate).at(0).line, 2);
    EXPECT_EQ(r.calls[0], 1);
}

TEST(ParseLogFile, OpenLegsAndDisconnects) {
    // A disconnect without an open leg writes nothing and counts nothing.
    auto r = parse(logLine("2009-01-15 10:00:00", "1163", "CALL DISCONNECT", "Port3", 0, 5));
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.calls, (std::array<qint64, 5>{}));

    // A second call on a port replaces the open leg; the first stays open.
    r = parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port3", 1, 5) +
              logLine("2009-01-15 10:01:00", "1162", "NEW CALL", "Port3", 2, 4) +
              logLine("2009-01-15 10:02:00", "1163", "CALL DISCONNECT", "Port3", 1, 5));
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_FALSE(r.rows[0].closed);
    EXPECT_TRUE(r.rows[1].closed);
    EXPECT_EQ(r.rows[1].seconds, 60);
    EXPECT_EQ(r.calls[0], 2);

    // A disconnect on the next day does not close a call of the chosen day.
    r = parse(logLine("2009-01-15 23:59:50", "1162", "NEW CALL", "Port3", 1, 5) +
              logLine("2009-01-16 00:00:10", "1163", "CALL DISCONNECT", "Port3", 0, 6));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_FALSE(r.rows[0].closed);
}

TEST(ParseLogFile, PeaksRiseOnlyWithCallStarts) {
    const auto r =
        parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port4", 1, 20) +
              logLine("2009-01-15 10:00:01", "1165", "TRAP DIAL OUT", "Port9", 2, 18) +
              logLine("2009-01-15 10:00:02", "1163", "CALL DISCONNECT", "Port9", 1, 30) +
              logLine("2009-01-15 10:00:03", "1163", "CALL DISCONNECT", "Port50", 1, 40));
    EXPECT_EQ(r.peakPort, 9);
    EXPECT_EQ(r.peakAvailable, 20);
}

TEST(ParseLogFile, DataDateFollowsEveryKeptLineOfTheDay) {
    const auto r = parse(logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port4", 1, 20) +
                         logLine("2009-01-15 11:00:00", "1162", "PORT STATUS", "Port0", 0, 0) +
                         logLine("2009-01-15 12:00:00", "2210", "HEARTBEAT", "Port0", 0, 0) +
                         logLine("2009-01-16 12:00:00", "1162", "NEW CALL", "Port4", 0, 0));
    ASSERT_TRUE(r.lastEventTime.has_value());
    EXPECT_EQ(timeText(*r.lastEventTime), "2009-01-15 11:00:00");
}

TEST(ParseLogFile, LineEndings) {
    const QByteArray a = "2009-01-15 10:00:00,x,1162,NEW CALL,Port1,1,1";
    const QByteArray b = "2009-01-15 10:00:05,x,1163,CALL DISCONNECT,Port1,0,2";
    for (const QByteArray& end : {QByteArray("\r"), QByteArray("\r\n"), QByteArray("\n")}) {
        const auto r = parse(a + end + b + end);
        ASSERT_EQ(r.rows.size(), 2u) << end.toHex().toStdString();
        EXPECT_EQ(r.lineCount, 2);
        EXPECT_EQ(r.rows[0].seconds, 5);
    }
    EXPECT_EQ(parse(a + "\r" + b + "\n" + a + "\r\n").rows.size(), 3u);

    struct Count {
        const char* text;
        qint64 lines;
    };
    for (const Count& c : {Count{"", 0}, Count{"x", 1}, Count{"x\r\n", 1}, Count{"\r\n\r\n", 2},
                           Count{"\n\r", 2}, Count{"a\rb\nc", 3}})
        EXPECT_EQ(countLines(c.text), c.lines) << c.text;
}

TEST(ParseLogFile, UtcBecomesLocalTimeOfTheEventsOwnInstant) {
    // Berlin is UTC+1 in winter: 23:30 UTC on the day before is 00:30 local.
    auto r = parse(logLine("2009-01-14 23:30:00", "1162", "NEW CALL", "Port1", 1, 1),
                   optionsFor(2009, 1, 15, "Europe/Berlin"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(timeText(r.rows[0].startTime(civil::daysFromCivil(2009, 1, 15))),
              "2009-01-15 00:30:00");

    // On 29 March 2026 Berlin moves from UTC+1 to UTC+2 at 01:00 UTC.
    r = parse(logLine("2026-03-29 00:59:59", "1162", "NEW CALL", "Port1", 1, 1) +
                  logLine("2026-03-29 01:00:00", "1163", "CALL DISCONNECT", "Port1", 0, 2) +
                  logLine("2026-07-01 12:00:00", "1162", "NEW CALL", "Port2", 1, 1),
              optionsFor(2026, 3, 29, "Europe/Berlin"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(timeText(r.rows[0].startTime(civil::daysFromCivil(2026, 3, 29))),
              "2026-03-29 01:59:59");
    EXPECT_EQ(timeText(r.rows[0].endTime(civil::daysFromCivil(2026, 3, 29))),
              "2026-03-29 03:00:00");
    EXPECT_EQ(r.rows[0].seconds, 1) << "one real second, though the clock moved an hour";

    // Summer time applies to a summer day whatever the season of the load.
    r = parse(logLine("2026-07-01 12:00:00", "1162", "NEW CALL", "Port2", 1, 1),
              optionsFor(2026, 7, 1, "Europe/Berlin"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(timeText(r.rows[0].startTime(civil::daysFromCivil(2026, 7, 1))),
              "2026-07-01 14:00:00");
}

TEST(ParseLogFile, CallLengthIsTheTimeBetweenTheInstantsAcrossClockChanges) {
    // Spring: 00:26:41 to 03:02:13 local on 29 March 2009 in Berlin is 5732 s,
    // not the 9332 s between the clock readings.
    auto r = parse(logLine("2009-03-28 23:26:41", "1162", "NEW CALL", "Port3", 1, 1) +
                       logLine("2009-03-29 01:02:13", "1163", "CALL DISCONNECT", "Port3", 0, 2),
                   optionsFor(2009, 3, 29, "Europe/Berlin"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(timeText(r.rows[0].endTime(civil::daysFromCivil(2009, 3, 29))),
              "2009-03-29 03:02:13");
    EXPECT_EQ(r.rows[0].seconds, 5732);
    // Autumn: a 20-minute call from 02:50 in the first 02:00 hour to 02:10 in
    // the repeated one (25 October 2026, Berlin back from UTC+2 to UTC+1).
    r = parse(logLine("2026-10-25 00:50:00", "1162", "NEW CALL", "Port4", 1, 1) +
                  logLine("2026-10-25 01:10:00", "1163", "CALL DISCONNECT", "Port4", 0, 2),
              optionsFor(2026, 10, 25, "Europe/Berlin"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(timeText(r.rows[0].startTime(civil::daysFromCivil(2026, 10, 25))),
              "2026-10-25 02:50:00");
    EXPECT_EQ(timeText(r.rows[0].endTime(civil::daysFromCivil(2026, 10, 25))),
              "2026-10-25 02:10:00");
    EXPECT_EQ(r.rows[0].seconds, 1200);
}

TEST(ParseLogFile, LineLimit) {
    const QByteArray line = "x\n";
    QByteArray atLimit = line.repeated(static_cast<int>(kMaxLinesPerFile) - 1) +
                         logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port1", 1, 1);
    auto r = parse(atLimit);
    EXPECT_FALSE(r.tooManyLines);
    EXPECT_EQ(r.rows.size(), 1u);

    r = parse(atLimit + "x");
    EXPECT_TRUE(r.tooManyLines);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.calls[0], 0);
    EXPECT_EQ(r.problems.count(ProblemKind::TooManyLines), 1);
}

TEST(ParseLogFile, BinaryGarbageNeverCrashes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    const QByteArray valid = logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port1", 1, 1);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        for (int i = 0; i < 2000; ++i)
            bytes.append(static_cast<char>(byte(rng) < 20 ? ',' : byte(rng)));
        // Garbage around a valid line leaves that line intact.
        const auto r = parse(bytes + "\n" + valid + bytes);
        EXPECT_GE(r.calls[0], 1);
    }
}

// One pass for three days gives each day what a parse of that day alone
// gives: its own legs, its own disconnects, its own counts and peaks.
TEST(ParseLogFile, SeveralDaysInOnePassEqualEachDayAlone) {
    const QByteArray bytes =
        logLine("2009-01-14 23:50:00", "1162", "NEW CALL", "Port1", 1, 9) +
        logLine("2009-01-15 00:10:00", "1163", "CALL DISCONNECT", "Port1", 0, 10) +
        logLine("2009-01-15 08:00:00", "1164", "MWI DIAL OUT", "Port2", 1, 9) +
        logLine("not a date", "1162", "NEW CALL", "Port3", 1, 9) +
        logLine("2009-01-15 08:01:00", "1163", "CALL DISCONNECT", "Port2", 0, 10) +
        logLine("2009-01-16 09:00:00", "1162", "NEW CALL", "Port20", 4, 6) +
        logLine("2009-01-16 09:00:30", "1162", "NEW CALL", "Port", 4, 6) +
        logLine("2009-01-17 09:00:00", "1162", "NEW CALL", "Port5", 1, 9);
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::vector<ParseResult> days = ParseLogFileDays(view, optionsFor(2009, 1, 14), 3);
    ASSERT_EQ(days.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const ParseResult alone = parse(bytes, optionsFor(2009, 1, 14 + i));
        const ParseResult& part = days[static_cast<std::size_t>(i)];
        ASSERT_EQ(part.rows.size(), alone.rows.size());
        for (std::size_t r = 0; r < alone.rows.size(); ++r) {
            EXPECT_EQ(part.rows[r].startSecond, alone.rows[r].startSecond);
            EXPECT_EQ(part.rows[r].seconds, alone.rows[r].seconds);
            EXPECT_EQ(part.rows[r].closed, alone.rows[r].closed);
            EXPECT_EQ(part.rows[r].port, alone.rows[r].port);
        }
        EXPECT_EQ(part.calls, alone.calls);
        EXPECT_EQ(part.peakPort, alone.peakPort);
        EXPECT_EQ(part.peakAvailable, alone.peakAvailable);
        EXPECT_EQ(part.lastEventTime, alone.lastEventTime);
        EXPECT_EQ(part.lineCount, alone.lineCount);
        EXPECT_EQ(part.problems.count(ProblemKind::NotADate), 1);
        EXPECT_EQ(part.problems.count(ProblemKind::ShortPortToken),
                  alone.problems.count(ProblemKind::ShortPortToken));
    }
    // The leg of the 14th is not closed by the disconnect after midnight.
    ASSERT_EQ(days[0].rows.size(), 1u);
    EXPECT_FALSE(days[0].rows[0].closed);
    EXPECT_EQ(days[1].rows.size(), 2u) << "the 15th: one leg and its disconnect";
    EXPECT_EQ(days[2].peakPort, 20);
}

} // namespace
} // namespace tarrow::logparse

namespace tarrow::logparse {
namespace {

TEST(UtcToLocalTest, ScatteredInstantsGetTheZonesOwnOffset) {
    // Zones with summer time, a zone that dropped it, and one with a half-hour change.
    for (const char* name : {"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "UTC"}) {
        const QTimeZone zone(name);
        UtcToLocal convert(zone);
        std::uint64_t seed = 0x9E3779B97F4A7C15ULL;
        for (int i = 0; i < 20000; ++i) {
            seed ^= seed << 13;
            seed ^= seed >> 7;
            seed ^= seed << 17;
            // Every fourth instant sits within a minute of a quarter hour, where changes fall.
            std::int64_t t = static_cast<std::int64_t>(seed % (70LL * 365 * 86400));
            if (i % 4 == 0)
                t = t / 900 * 900 + static_cast<std::int64_t>(seed % 120) - 60;
            const int expected =
                zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(t, QTimeZone::utc()));
            ASSERT_EQ(convert(t), t + expected) << name << " at " << t;
        }
    }
}

} // namespace
} // namespace tarrow::logparse

namespace tarrow::logparse {
namespace {

// Every call line a file holds for the day, on real time, with the lines
// around the day that decide where legs and counts stand at either midnight;
// files merge in time order, the earlier file first on equal instants.
TEST(CallLinesTest, TheDaysLinesAndItsEdgesFromSeveralFiles) {
    ParseOptions options;
    options.chosenDay = civil::daysFromCivil(2009, 1, 15);
    options.zone = QTimeZone("UTC");
    const QByteArray first =
        testing::logLine("2009-01-14 23:00:00", "1162", "NEW CALL", "Port3", 1, 4) +
        testing::logLine("2009-01-14 23:30:00", "1163", "CALL DISCONNECT", "Port3", 0, 5) +
        testing::logLine("2009-01-14 23:50:00", "1162", "NEW CALL", "Port3", 1, 4) +
        testing::logLine("2009-01-15 10:00:00", "1163", "CALL DISCONNECT", "Port7", 0, 5) +
        testing::logLine("2009-01-15 12:00:00", "1162", "NEW CALL", "Port1", 1, 4) +
        testing::logLine("2009-01-15 11:00:00", "1162", "NEW CALL", "Port2", 2, 3);
    const QByteArray second =
        testing::logLine("2009-01-15 10:00:00", "1164", "MWI DIAL OUT", "Port9", 1, 4) +
        testing::logLine("2009-01-16 00:10:00", "1163", "CALL DISCONNECT", "Port1", 0, 5) +
        testing::logLine("2009-01-16 00:20:00", "1162", "NEW CALL", "Port1", 1, 4);
    DayLinesBuilder builder;
    for (const QByteArray& file : {first, second}) {
        ParseResult parsed = ParseLogFile(std::string_view(file.constData(), file.size()), options);
        builder.add(std::move(parsed.callLines), parsed.edges);
    }
    const DayLines day = builder.finish();
    ASSERT_EQ(day.lines.size(), 4u);
    const auto at = [](int h, int m) {
        return civil::daysFromCivil(2009, 1, 15) * 86400 + h * 3600 + m * 60;
    };
    // The disconnect that closes no leg of its own file is a call line too.
    EXPECT_EQ(day.lines[0].utc, at(10, 0));
    EXPECT_EQ(day.lines[0].type, store::Disconnect);
    EXPECT_EQ(day.lines[1].port, 9) << "the second file's line of the same instant comes after";
    EXPECT_EQ(day.lines[2].port, 2) << "in time order, not file order";
    EXPECT_EQ(day.lines[3].port, 1);
    ASSERT_EQ(day.before.size(), 1u) << "only the last line of port 3 before the day";
    EXPECT_EQ(day.before[0].utc, at(0, 0) - 600);
    EXPECT_EQ(day.before[0].type, store::Inbound);
    ASSERT_EQ(day.after.size(), 1u) << "only the first line of port 1 after the day";
    EXPECT_EQ(day.after[0].type, store::Disconnect);
    EXPECT_EQ(day.after[0].available, 5);
}

} // namespace
} // namespace tarrow::logparse
