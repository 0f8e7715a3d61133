#include "store/rawportdata.h"
#include "store/workingdatabase.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

namespace tarrow::store {
namespace {

qint64 count(WorkingDatabase& wdb, const char* table) {
    SQLite::Statement q(wdb.db(), std::string("SELECT COUNT(*) FROM ") + table);
    q.executeStep();
    return q.getColumn(0).getInt64();
}

TEST(ConnectionString, NamesTheWorkingFile) {
    const QString connection = connectionString(QStringLiteral("/opt/tarrow"));
    EXPECT_EQ(connection, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                              QDir::toNativeSeparators(QStringLiteral("/opt/tarrow/PortData.mdb")));
    EXPECT_EQ(databasePathOf(connection), QStringLiteral("/opt/tarrow/PortData.mdb"));
    EXPECT_TRUE(databasePathOf(QStringLiteral("Provider=x")).isEmpty());
}

TEST(WorkingFile, CopiedFromTemplateWhenMissing) {
    testing::TempFolder program;
    program.writeTemplate();
    const QString data = program.file(QStringLiteral("data"));
    EXPECT_TRUE(prepareWorkingFile(program.path(), data).ok());
    EXPECT_TRUE(QFile::exists(QDir(data).filePath(workingFileName())));

    WorkingDatabase wdb(connectionString(data));
    ASSERT_TRUE(wdb.open().ok());
    for (const char* table :
         {"RawPortData", "PortAvailability", "CallTraffic", "CallDistribution", "PortTimeUsage"})
        EXPECT_EQ(count(wdb, table), 0) << table;
}

TEST(WorkingFile, ExistingFileIsKeptAndMadeWritable) {
    testing::TempFolder dir;
    dir.writeTemplate();
    ASSERT_TRUE(QFile::copy(dir.file(templateFileName()), dir.file(workingFileName())));
    {
        WorkingDatabase wdb(connectionString(dir.path()));
        ASSERT_TRUE(wdb.open().ok());
        wdb.db().exec("INSERT INTO PortAvailability VALUES (1, 5, 2)");
    }
    QFile::setPermissions(dir.file(workingFileName()),
                          QFileDevice::ReadOwner | QFileDevice::ReadUser);
    EXPECT_TRUE(prepareWorkingFile(dir.path(), dir.path()).ok());
    EXPECT_TRUE(QFile::permissions(dir.file(workingFileName())) & QFileDevice::WriteOwner);
    WorkingDatabase wdb(connectionString(dir.path()));
    ASSERT_TRUE(wdb.open().ok());
    EXPECT_EQ(count(wdb, "PortAvailability"), 1) << "result tables survive a restart";
}

TEST(WorkingFile, ALinkedFileIsNotMadeWritableThroughTheLink) {
    testing::TempFolder dir;
    const QString elsewhere = dir.writeTemplate(dir.file(QStringLiteral("elsewhere")));
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadUser;
    QFile::setPermissions(elsewhere, readOnly);
    ASSERT_TRUE(QFile::link(elsewhere, dir.file(workingFileName())));
    (void)prepareWorkingFile(dir.path(), dir.path());
    EXPECT_FALSE(QFile::permissions(elsewhere) & QFileDevice::WriteOwner);
}

TEST(WorkingFile, MissingTemplateIsReported) {
    testing::TempFolder dir;
    const QString error = prepareWorkingFile(dir.path(), dir.path()).error();
    EXPECT_TRUE(error.contains(QStringLiteral("PortDataClean.mdb")));
    WorkingDatabase wdb(connectionString(dir.path()));
    EXPECT_FALSE(wdb.open().ok());
    EXPECT_FALSE(QFile::exists(dir.file(workingFileName()))) << "no empty file is made up";
    const QStringList messages = ClearDatabases(wdb);
    ASSERT_EQ(messages.size(), 4);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error in ClearDatabases: ")));
}

class WorkingDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.writeTemplate();
        ASSERT_TRUE(prepareWorkingFile(dir.path(), dir.path()).ok());
        wdb.setConnectionString(connectionString(dir.path()));
        ASSERT_TRUE(wdb.open().ok());
    }
    testing::TempFolder dir;
    WorkingDatabase wdb;
};

TEST_F(WorkingDatabaseTest, ClearDatabasesEmptiesAllFiveTables) {
    wdb.db().exec("INSERT INTO RawPortData (Port, CallType, StartTime, LinesAvailableToTakeCalls,"
                  " LinesInUse, StartMinute) VALUES (1, 1, '2009-01-15 10:00:00', 1, 1, 600);"
                  "INSERT INTO PortAvailability VALUES (1, 5, 2);"
                  "INSERT INTO CallTraffic VALUES (1, 1, 1, 1, 1, 1);"
                  "INSERT INTO CallDistribution VALUES (1, 1, 1, 1, 1, 1);"
                  "INSERT INTO PortTimeUsage VALUES (1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);");
    EXPECT_TRUE(ClearDatabases(wdb).isEmpty());
    for (const char* table :
         {"RawPortData", "PortAvailability", "CallTraffic", "CallDistribution", "PortTimeUsage"})
        EXPECT_EQ(count(wdb, table), 0) << table;
}

TEST_F(WorkingDatabaseTest, ClearDatabasesReportsEachFailingTableAndGoesOn) {
    wdb.db().exec(
        "DROP TABLE CallTraffic; INSERT INTO PortTimeUsage VALUES (1,1,1,1,1,1,1,1,1,1,1);");
    const QStringList messages = ClearDatabases(wdb);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Error in ClearDatabases: no such table: CallTraffic"));
    EXPECT_EQ(count(wdb, "PortTimeUsage"), 0) << "the statements after the failure still run";
}

TEST_F(WorkingDatabaseTest, RowsAppendInOrderAndAFailureWritesNothing) {
    std::vector<RawRow> rows(3);
    rows[0].port = 1;
    rows[0].callType = Inbound;
    rows[0].closed = true;
    rows[0].seconds = 40000; // durations beyond 16 bits are kept
    rows[1].port = 2;
    rows[2].port = 3;
    ASSERT_TRUE(appendRawRows(wdb, 0, rows).ok());
    SQLite::Statement q(wdb.db(),
                        "SELECT Port, Seconds, EndTime IS NULL FROM RawPortData ORDER BY rowid");
    std::vector<int> ports;
    while (q.executeStep())
        ports.push_back(q.getColumn(0).getInt());
    EXPECT_EQ(ports, (std::vector<int>{1, 2, 3}));

    wdb.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON RawPortData WHEN NEW.Port = 9 "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    rows[2].port = 9;
    EXPECT_FALSE(appendRawRows(wdb, 0, rows).ok());
    EXPECT_EQ(count(wdb, "RawPortData"), 3) << "a failed file leaves no partial rows";
}

} // namespace
} // namespace tarrow::store
