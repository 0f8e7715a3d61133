// Sizing checked against the sample generator's simulation, whose truth is
// known: what callers offered in each quarter-hour, and how long all ports
// that take calls were busy.
#include "reports/capacity/capacity.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/sizing.h"
#include "samplegenerator.h"
#include "support/calllog.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tarrow::reports {
namespace {

struct SimulatedDays {
    testing::TempFolder dir;
    tools::SampleOptions options;
    // Fresh traffic offered to the pool, and its all-busy seconds, by day
    // and UTC quarter-hour.
    std::map<QDate, std::array<double, kQuarterHours>> offered;
    std::map<QDate, std::array<qint64, kQuarterHours>> atb;

    explicit SimulatedDays(tools::SampleOptions o) : options(std::move(o)) {
        options.malformedLines = false;
        options.truthFile = dir.file(QStringLiteral("truth.csv"));
        const QString error = tools::writeSampleLogs(dir.file(QStringLiteral("logs")), options);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        QFile truth(options.truthFile);
        EXPECT_TRUE(truth.open(QIODevice::ReadOnly));
        truth.readLine(); // the header
        while (!truth.atEnd()) {
            const QList<QByteArray> f = truth.readLine().trimmed().split(',');
            const QDate day = QDate::fromString(QString::fromLatin1(f[0]), Qt::ISODate);
            const auto q = static_cast<std::size_t>(f[1].toInt());
            offered[day][q] = f[7].toDouble();
            atb[day][q] = f[8].toLongLong();
        }
    }

    // The day as "Load Data" reads it from its files and its neighbours', in UTC.
    [[nodiscard]] CapacityFigures figures(const QDate& day) const {
        QList<QByteArray> files;
        for (int d = -1; d <= 1; ++d) {
            QFile file(dir.file(QStringLiteral("logs/") + options.prefix +
                                day.addDays(d).toString(QStringLiteral("yyyyMMdd")) +
                                QStringLiteral(".csv")));
            if (file.open(QIODevice::ReadOnly))
                files << file.readAll();
        }
        return computeCapacityFigures(testing::loadFromLogs(day, QTimeZone::utc(), files));
    }

    [[nodiscard]] double offeredInBusyHour(const QDate& day, const CapacityFigures& f) const {
        double sum = 0;
        for (int q = f.busyHourStart; q < f.busyHourStart + kBusyHourQuarters; ++q)
            sum += offered.at(day)[static_cast<std::size_t>(q)];
        return sum / kBusyHourQuarters;
    }
};

tools::SampleOptions simulated(int ports, double peakLoad, std::uint32_t seed) {
    tools::SampleOptions o;
    o.firstDay = QDate(2026, 12, 1);
    o.days = 3;
    o.ports = ports;
    o.answeringPorts = ports * 2 / 3;
    o.callsPerDay = 250LL * ports;
    o.peakLoad = peakLoad;
    o.seed = seed;
    return o;
}

// Callers lost 5 % and 20 % of the time: the offered traffic the carried
// traffic gives back is what was offered in that hour, and the ports sized
// on it are the ports that traffic needs.
TEST(CapacityAgainstTheSimulation, OfferedTrafficAndPortsNeededAtFiveAndTwentyPercent) {
    struct Case {
        int ports;
        double peakLoad;
        double lostLow;
        double lostHigh;
    };
    for (const Case c : {Case{24, 0.5, 0.03, 0.10}, Case{96, 0.85, 0.17, 0.30}})
        for (const std::uint32_t seed : {1U, 2U, 3U}) {
            SCOPED_TRACE(::testing::Message()
                         << c.ports << " ports, load " << c.peakLoad << ", seed " << seed);
            const SimulatedDays sim(simulated(c.ports, c.peakLoad, seed));
            const QDate day(2026, 12, 2);
            const CapacityFigures f = sim.figures(day);
            const Sizing s = sizeCapacity(f, {});
            EXPECT_EQ(s.ports, c.ports * 2 / 3) << "the answering ports";
            EXPECT_GE(s.measuredBlocking, c.lostLow);
            EXPECT_LE(s.measuredBlocking, c.lostHigh);
            // The server's count of all ports busy is the simulation's, to the second.
            qint64 atb = 0;
            for (int q = f.busyHourStart; q < f.busyHourStart + kBusyHourQuarters; ++q)
                atb += sim.atb.at(day)[static_cast<std::size_t>(q)];
            EXPECT_EQ(f.atbBusyHourSeconds(), atb);

            const double truth = sim.offeredInBusyHour(day, f);
            ASSERT_TRUE(s.offeredErlangs.has_value());
            EXPECT_NEAR(*s.offeredErlangs, truth, 0.12 * truth);
            const int needed = erlang::portsNeeded(truth, kDefaultGos);
            EXPECT_NEAR(*s.portsNeeded, needed, std::max(3.0, 0.08 * needed));
            EXPECT_EQ(s.verdict, Verdict::NotEnough);
        }
}

// The sample weeks that start the program: the verdict is never "enough"
// while callers found all ports busy more often than the target, whatever
// the what-if.
TEST(CapacityAgainstTheSimulation, NeverEnoughWhileCallersMeetAllPortsBusy) {
    tools::SampleOptions o;
    o.firstDay = QDate(2026, 11, 1);
    o.days = 35;
    o.peakLoad = 0.55;
    o.weekendShare = 0.6;
    o.growthPercent = 15;
    const SimulatedDays sim(o);
    int blockedDays = 0;
    for (int d = 0; d < o.days; ++d) {
        const QDate day = o.firstDay.addDays(d);
        const CapacityFigures f = sim.figures(day);
        for (const SizingChoice& choice : {SizingChoice{}, SizingChoice{24, 0.01},
                                           SizingChoice{40, 0.05}, SizingChoice{0, 0.2, 0, 0.5}}) {
            const Sizing s = sizeCapacity(f, choice);
            if (s.measuredBlocking > s.gos) {
                EXPECT_EQ(s.verdict, Verdict::NotEnough) << day.toString(Qt::ISODate).toStdString();
                blockedDays += choice.ports == 0 && choice.gos == kDefaultGos ? 1 : 0;
            }
        }
    }
    EXPECT_GT(blockedDays, 20) << "the sample server is short of answer ports on most days";
}

// A shared pool whose server takes the lowest free port: the top ports stay
// idle on a normal day, yet they are in service, as the server's count of
// lines available says.
TEST(CapacityAgainstTheSimulation, LowestFirstLeavesTopPortsIdleButInService) {
    tools::SampleOptions o = simulated(96, 0.6, 1);
    o.sharedPool = true;
    o.lowestFirst = true;
    const SimulatedDays sim(o);
    const CapacityFigures f = sim.figures(QDate(2026, 12, 2));
    EXPECT_LT(f.answerPorts + f.dialOutPorts, 96) << "some ports took no call";
    const Sizing s = sizeCapacity(f, {});
    EXPECT_EQ(s.ports, 96);
    EXPECT_EQ(s.portsFrom, PortsFrom::LineCounts);
    EXPECT_GT(*s.headroomPercent, 20.0);
    EXPECT_EQ(s.verdict, Verdict::Enough);
}

} // namespace
} // namespace tarrow::reports
