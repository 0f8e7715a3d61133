// tarrow check: its exit codes on simulated servers, and the metrics file.
#include "app/clifixture.h"
#include "samplegenerator.h"
#include "support/smalldisk.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::ProcessRun;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CheckTest : public CliTest {
protected:
    // Days from the sample server: `days` days from 1 October 2026, calls at
    // the busiest hours offered at `load` of the 24 ports, growing by
    // `growth` % every 30 days.
    QString logs(const char* name, int days, double load, double growth) {
        tools::SampleOptions o;
        o.firstDay = QDate(2026, 10, 1);
        o.days = days;
        o.callsPerDay = 1500;
        o.malformedLines = false;
        o.peakLoad = load;
        o.growthPercent = growth;
        const QString folder = dir.file(QLatin1String(name));
        EXPECT_TRUE(tools::writeSampleLogs(folder, o).isEmpty());
        return folder;
    }
    ProcessRun check(const QString& folder, const QStringList& more = {}) {
        return tarrow(QStringList{QStringLiteral("check"), QStringLiteral("--logs"), folder,
                                  QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))} +
                      more);
    }
};

TEST_F(CheckTest, EachStateFromItsDays) {
    const QString light = logs("light", 2, 0.35, 0);
    const QString short_ = logs("short", 1, 1.3, 0);
    const QString growing = logs("growing", 30, 0.25, 30);
    const QString empty = dir.file(QStringLiteral("empty"));
    dir.write(QStringLiteral("empty/notes.txt"), "no logs here");
    const QStringList ports30{QStringLiteral("--ports"), QStringLiteral("30")};
    const QStringList last30{QStringLiteral("--days"), QStringLiteral("30")};
    const struct {
        QString folder;
        QStringList options;
        int code;
        const char* starts;
    } cases[] = {
        {light, ports30, 0, "TARROW CAPACITY OK - "},
        // Enough ports for the demand, but the server's own counts say callers
        // met all ports busy above the target: evidence first.
        {light, ports30 + QStringList{QStringLiteral("--day"), QStringLiteral("2026-10-01")}, 2,
         "TARROW CAPACITY CRITICAL - 45.8 % of what 30 ports carry at 1 % on 2026-10-01, but "
         "callers met all ports busy"},
        {light, {}, 2, "TARROW CAPACITY CRITICAL - "}, // the 16 answer ports fall short
        {short_, ports30, 2, "TARROW CAPACITY CRITICAL - "},
        {growing, last30 + QStringList{QStringLiteral("--ports"), QStringLiteral("20")}, 1,
         "TARROW CAPACITY WARNING - "},
        {growing, last30 + QStringList{QStringLiteral("--ports"), QStringLiteral("24")}, 0,
         "TARROW CAPACITY OK - "},
        {empty, {}, 3, "TARROW CAPACITY UNKNOWN - no log files"},
        {dir.file(QStringLiteral("missing")), {}, 3, "TARROW CAPACITY UNKNOWN - "},
        {light,
         {QStringLiteral("--day"), QStringLiteral("2026-12-24")},
         3,
         "TARROW CAPACITY UNKNOWN - no calls on 2026-12-24"},
        {light,
         {QStringLiteral("--warning"), QStringLiteral("96")},
         3,
         "TARROW CAPACITY UNKNOWN - --warning is above --critical."},
        {light,
         {QStringLiteral("--critical"), QStringLiteral("101")},
         3,
         "TARROW CAPACITY UNKNOWN"},
        {light, {QStringLiteral("--days"), QStringLiteral("0")}, 3, "TARROW CAPACITY UNKNOWN"},
        {light, {QStringLiteral("--json")}, 3, "TARROW CAPACITY UNKNOWN - check takes no --json."},
        {light, last30 + QStringList{QStringLiteral("--day"), QStringLiteral("2026-10-01")}, 3,
         "TARROW CAPACITY UNKNOWN"},
    };
    for (const auto& c : cases) {
        const ProcessRun run = check(c.folder, c.options);
        EXPECT_EQ(run.code, c.code) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QLatin1String(c.starts))) << run.out.toStdString();
        EXPECT_EQ(run.out.count(QLatin1Char('\n')), 1) << "one status line";
    }
    const ProcessRun warned =
        check(growing, last30 + QStringList{QStringLiteral("--ports"), QStringLiteral("20")});
    EXPECT_TRUE(warned.out.contains(QStringLiteral("ports run out about 2027-")))
        << warned.out.toStdString();
    EXPECT_TRUE(warned.out.contains(QStringLiteral("'days_to_run_out'=")));
}

TEST_F(CheckTest, TheMetricsFileIsReplacedWholeOrNotAtAll) {
    const QString light = logs("light", 2, 0.35, 0);
    testing::SmallDisk disk(32);
    if (!disk.ok())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString metrics = disk.file(QStringLiteral("tarrow.prom"));
    const QStringList ports30{QStringLiteral("--ports"), QStringLiteral("30")};
    ASSERT_EQ(check(light, ports30 + QStringList{QStringLiteral("--metrics"), metrics}).code, 0);
    const QByteArray first = contents(metrics);
    EXPECT_TRUE(first.contains("# TYPE tarrow_capacity_erlangs gauge\n")) << first.constData();
    EXPECT_TRUE(first.contains("tarrow_last_success_timestamp_seconds "));
    if (const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
        !promtool.isEmpty()) {
        QProcess lint;
        lint.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
        lint.write(first);
        lint.closeWriteChannel();
        ASSERT_TRUE(lint.waitForFinished(30000));
        EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardOutput().constData();
    }
    // The disk full: the run fails with 2 and the old file stays whole.
    {
        QFile filler(disk.file(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(1024, 'x')) == 1024 && filler.flush()) {
        }
    }
    const ProcessRun full =
        check(light, ports30 + QStringList{QStringLiteral("--metrics"), metrics});
    EXPECT_EQ(full.code, 2);
    EXPECT_TRUE(full.err.contains(QStringLiteral("tarrow.prom"))) << full.err.toStdString();
    EXPECT_EQ(contents(metrics), first);
    // A folder in the file's place is refused as every save refuses it.
    const ProcessRun folder =
        check(light, ports30 + QStringList{QStringLiteral("--metrics"), dir.path()});
    EXPECT_EQ(folder.code, 2);
}

} // namespace
} // namespace tarrow::app
