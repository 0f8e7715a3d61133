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
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Enough ports: 30 ports carry ")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Busy hour: 15:00\u201316:00")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Busy-hour traffic: 1.049 E")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Calls without a recorded end: 1")));

    const testing::ProcessRun json = testing::runTarrow(
        day + QStringList{QStringLiteral("--json"), QStringLiteral("--ports"), QStringLiteral("2"),
                          QStringLiteral("--gos"), QStringLiteral("0.2")});
    EXPECT_EQ(json.code, 0);
    QJsonParseError error;
    const QJsonObject figures = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    EXPECT_EQ(figures[QStringLiteral("day")].toString(), QStringLiteral("2009-03-07"));
    EXPECT_EQ(figures[QStringLiteral("portsInService")].toInt(), 2);
    EXPECT_EQ(figures[QStringLiteral("portsInServiceFrom")].toString(), QStringLiteral("user"));
    EXPECT_DOUBLE_EQ(figures[QStringLiteral("gos")].toDouble(), 0.2);
    // The same figures as the golden Capacity.json, which the default choice wrote.
    const QJsonObject golden =
        QJsonDocument::fromJson(bytesOf(kGolden + QStringLiteral("/day/Capacity.json"))).object();
    EXPECT_EQ(figures[QStringLiteral("busyHour")], golden[QStringLiteral("busyHour")]);
    EXPECT_EQ(figures[QStringLiteral("allPortsBusy")], golden[QStringLiteral("allPortsBusy")]);

    for (const QStringList& bad : {QStringList{QStringLiteral("--gos"), QStringLiteral("0.5")},
                                   QStringList{QStringLiteral("--gos"), QStringLiteral("1%")},
                                   QStringList{QStringLiteral("--ports"), QStringLiteral("-1")},
                                   QStringList{QStringLiteral("--ports"), QStringLiteral("3x")}}) {
        const testing::ProcessRun run = testing::runTarrow(day + bad);
        EXPECT_EQ(run.code, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
    QStringList noCalls = day;
    noCalls[4] = QStringLiteral("2009-03-20");
    EXPECT_EQ(testing::runTarrow(noCalls).code, 1) << "a day without logs holds no call";
}

} // namespace
} // namespace tarrow::app
