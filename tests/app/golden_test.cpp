// Every file `tarrow report` and `tarrow load --raw-csv` write for a small
// fixture day, compared byte for byte with the files kept under
// tests/data/golden/. A change of any figure, header, order or line ending
// shows up here.
#include "support/tarrowprocess.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

const QString kGolden = QStringLiteral(TARROW_TEST_DATA "/golden");

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

int run(const QStringList& args) {
    return testing::runTarrow(args).code;
}

// Compares every golden file of one folder with the file of the same name in out.
void expectSameFiles(const QString& goldenFolder, const QString& out) {
    const QStringList names = QDir(goldenFolder).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << goldenFolder.toStdString();
    for (const QString& name : names)
        EXPECT_TRUE(bytesOf(QDir(goldenFolder).filePath(name)) == bytesOf(QDir(out).filePath(name)))
            << name.toStdString() << " differs from its golden copy";
}

class GoldenFiles : public ::testing::Test {
protected:
    QStringList day(const QString& out) const {
        return {QStringLiteral("--logs"),     kGolden + QStringLiteral("/logs"),
                QStringLiteral("--day"),      QStringLiteral("2009-03-07"),
                QStringLiteral("--data-dir"), dir.file(QStringLiteral("data")),
                QStringLiteral("--out"),      out,
                QStringLiteral("--charts"),   QStringLiteral("none")};
    }
    testing::TempFolder dir;
};

TEST_F(GoldenFiles, WholeDayReportAndRawRows) {
    const QString out = dir.file(QStringLiteral("day"));
    ASSERT_EQ(run(QStringList{QStringLiteral("report")} + day(out)), 0);
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    QStringList golden = QDir(kGolden + QStringLiteral("/day")).entryList(QDir::Files, QDir::Name);
    golden.removeAll(QStringLiteral("RawPortData.csv"));
    EXPECT_EQ(written, golden) << "the files written are exactly the golden ones";
    ASSERT_EQ(
        run({QStringLiteral("load"), QStringLiteral("--logs"), kGolden + QStringLiteral("/logs"),
             QStringLiteral("--day"), QStringLiteral("2009-03-07"), QStringLiteral("--data-dir"),
             dir.file(QStringLiteral("data")), QStringLiteral("--raw-csv"),
             QDir(out).filePath(QStringLiteral("RawPortData.csv"))}),
        0);
    expectSameFiles(kGolden + QStringLiteral("/day"), out);
}

TEST_F(GoldenFiles, PerPortReportsOverARange) {
    const QString out = dir.file(QStringLiteral("range"));
    ASSERT_EQ(
        run(QStringList{QStringLiteral("report"), QStringLiteral("--from"), QStringLiteral("09:30"),
                        QStringLiteral("--to"), QStringLiteral("17:45:30")} +
            day(out)),
        0);
    expectSameFiles(kGolden + QStringLiteral("/range"), out);
}

TEST_F(GoldenFiles, CapacityCommandPrintsTheVerdictOrJson) {
    const QStringList day{QStringLiteral("capacity"),        QStringLiteral("--logs"),
                          kGolden + QStringLiteral("/logs"), QStringLiteral("--day"),
                          QStringLiteral("2009-03-07"),      QStringLiteral("--data-dir"),
                          dir.file(QStringLiteral("data"))};
    const testing::ProcessRun text = testing::runTarrow(day);
    EXPECT_EQ(text.code, 0) << text.err.toStdString();
    const QStringList lines = text.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Capacity for 2009-03-07"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Enough ports: 20 answer ports carry ")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Busy hour: 12:15\u201313:15")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Carried traffic: 0.989 E")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Answer / dial-out ports: 20 / 10")));
    // The leg left open in the day's file ends in the next day's.
    EXPECT_TRUE(lines.contains(QStringLiteral("Calls without a recorded end: 0")));

    const testing::ProcessRun json = testing::runTarrow(
        day + QStringList{QStringLiteral("--json"), QStringLiteral("--ports"), QStringLiteral("2"),
                          QStringLiteral("--gos"), QStringLiteral("0.2")});
    EXPECT_EQ(json.code, 0);
    QJsonParseError error;
    const QJsonObject figures = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    EXPECT_EQ(figures[QStringLiteral("day")].toString(), QStringLiteral("2009-03-07"));
    EXPECT_EQ(figures[QStringLiteral("portsInService")].toInt(), 2);
    EXPECT_EQ(figures[QStringLiteral("portsFrom")].toString(), QStringLiteral("user"));
    EXPECT_DOUBLE_EQ(figures[QStringLiteral("gos")].toDouble(), 0.2);
    // The same figures as the golden Capacity.json, which the default choice wrote.
    const QJsonObject golden =
        QJsonDocument::fromJson(bytesOf(kGolden + QStringLiteral("/day/Capacity.json"))).object();
    EXPECT_EQ(figures[QStringLiteral("busyHour")], golden[QStringLiteral("busyHour")]);
    EXPECT_EQ(figures[QStringLiteral("allPortsBusy")], golden[QStringLiteral("allPortsBusy")]);

    for (const QStringList& bad :
         {QStringList{QStringLiteral("--gos"), QStringLiteral("0.5")},
          QStringList{QStringLiteral("--gos"), QStringLiteral("1%")},
          QStringList{QStringLiteral("--ports"), QStringLiteral("-1")},
          QStringList{QStringLiteral("--gos"), QStringLiteral("nan")},
          QStringList{QStringLiteral("--gos"), QStringLiteral("inf")},
          QStringList{QStringLiteral("--gos"), QStringLiteral("0.0009")},
          QStringList{QStringLiteral("--ports"), QStringLiteral("-1")},
          QStringList{QStringLiteral("--ports"), QStringLiteral("32769")},
          QStringList{QStringLiteral("--ports"), QStringLiteral("3x")},
          QStringList{QStringLiteral("--retry-share"), QStringLiteral("0.96")},
          QStringList{QStringLiteral("--retry-share"), QStringLiteral("-0.1")},
          QStringList{QStringLiteral("--retry-share"), QStringLiteral("nan")}}) {
        const testing::ProcessRun run = testing::runTarrow(day + bad);
        EXPECT_EQ(run.code, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    }
    QStringList noCalls = day;
    noCalls[4] = QStringLiteral("2009-03-20");
    EXPECT_EQ(testing::runTarrow(noCalls).code, 1) << "a day without logs holds no call";
}

// Standard output ends every line with LF alone, on every sub-command, even
// where the window's messages end theirs with CR LF.
TEST_F(GoldenFiles, StandardOutputHasNoCarriageReturn) {
    const QString logs = kGolden + QStringLiteral("/logs");
    const QString data = dir.file(QStringLiteral("data"));
    const QStringList day{QStringLiteral("--logs"),     logs,
                          QStringLiteral("--day"),      QStringLiteral("2009-03-07"),
                          QStringLiteral("--data-dir"), data};
    const QList<QStringList> runs{
        {QStringLiteral("--help")},
        {QStringLiteral("--version")},
        {QStringLiteral("days"), QStringLiteral("--logs"), logs},
        QStringList{QStringLiteral("load")} + day,
        QStringList{QStringLiteral("capacity")} + day,
        QStringList{QStringLiteral("capacity"), QStringLiteral("--json")} + day,
        QStringList{QStringLiteral("report"), QStringLiteral("--charts"), QStringLiteral("none"),
                    QStringLiteral("--out"), dir.file(QStringLiteral("out"))} +
            day,
        {QStringLiteral("history"), QStringLiteral("--logs"), logs, QStringLiteral("--out"),
         dir.file(QStringLiteral("history")), QStringLiteral("--data-dir"), data},
        {QStringLiteral("erlang"), QStringLiteral("--ports"), QStringLiteral("20"),
         QStringLiteral("--gos"), QStringLiteral("0.01")}};
    for (const QStringList& args : runs) {
        const testing::ProcessRun run = testing::runTarrow(args);
        EXPECT_EQ(run.code, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.out.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.out.contains(QLatin1Char('\r')))
            << args.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
} // namespace tarrow::app
