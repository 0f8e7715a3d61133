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
    EXPECT_TRUE(prepareWorkingFile(program.path(), data).isEmpty());
    EXPECT_TRUE(QFile::exists(QDir(data).filePath(workingFileName())));

    WorkingDatabase wdb(connectionString(data));
    ASSERT_TRUE(wdb.open().isEmpty());
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
        ASSERT_TRUE(wdb.open().isEmpty());
        wdb.db().exec("INSERT INTO PortAvailability VALUES (1, 5, 2)");
    }
    QFile::setPermissions(dir.file(workingFileName()),
                          QFileDevice::ReadOwner | QFileDevice::ReadUser);
    EXPECT_TRUE(prepareWorkingFile(dir.path(), dir.path()).isEmpty());
    EXPECT_TRUE(QFile::permissions(dir.file(workingFileName())) & QFileDevice::WriteOwner);
    WorkingDatabase wdb(connectionString(dir.path()));
    ASSERT_TRUE(wdb.open().isEmpty());
    EXPECT_EQ(count(wdb, "PortAvailability"), 1) << "result tables survive a restart";
}

TEST(WorkingFile, MissingTemplateIsReported) {
    testing::TempFolder dir;
    const QString error = prepareWorkingFile(dir.path(), dir.path());
    EXPECT_TRUE(error.contains(QStringLiteral("PortDataClean.mdb")));
    WorkingDatabase wdb(connectionString(dir.path()));
    EXPECT_FALSE(wdb.open().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file(workingFileName()))) << "no empty file is made up";
    const QStringList messages = ClearDatabases(wdb);
    ASSERT_EQ(messages.size(), 4);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error in ClearDatabases: ")));
}

class WorkingDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.writeTemplate();
        ASSERT_TRUE(prepareWorkingFile(dir.path(), dir.path()).isEmpty());
        wdb.setConnectionString(connectionString(dir.path()));
        ASSERT_TRUE(wdb.open().isEmpty());
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
    ASSERT_TRUE(appendRawRows(wdb, rows).isEmpty());
    SQLite::Statement q(wdb.db(),
                        "SELECT Port, Seconds, EndTime IS NULL FROM RawPortData ORDER BY rowid");
    std::vector<int> ports;
    while (q.executeStep())
        ports.push_back(q.getColumn(0).getInt());
    EXPECT_EQ(ports, (std::vector<int>{1, 2, 3}));

    wdb.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON RawPortData WHEN NEW.Port = 9 "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    rows[2].port = 9;
    EXPECT_FALSE(appendRawRows(wdb, rows).isEmpty());
    EXPECT_EQ(count(wdb, "RawPortData"), 3) << "a failed file leaves no partial rows";
}

TEST_F(WorkingDatabaseTest, FiguresInMemoryFollowEveryChangeOfRawPortData) {
    std::vector<RawRow> rows(3);
    for (int i = 0; i < 3; ++i) {
        rows[static_cast<std::size_t>(i)].port = static_cast<std::int16_t>(i + 1);
        rows[static_cast<std::size_t>(i)].callType = Inbound;
    }
    // As at start-up: emptied, so the rows a load appends are kept in memory.
    ASSERT_TRUE(emptyRawPortData(wdb).isEmpty());
    ASSERT_TRUE(appendRawRows(wdb, rows).isEmpty());
    EXPECT_TRUE(wdb.rawFiguresCurrent());
    ASSERT_EQ(wdb.rawFigures().size(), 3u);
    EXPECT_EQ(wdb.rawFigures()[2].port, 3);

    const auto ports = [this] {
        std::vector<int> seen;
        for (const RawFigures& f : wdb.rawFigures())
            seen.push_back(f.port);
        return seen;
    };
    const char* insert =
        "INSERT INTO RawPortData (Port, CallType, StartTime, LinesAvailableToTakeCalls,"
        " LinesInUse, StartMinute) VALUES (%d, 1, '2009-01-15 10:00:00', 1, 1, 600)";
    char sql[256];
    std::snprintf(sql, sizeof sql, insert, 9);
    wdb.db().exec(sql);
    EXPECT_EQ(ports(), (std::vector<int>{1, 2, 3, 9}));
    wdb.db().exec("UPDATE RawPortData SET Port = 7 WHERE Port = 9");
    EXPECT_EQ(ports(), (std::vector<int>{1, 2, 3, 7}));
    // Emptying the whole table and refilling it with as many rows.
    wdb.db().exec("DELETE FROM RawPortData");
    for (int port : {11, 12, 13, 14}) {
        std::snprintf(sql, sizeof sql, insert, port);
        wdb.db().exec(sql);
    }
    EXPECT_EQ(ports(), (std::vector<int>{11, 12, 13, 14}));
    EXPECT_TRUE(emptyRawPortData(wdb).isEmpty());
    EXPECT_TRUE(wdb.rawFigures().empty());
}

} // namespace
} // namespace tarrow::store
