#include "load/loadedday.h"
#include "reports/capacity/capacity.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/sizing.h"
#include "support/calllog.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

namespace tarrow::reports {
namespace {

using testing::CallLog;
using testing::utc;

const QTimeZone kBerlin(QByteArrayLiteral("Europe/Berlin"));
const QDate kDay(2026, 12, 7); // Berlin is UTC+1 in winter

// A UTC instant of a local time on kDay.
QDateTime local(int h, int m, int s = 0) {
    return utc(2026, 12, 7, h, m, s).addSecs(-3600);
}

CapacityFigures figuresOf(const QList<QByteArray>& files, const QDate& day = kDay) {
    return computeCapacityFigures(testing::loadFromLogs(day, kBerlin, files));
}

int quarterOf(int h, int m) {
    return (h * 60 + m) / 15;
}

TEST(ErlangB, KnownValuesAndSizing) {
    EXPECT_DOUBLE_EQ(erlang::blocking(1, 1), 0.5);
    EXPECT_DOUBLE_EQ(erlang::blocking(2, 2), 0.4);
    EXPECT_DOUBLE_EQ(erlang::blocking(3, 0), 1.0);
    EXPECT_DOUBLE_EQ(erlang::blocking(0, 4), 0.0);
    EXPECT_LE(erlang::blocking(erlang::capacity(20, 0.01), 20), 0.01);
    EXPECT_GT(erlang::blocking(erlang::capacity(20, 0.01) * (1 + 1e-8), 20), 0.01);
    EXPECT_EQ(erlang::portsNeeded(12.0, 0.01), 20);
    EXPECT_EQ(erlang::portsNeeded(12.1, 0.01), 21);
    EXPECT_EQ(erlang::portsNeeded(0, 0.01), 0);
    EXPECT_NEAR(erlang::capacity(1, 0.001), 0.001001, 1e-6);
    EXPECT_NEAR(erlang::capacity(100, 0.2), 120.64, 0.01);
    EXPECT_EQ(erlang::capacity(0, 0.01), 0.0);
}

TEST(ErlangB, StableForTenThousandPorts) {
    const double b = erlang::blocking(9000, 10000);
    EXPECT_TRUE(std::isfinite(b));
    EXPECT_LT(b, 1e-20);
    EXPECT_NEAR(erlang::blocking(10000, 10000), 0.0079, 0.0002);
    const double c = erlang::capacity(10000, 0.01);
    EXPECT_NEAR(c, 10031.25, 0.05);
    EXPECT_EQ(erlang::portsNeeded(c, 0.01), 10000);
}

TEST(ErlangB, PublishedFigures) {
    // Tables of Erlang B and of Extended Erlang B.
    EXPECT_NEAR(erlang::capacity(20, 0.01), 12.031, 0.0005);
    EXPECT_NEAR(*erlang::offeredFromCarried(11.9107, 20), 12.031, 0.0005);
    EXPECT_EQ(erlang::portsNeeded(5.5, 0.03, 0.5), 11);
    EXPECT_NEAR(erlang::blocking(5.5, 10, 0.5), 0.03149, 0.00001);
    EXPECT_NEAR(erlang::capacity(200, 0.03, 0.7), 186.877, 0.0005);
    EXPECT_NEAR(erlang::capacity(200, 0.03), 190.886, 0.0005);
}

TEST(ErlangB, OfferedTrafficFromCarriedAtOneFiveAndTwentyPercent) {
    for (const int ports : {1, 10, 24, 96, 1000})
        for (const double gos : {0.01, 0.05, 0.2}) {
            // The traffic that meets that blocking: what it leaves carried
            // must give it back.
            const double offered = erlang::capacity(ports, gos);
            const double carried = erlang::carried(offered, ports);
            EXPECT_NEAR(carried, offered * (1 - gos), 1e-6 * offered) << ports << " " << gos;
            const std::optional<double> back = erlang::offeredFromCarried(carried, ports);
            ASSERT_TRUE(back.has_value()) << ports << " " << gos;
            EXPECT_NEAR(*back, offered, 1e-8 * offered) << ports << " " << gos;
        }
    EXPECT_EQ(erlang::offeredFromCarried(0, 5), 0.0);
    EXPECT_FALSE(erlang::offeredFromCarried(5, 5)) << "a saturated pool tells no demand";
    EXPECT_FALSE(erlang::offeredFromCarried(6, 5));
    EXPECT_FALSE(erlang::offeredFromCarried(1, 0));
    const std::optional<double> nearlyFull = erlang::offeredFromCarried(4.999, 5);
    ASSERT_TRUE(nearlyFull.has_value());
    EXPECT_GT(*nearlyFull, 1000);
}

TEST(ErlangB, ExtendedErlangBIsItsFixedPoint) {
    EXPECT_DOUBLE_EQ(erlang::totalOffered(8, 10, 0), 8.0);
    for (const double share : {0.3, 0.7, 0.95}) {
        const double total = erlang::totalOffered(8, 10, share);
        EXPECT_NEAR(total, 8 + share * total * erlang::blocking(total, 10), 1e-9 * total);
        EXPECT_GT(total, 8.0);
        // Retries only add traffic: never fewer ports, never more capacity.
        EXPECT_GE(erlang::portsNeeded(8, 0.01, share), erlang::portsNeeded(8, 0.01));
        EXPECT_LE(erlang::capacity(10, 0.01, share), erlang::capacity(10, 0.01));
    }
    // Saturated far beyond the ports, it still settles.
    EXPECT_TRUE(std::isfinite(erlang::totalOffered(500, 10, 0.95)));
}

TEST(DayClock, QuartersOfOrdinaryAndClockChangeNights) {
    const DayClock winter(kDay, kBerlin);
    EXPECT_EQ(winter.start(), local(0, 0).toSecsSinceEpoch());
    EXPECT_EQ(winter.end() - winter.start(), 86400);
    for (const qint64 real : winter.realSeconds())
        ASSERT_EQ(real, 900);

    const DayClock autumn(QDate(2026, 10, 25), kBerlin);
    EXPECT_EQ(autumn.end() - autumn.start(), 90000);
    EXPECT_EQ(autumn.realSeconds()[quarterOf(1, 45)], 900);
    for (int q = quarterOf(2, 0); q <= quarterOf(2, 45); ++q)
        EXPECT_EQ(autumn.realSeconds()[q], 1800) << q;
    // A minute in each pass of 02:10 falls in the same clock quarter.
    const auto quarterOfMinute = [&autumn](const QDateTime& at) {
        int found = -1;
        const std::int64_t t = at.toSecsSinceEpoch();
        autumn.spread(t, t + 60, [&found](int quarter, std::int64_t) { found = quarter; });
        return found;
    };
    EXPECT_EQ(quarterOfMinute(utc(2026, 10, 25, 0, 10)), quarterOf(2, 0));
    EXPECT_EQ(quarterOfMinute(utc(2026, 10, 25, 1, 10)), quarterOf(2, 0));

    const DayClock spring(QDate(2026, 3, 29), kBerlin);
    EXPECT_EQ(spring.end() - spring.start(), 82800);
    for (int q = quarterOf(2, 0); q <= quarterOf(2, 45); ++q)
        EXPECT_EQ(spring.realSeconds()[q], 0) << q;
    EXPECT_EQ(spring.realSeconds()[quarterOf(3, 0)], 900);
}

TEST(RealTime, TheAutumnNightsRepeatedHourCountsOnce) {
    // One port; a 40-minute call in each pass of 02:00 to 03:00.
    CallLog log;
    log.start(utc(2026, 10, 25, 0, 10), 1, store::Inbound, 1, 0)
        .end(utc(2026, 10, 25, 0, 50), 1, 0, 1)
        .start(utc(2026, 10, 25, 1, 10), 1, store::Inbound, 1, 0)
        .end(utc(2026, 10, 25, 1, 50), 1, 0, 1);
    const CapacityFigures f = figuresOf({log.text}, QDate(2026, 10, 25));
    EXPECT_NEAR(f.busyHourErlangs(), 2400.0 / 3600, 1e-12);
    EXPECT_EQ(f.busyHourRealSeconds(), 6300) << "01:45 to 02:45, the first of equal hours";
    EXPECT_EQ(f.peakConcurrentCalls, 1);
    EXPECT_EQ(f.atbTotalSeconds, 4800);
    EXPECT_EQ(f.atbEpisodes, 2);
    EXPECT_EQ(f.callSeconds[quarterOf(2, 15)][0], 1800) << "both passes of 02:15";
    EXPECT_DOUBLE_EQ(f.erlangs(quarterOf(2, 15)), 1.0);
    EXPECT_EQ(f.answerPorts, 1);
}

TEST(RealTime, TheSpringNightsSkippedQuartersLastNoTime) {
    CallLog log;
    // 01:30 to 03:30 local: the clock skips 02:00 to 03:00, so it lasts an hour.
    log.call(utc(2026, 3, 29, 0, 30), 3600, 1);
    log.call(utc(2026, 3, 29, 9, 0), 600, 2);
    const CapacityFigures f = figuresOf({log.text}, QDate(2026, 3, 29));
    EXPECT_EQ(f.callSeconds[quarterOf(1, 30)][0], 900);
    EXPECT_EQ(f.callSeconds[quarterOf(3, 15)][0], 900);
    EXPECT_EQ(f.callSeconds[quarterOf(2, 0)][0], 0);
    EXPECT_EQ(f.erlangs(quarterOf(2, 0)), 0.0);
    // No window shorter than a real hour is the busy hour: 01:30 to 02:30
    // (1.0 E over its 30 real minutes) is passed over.
    EXPECT_EQ(quarterStart(f.busyHourStart), QStringLiteral("01:00"));
    EXPECT_EQ(f.busyHourRealSeconds(), 3600);
    EXPECT_DOUBLE_EQ(f.busyHourErlangs(), 0.5);
    const QList<QByteArray> csv = capacityTrafficCsv(f).split('\n');
    EXPECT_TRUE(csv[1 + quarterOf(2, 0)].startsWith("8,02:00,0,0.0000,"));
}

TEST(RealTime, CallsAndLineCountsCarryAcrossMidnight) {
    CallLog before;                                                   // the previous day's file
    before.start(local(0, 0).addSecs(-600), 1, store::Inbound, 1, 4); // 23:50, ends 00:10
    before.start(local(0, 0).addSecs(-300), 2, store::Inbound, 2, 0); // 23:55: all busy
    CallLog day;
    day.end(local(0, 10), 1, 1, 1);
    day.end(local(0, 5), 2, 0, 2); // the first line of the day ends the spell
    day.start(local(23, 55), 3, store::Amis, 1, 3);
    day.start(local(12, 0), 4, store::Inbound, 1, 3); // never ends
    CallLog next;
    next.end(local(0, 5).addDays(1), 3, 0, 4); // closes the AMIS leg in another file
    const CapacityFigures f = figuresOf({before.text, day.text, next.text});
    EXPECT_EQ(f.callSeconds[0][0], 600 + 300) << "from midnight on, both calls";
    EXPECT_EQ(f.callSeconds[95][store::typeIndex(store::Amis)], 300) << "up to midnight only";
    EXPECT_EQ(f.atbSeconds[0], 300) << "the count of 23:55 holds until 00:05";
    EXPECT_EQ(f.atbTotalSeconds, 300);
    EXPECT_EQ(f.atbEpisodes, 1);
    EXPECT_EQ(f.callsWithoutEnd, 1);
    EXPECT_EQ(f.answerPorts, 3) << "ports 1, 2 (calls from before midnight) and 4";
    EXPECT_EQ(f.dialOutPorts, 1);
    EXPECT_EQ(f.peakConcurrentCalls, 2);
}

TEST(RealTime, ReservedAnswerPortsSharedPoolAndLowestFirst) {
    CallLog log;
    for (int port = 1; port <= 4; ++port)
        log.call(local(10, 0), 3000, port, store::Inbound, 2);
    log.call(local(10, 0), 1800, 5, store::Mwi, 2);
    log.call(local(10, 15), 900, 6, store::Trap, 2);
    log.call(local(10, 30), 1800, 6, store::Notification, 2);
    log.call(local(10, 50), 600, 2, store::Mwi, 2); // a dial-out overflowing onto port 2
    const CapacityFigures f = figuresOf({log.text});
    EXPECT_EQ(f.answerPorts, 4);
    EXPECT_EQ(f.dialOutPorts, 2);
    EXPECT_EQ(quarterStart(f.busyHourStart), QStringLiteral("10:00"));
    EXPECT_DOUBLE_EQ(f.busyHourErlangs(), (4 * 3000 + 600) / 3600.0) << "the pool only";
    EXPECT_DOUBLE_EQ(f.overflowErlangs(), 600 / 3600.0);
    EXPECT_DOUBLE_EQ(f.dialOutBusyHourErlangs(), (1800 + 900 + 1800) / 3600.0);
    EXPECT_EQ(f.dialOutAllBusySeconds, 900) << "ports 5 and 6 together from 10:15 to 10:30";
    EXPECT_EQ(sizeCapacity(f, {}).ports, 4);
    EXPECT_EQ(sizeCapacity(f, {}).portsFrom, PortsFrom::AnswerPorts);

    // Lowest free port first: on a quiet day the top ports take no call, but
    // the server counts them as available.
    CallLog quiet;
    for (int port = 1; port <= 70; ++port)
        quiet.call(local(9, 0).addSecs(port * 60), 120, port, store::Inbound, 96 - port);
    const Sizing s = sizeCapacity(figuresOf({quiet.text}), {});
    EXPECT_EQ(s.ports, 95);
    EXPECT_EQ(s.portsFrom, PortsFrom::LineCounts);
    EXPECT_EQ(sizeCapacity(figuresOf({quiet.text}), {120, 0.01}).portsFrom, PortsFrom::User);
}

// A day on `ports` ports whose answer ports carry `erlangs` from 10:00 to
// 11:00, with `atbSeconds` of all ports busy from 10:30 on as well.
CapacityFigures hourOf(int ports, double erlangs, int atbSeconds) {
    CallLog log;
    const int sampler = ports + 1; // disconnect lines that close no leg: samples only
    log.end(local(8, 0), sampler, 0, ports);
    const int whole = static_cast<int>(erlangs);
    for (int port = 1; port <= whole; ++port)
        log.start(local(10, 0), port, store::Inbound, port, ports - port);
    const int rest = static_cast<int>(std::lround((erlangs - whole) * 3600));
    if (rest > 0)
        log.start(local(10, 0), whole + 1, store::Inbound, whole + 1, ports - whole - 1)
            .end(local(10, 0).addSecs(rest), whole + 1, whole, ports - whole);
    if (atbSeconds > 0)
        log.end(local(10, 30), sampler, ports, 0)
            .end(local(10, 30).addSecs(atbSeconds), sampler, ports, ports - whole);
    for (int port = 1; port <= whole; ++port)
        log.end(local(11, 0), port, whole - port, ports - whole + port);
    return figuresOf({log.text});
}

// Lines the parser never gives (a negative port, out of order, outside the
// day) are taken without harm: a negative port is not paired.
TEST(CapacityFigures, LinesNoParserGivesDoNoHarm) {
    load::LoadedDay day;
    day.day = kDay;
    day.zone = kBerlin;
    const std::int64_t noon = local(12, 0).toSecsSinceEpoch();
    for (const logparse::CallLine line :
         {logparse::CallLine{noon, -5, 3, 1, 1}, logparse::CallLine{noon + 60, -5, 3, 0, 99},
          logparse::CallLine{noon + 600, 2, 3, 1, 1}, logparse::CallLine{noon - 600, 2, 3, 0, 99},
          logparse::CallLine{noon + 900, 2, 3, 0, 99},
          logparse::CallLine{noon + 5 * 86400, 3, 3, 1, 1}})
        day.lines.lines.push_back(line);
    day.lines.before.push_back(logparse::CallLine{noon - 86400, -1, 0, 0, 1});
    const CapacityFigures figures = computeCapacityFigures(day);
    qint64 real = 0;
    for (const qint64 s : figures.realSeconds)
        real += s;
    EXPECT_EQ(real, 86400);
    const Sizing sizing = sizeCapacity(figures, {0, std::nan(""), 0, 0});
    EXPECT_FALSE(capacityJson(figures, sizing).isEmpty());
}

TEST(Sizing, VerdictFollowsTheEvidence) {
    // 12 E carried on 20 ports, 36 s all busy: offered traffic, sized on it.
    const CapacityFigures f = hourOf(20, 12.0, 0);
    const Sizing s = sizeCapacity(f, {});
    EXPECT_EQ(s.ports, 20);
    ASSERT_TRUE(s.offeredErlangs);
    EXPECT_NEAR(erlang::carried(*s.offeredErlangs, 20), 12.0, 1e-7);
    EXPECT_EQ(*s.portsNeeded, erlang::portsNeeded(*s.offeredErlangs, 0.01));
    EXPECT_EQ(s.verdict, Verdict::NotEnough)
        << "12 E carried on 20 ports is more than 12.03 offered";

    const Sizing roomy = sizeCapacity(f, {30, 0.01});
    EXPECT_EQ(roomy.verdict, Verdict::Enough);
    EXPECT_TRUE(capacityHeadline(f, roomy).startsWith(QStringLiteral("Enough ports: 30 ports")));
    EXPECT_EQ(verdictColour(roomy.verdict), QColor(0x1a, 0x6b, 0x2a));

    const Sizing near = sizeCapacity(f, {21, 0.01});
    EXPECT_EQ(near.verdict, Verdict::Near) << *near.headroomPercent;
    EXPECT_TRUE(capacityHeadline(f, near).startsWith(QStringLiteral("Ports nearly full")));

    // The server's own counts outrank the model: plenty of ports on paper,
    // yet callers met all ports busy.
    const CapacityFigures blocked = hourOf(40, 12.0, 360);
    const Sizing measured = sizeCapacity(blocked, {});
    EXPECT_LT(*measured.portsNeeded, measured.ports);
    EXPECT_DOUBLE_EQ(measured.measuredBlocking, 0.1);
    EXPECT_EQ(measured.verdict, Verdict::NotEnough);
    EXPECT_TRUE(capacityHeadline(blocked, measured)
                    .startsWith(QStringLiteral("Not enough ports: callers found all 40 answer "
                                               "ports busy 10 % of the busy hour (target 1 %).")))
        << capacityHeadline(blocked, measured).toStdString();
    EXPECT_NE(verdictColour(measured.verdict), verdictColour(Verdict::Enough));

    // Growth and retries size a larger demand.
    const Sizing grown = sizeCapacity(f, {30, 0.01, 50, 0.5});
    EXPECT_NEAR(*grown.demandErlangs, *grown.freshErlangs * 1.5, 1e-12);
    EXPECT_LT(*grown.freshErlangs, *grown.offeredErlangs);
    EXPECT_NEAR(*grown.predictedBlocking, erlang::blocking(*grown.demandErlangs, 30, 0.5), 1e-15);
}

TEST(Sizing, ASaturatedPoolHasNoDemandAndIsNotEnough) {
    const CapacityFigures f = hourOf(8, 8.0, 3600);
    const Sizing s = sizeCapacity(f, {});
    EXPECT_TRUE(s.saturated());
    EXPECT_FALSE(s.portsNeeded || s.demandErlangs || s.predictedBlocking || s.headroomErlangs);
    EXPECT_FALSE(s.offeredFromCounts) << "all busy throughout";
    EXPECT_EQ(s.verdict, Verdict::NotEnough);
    EXPECT_TRUE(capacityHeadline(f, s).contains(QStringLiteral("the ports were saturated")));
    const QJsonObject json = QJsonDocument::fromJson(capacityJson(f, s)).object();
    for (const char* key :
         {"offeredErlangs", "offeredFromCountsErlangs", "freshErlangs", "demandErlangs",
          "portsNeeded", "portsToAdd", "headroomErlangs", "headroomPercent", "predictedBlocking"})
        EXPECT_TRUE(json[QLatin1String(key)].isNull()) << key;
    EXPECT_EQ(json[QStringLiteral("verdict")].toString(), QStringLiteral("notEnough"));
}

TEST(Sizing, TheModelThatDoesNotFitIsNamed) {
    // 2 E on 20 ports yet all ports busy half the hour: the pool is not what
    // callers reach.
    const CapacityFigures f = hourOf(20, 2.0, 1800);
    const Sizing s = sizeCapacity(f, {});
    EXPECT_TRUE(s.modelMisfit);
    EXPECT_NEAR(*s.offeredFromCounts, 2.0 / 0.5, 1e-9);
    const QList<VerdictLine> lines = capacityVerdict(f, s);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const VerdictLine& l) {
        return l.value.contains(QStringLiteral("the pool model does not fit"));
    }));
}

TEST(CapacityOutput, TableAndJsonFiles) {
    CallLog log;
    log.call(local(9, 0), 450, 7);
    log.call(local(9, 5), 90, 8, store::Trap);
    log.start(local(9, 6), 9, store::Mwi, 1, 3);
    log.start(local(9, 1), 10, store::Inbound, 2, 0).end(local(9, 2), 10, 1, 3);
    const CapacityFigures f = figuresOf({log.text});
    const Sizing s = sizeCapacity(f, {4, 0.01, 0});

    const QList<QByteArray> lines = capacityTrafficCsv(f).split('\n');
    ASSERT_EQ(lines.size(), 98) << "header, 96 quarter-hours, the final line end";
    EXPECT_EQ(lines[0], QByteArray("QuarterHour,Start,RealSeconds,InboundErlangs,MWIErlangs,"
                                   "NotificationErlangs,TRAPErlangs,AMISErlangs,TotalErlangs,"
                                   "PoolErlangs,AtbSeconds"));
    EXPECT_EQ(lines[37], QByteArray("36,09:00,900,0.5667,0.0000,0.0000,0.1000,0.0000,0.6667,"
                                    "0.5667,60"));
    EXPECT_EQ(lines[96], QByteArray("95,23:45,900,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,"
                                    "0.0000,0"));

    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(capacityJson(f, s), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(json[QStringLiteral("schema")].toInt(), 2);
    EXPECT_EQ(json[QStringLiteral("day")].toString(), QStringLiteral("2026-12-07"));
    EXPECT_EQ(json[QStringLiteral("portsInService")].toInt(), 4);
    EXPECT_EQ(json[QStringLiteral("portsFrom")].toString(), QStringLiteral("user"));
    EXPECT_EQ(json[QStringLiteral("answerPorts")].toInt(), 2);
    EXPECT_EQ(json[QStringLiteral("dialOutPorts")].toInt(), 2);
    const QJsonObject busy = json[QStringLiteral("busyHour")].toObject();
    EXPECT_EQ(busy[QStringLiteral("start")].toString(), QStringLiteral("08:15"));
    EXPECT_DOUBLE_EQ(busy[QStringLiteral("erlangs")].toDouble(), 510.0 / 3600);
    EXPECT_DOUBLE_EQ(busy[QStringLiteral("byType")][QStringLiteral("inbound")].toDouble(),
                     510.0 / 3600);
    EXPECT_EQ(json[QStringLiteral("verdict")].toString(), QStringLiteral("notEnough"))
        << "all ports busy 60 s of the busy hour is over 1 %";
    EXPECT_EQ(json[QStringLiteral("headline")].toString(), capacityHeadline(f, s));
    const QJsonObject atb = json[QStringLiteral("allPortsBusy")].toObject();
    EXPECT_EQ(atb[QStringLiteral("seconds")].toInt(), 60);
    EXPECT_EQ(atb[QStringLiteral("busyHourSeconds")].toInt(), 60);
    EXPECT_DOUBLE_EQ(json[QStringLiteral("measuredBlocking")].toDouble(), 60.0 / 3600);
    EXPECT_DOUBLE_EQ(json[QStringLiteral("dialOut")][QStringLiteral("busyHourErlangs")].toDouble(),
                     90.0 / 3600);
    EXPECT_EQ(json[QStringLiteral("callsWithoutEnd")].toInt(), 1);
    for (const char* key : {"offeredErlangs", "freshErlangs", "demandErlangs", "portsNeeded",
                            "retryShare", "growthPercent", "peakLinesInUse"})
        EXPECT_TRUE(json[QLatin1String(key)].isDouble()) << key;

    // A day of dial-outs only: no pool traffic to size.
    CallLog dialOuts;
    dialOuts.call(local(9, 0), 600, 3, store::Mwi);
    const CapacityFigures quiet = figuresOf({dialOuts.text});
    const Sizing none = sizeCapacity(quiet, {});
    EXPECT_EQ(none.portsFrom, PortsFrom::LineCounts) << "the server counts 5 lines available";
    EXPECT_EQ(none.verdict, Verdict::Enough);
    EXPECT_TRUE(capacityHeadline(quiet, none).startsWith(QStringLiteral("No caller reached")));
    EXPECT_EQ(*none.portsNeeded, 0);

    // A day without calls is that day, never today.
    const CapacityFigures empty = figuresOf({});
    EXPECT_EQ(empty.day, kDay);
    EXPECT_EQ(capacityHeadline(empty, sizeCapacity(empty, {})),
              QStringLiteral("No call carried traffic on this day: nothing to size."));
}

TEST(CapacityOutput, ChartStacksThePoolShadesTheBusyHourAndDrawsLevels) {
    CallLog log;
    log.call(local(13, 0), 1800, 1);
    log.call(local(13, 0), 1800, 2, store::Mwi); // a dial-out port: not the pool
    const CapacityFigures f = figuresOf({log.text});
    const Sizing s = sizeCapacity(f, {3, 0.01, 0});
    const charts::ChartModel chart = capacityChart(f, s);
    ASSERT_EQ(chart.xs.size(), 192u);
    EXPECT_EQ(chart.xs[104], 780); // 13:00 in minutes
    ASSERT_EQ(chart.series.size(), 7u);
    EXPECT_EQ(chart.series[0].kind, charts::SeriesKind::Stacked);
    EXPECT_EQ(chart.series[0].label, QStringLiteral("Inbound Calls"));
    EXPECT_DOUBLE_EQ(chart.series[0].values[104], 1.0);
    EXPECT_DOUBLE_EQ(chart.series[1].values[104], 0.0);
    EXPECT_EQ(chart.series[5].kind, charts::SeriesKind::Level);
    EXPECT_EQ(chart.series[5].label, QStringLiteral("Ports that take calls (3)"));
    EXPECT_DOUBLE_EQ(chart.series[6].values[191], s.capacityErlangs);
    ASSERT_TRUE(chart.band.has_value());
    EXPECT_EQ(chart.band->from, 750) << "12:30, the earliest hour holding 13:00 to 13:30";
}

} // namespace
} // namespace tarrow::reports
