#include "app/reportfiles.h"
#include "app/startup.h"
#include "store/workingdatabase.h"
#include "support/reportfixture.h"
#include "support/tarrowprocess.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::logLine;

// Damage inside the working database, wherever it is found, sets the file
// aside and puts a fresh one in its place; the work goes on with the new one.

TEST(DamageRecovery, FoundWhileLoadingTheDayIsLoadedIntoAFreshFile) {
    testing::TempFolder dir;
    dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"),
              logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12) +
                  logLine("2009-01-15 10:17:05", "1163", "CALL DISCONNECT", "Port7", 2, 13));
    const QStringList load = {QStringLiteral("load"),           QStringLiteral("--logs"),
                              dir.file(QStringLiteral("logs")), QStringLiteral("--day"),
                              QStringLiteral("2009-01-15"),     QStringLiteral("--data-dir"),
                              dir.file(QStringLiteral("data"))};
    ASSERT_EQ(testing::runTarrow(load).code, 0);
    // Start-up only empties RawPortData; the load empties the result tables.
    testing::damageTable(dir.file(QStringLiteral("data/PortData.mdb")), "PortAvailability");

    const testing::ProcessRun again = testing::runTarrow(load);
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains(QStringLiteral("kept as \"PortData.mdb.bad\"")))
        << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QStringLiteral("Inbound Calls=1"))) << again.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("data/PortData.mdb.bad"))));

    const testing::ProcessRun third = testing::runTarrow(load);
    EXPECT_EQ(third.code, 0);
    EXPECT_TRUE(third.err.isEmpty()) << third.err.toStdString();
}

TEST(DamageRecovery, FoundByAReportIsReplacedAndTheNextLoadWorks) {
    testing::WorkingDatabaseFixture f;
    f.addRow(3, 1, 600, 1, 10, 610, 600);
    f.state.database.close();
    testing::damageTable(f.dir.file(QStringLiteral("PortData.mdb")), "PortAvailability");
    ASSERT_TRUE(f.state.database.open().ok()) << "opening does not read the table";

    ReportFilesRequest request;
    request.outFolder = f.dir.file(QStringLiteral("out"));
    request.chartFormat = ChartFormat::None;
    const ReportFilesOutcome outcome = writeReportFiles(f.state, request, {});
    ASSERT_FALSE(outcome.errors.isEmpty());
    EXPECT_TRUE(outcome.errors.constFirst().contains(QStringLiteral("malformed")))
        << outcome.errors.constFirst().toStdString();
    ASSERT_TRUE(f.state.database.foundDamage());

    ASSERT_TRUE(replaceDamagedDatabase(f.state).ok());
    EXPECT_TRUE(QFile::exists(f.dir.file(QStringLiteral("PortData.mdb.bad"))));
    EXPECT_TRUE(f.state.day.rows.empty()) << "the day in the damaged file is gone";
    EXPECT_FALSE(f.state.database.foundDamage());
    f.exec("INSERT INTO PortAvailability VALUES (1, 5, 2)");
    EXPECT_EQ(f.count("PortAvailability"), 1);
}

} // namespace
} // namespace tarrow::app
