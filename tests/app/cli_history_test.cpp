// tarrow history: its files, what it prints, and its exit codes.
#include "app/clifixture.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::logLine;
using testing::ProcessRun;

TEST_F(CliTest, HistoryWritesItsFilesAndSaysWhatItFound) {
    const QString logs = QStringLiteral(TARROW_TEST_DATA "/golden/logs");
    const QString out = dir.file(QStringLiteral("history"));
    const QStringList history = {QStringLiteral("history"), QStringLiteral("--logs"), logs,
                                 QStringLiteral("--out"), out};
    const ProcessRun run = tarrow(history);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("2009-03-07  busy hour 12:15 0.989 E")))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.out.startsWith(QStringLiteral("No trend yet: 3 days sized, at least 10 needed\n")))
        << "the status first";
    EXPECT_TRUE(run.out.contains(QStringLiteral("Days: 3")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Trend: not enough days for a trend")));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    QFile csv(QDir(out).filePath(QStringLiteral("History.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().trimmed().split('\n');
    ASSERT_EQ(rows.size(), 4);
    // The counts "tarrow load" gives for the day, and its Capacity.json busy hour.
    EXPECT_TRUE(rows[2].startsWith("2009-03-07,193,31,30,13,9,12:15,0.9892,5,"))
        << rows[2].constData();
    QFile json(QDir(out).filePath(QStringLiteral("History.json")));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QJsonDocument::fromJson(json.readAll()).object().value(QStringLiteral("days")).toInt(), 3);

    const auto with = [&history](const QStringList& more) { return tarrow(history + more); };
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2009-03-09"), QStringLiteral("--to"),
                    QStringLiteral("2009-03-01")})
                  .code,
              2);
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("March")}).code, 2);
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2010-01-01")}).code, 1)
        << "no day with calls in the range";
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2009-03-07"), QStringLiteral("--to"),
                    QStringLiteral("2009-03-07")})
                  .code,
              0);

    EXPECT_EQ(with({QStringLiteral("--retry-share"), QStringLiteral("0.5")}).code, 0);
    EXPECT_EQ(with({QStringLiteral("--retry-share"), QStringLiteral("1")}).code, 2);

    // A day that cannot be read is named on stderr; the others still count.
    // A folder whose only days are skipped cannot be read: exit 2.
    const QString broken = dir.file(QStringLiteral("broken"));
    for (const char* name : {"data_qnhcmgr_20090307.csv", "data_qnhcmgr_20090310.csv"})
        ASSERT_TRUE(QDir().mkpath(broken) &&
                    QFile::copy(logs + QStringLiteral("/data_qnhcmgr_20090307.csv"),
                                broken + QLatin1Char('/') + QLatin1String(name)));
    {
        QFile big(broken + QStringLiteral("/data_qnhcmgr_20090310.csv"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(1'000'001, '\n'));
    }
    const QStringList brokenRun = {QStringLiteral("history"), QStringLiteral("--logs"), broken,
                                   QStringLiteral("--out"), out};
    const ProcessRun partly = tarrow(brokenRun);
    EXPECT_EQ(partly.code, 0) << partly.err.toStdString();
    EXPECT_EQ(partly.err, QStringLiteral("Skipped 2009-03-10: data_qnhcmgr_20090310.csv holds "
                                         "more than 1,000,000 lines\n"));
    const ProcessRun none =
        tarrow(brokenRun + QStringList{QStringLiteral("--from"), QStringLiteral("2009-03-10")});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.err.contains(QStringLiteral("Skipped 2009-03-10:"))) << none.err.toStdString();

    // With --data-dir the day cache goes there, and the day loaded there stays.
    const QStringList data{QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))};
    ASSERT_EQ(tarrow(QStringList{QStringLiteral("load"), QStringLiteral("--logs"), logs,
                                 QStringLiteral("--day"), QStringLiteral("2009-03-07")} +
                     data)
                  .code,
              0);
    const auto storedRows = [this] {
        SQLite::Database db(dir.file(QStringLiteral("data/PortData.mdb")).toStdString());
        return db.execAndGet("SELECT COUNT(*) FROM RawPortData").getInt64();
    };
    const qint64 loaded = storedRows();
    EXPECT_GT(loaded, 0);
    EXPECT_EQ(with(data).code, 0);
    EXPECT_EQ(storedRows(), loaded);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("data/History.db"))));
}

} // namespace
} // namespace tarrow::app
