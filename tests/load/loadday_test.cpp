#include "app/startup.h"
#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"
#include "serverprobe/registryapi.h"
#include "store/rawportdata.h"
#include "support/reportfixture.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

namespace tarrow::load {
namespace {

using namespace logparse;

using testing::logLine;

// A working database in a temporary folder and a log folder beside it.
class LoadDayTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useTempFolder(state, dir);
        serverprobe::MapRegistry registry;
        ASSERT_TRUE(app::startUp(state, registry).isEmpty());
    }

    QString logs() const { return dir.file(QStringLiteral("logs")); }
    void writeLog(const char* date, const QByteArray& bytes) const {
        dir.write(QStringLiteral("logs/data_qnhcmgr_%1.csv").arg(QLatin1String(date)), bytes);
    }
    LoadOutcome load(const QDate& day) {
        return app::loadDay(state, logs(), day, dayEntryText(day, state.locale));
    }
    qint64 rows(const char* where = "1") {
        SQLite::Statement q(state.database.db(),
                            std::string("SELECT COUNT(*) FROM RawPortData WHERE ") + where);
        q.executeStep();
        return q.getColumn(0).getInt64();
    }

    testing::TempFolder dir;
    load::AppState state;
};

TEST_F(LoadDayTest, ParsesTheDayAndItsNeighboursOnly) {
    // Calls just across midnight sit in the neighbouring days' files.
    writeLog("20090114", logLine("2009-01-15 00:00:30", "1162", "NEW CALL", "Port1", 1, 9) +
                             logLine("2009-01-14 12:00:00", "1162", "NEW CALL", "Port1", 1, 9));
    writeLog("20090115",
             logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8) +
                 logLine("2009-01-15 10:00:00", "30300", "MWI DIAL OUT", "Port30", 3, 7));
    writeLog("20090116", logLine("2009-01-15 23:59:00", "1165", "TRAP DIAL OUT", "Port3", 1, 9));
    writeLog("20090117", logLine("2009-01-15 23:59:30", "1162", "NEW CALL", "Port4", 1, 9));

    const LoadOutcome outcome = load(QDate(2009, 1, 15));
    EXPECT_TRUE(state.day.problems.isEmpty());
    EXPECT_EQ(outcome.message,
              QStringLiteral("Call information found in logs for 1/15/2009 Thursday\r\n"
                             "Inbound Calls=2\r\nMWI Dialouts=1\r\nNotification Dialouts=0\r\n"
                             "TRAP Dialouts=1\r\nAMIS Dialouts=0\r\n"));
    EXPECT_EQ(rows(), 4);
    // The loaded day holds the stored rows, in stored order.
    SQLite::Statement stored(state.database.db(),
                             "SELECT Port, CallType, StartMinute FROM RawPortData ORDER BY rowid");
    for (const store::RawRow& row : state.day.rows) {
        ASSERT_TRUE(stored.executeStep());
        EXPECT_EQ(row.port, stored.getColumn(0).getInt());
        EXPECT_EQ(row.callType, stored.getColumn(1).getInt());
        EXPECT_EQ(row.startMinute(), stored.getColumn(2).getInt());
    }
    EXPECT_FALSE(stored.executeStep());
    EXPECT_EQ(state.day.peakPort, 30);
    EXPECT_EQ(state.day.dataDate, QDateTime(QDate(2009, 1, 15), QTime(23, 59, 0)));

    // Loading again starts from an empty database and fresh counters.
    const LoadOutcome again = load(QDate(2009, 1, 15));
    EXPECT_EQ(again.message, outcome.message);
    EXPECT_EQ(rows(), 4);
    // The peaks never fall, even on a day with lower ports.
    (void)load(QDate(2009, 1, 14));
    EXPECT_EQ(state.day.peakPort, 30);
}

TEST_F(LoadDayTest, DayWithoutCallsEmptiesEverything) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    writeLog("20090120", logLine("2009-01-20 10:00:00", "1163", "CALL DISCONNECT", "Port2", 2, 8));
    (void)load(QDate(2009, 1, 15));
    state.database.db().exec("INSERT INTO PortAvailability VALUES (1, 2, 3)");
    const LoadOutcome outcome = load(QDate(2009, 1, 20));
    EXPECT_FALSE(outcome.foundCalls());
    EXPECT_EQ(outcome.message, noDataMessage());
    EXPECT_EQ(rows(), 0);
    SQLite::Statement q(state.database.db(), "SELECT COUNT(*) FROM PortAvailability");
    q.executeStep();
    EXPECT_EQ(q.getColumn(0).getInt(), 0);
}

TEST_F(LoadDayTest, OversizedFileIsSkippedAndLaterFilesStillLoad) {
    writeLog("20090115a", QByteArray("x\n").repeated(1'000'001));
    writeLog("20090115b", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    const LoadOutcome outcome = load(QDate(2009, 1, 15));
    ASSERT_EQ(outcome.oversizedFiles.size(), 1);
    EXPECT_TRUE(outcome.oversizedFiles[0].endsWith(QStringLiteral("20090115a.csv")));
    EXPECT_TRUE(outcome.foundCalls());
    EXPECT_EQ(rows(), 1);
}

TEST_F(LoadDayTest, FileGoneSinceBrowsingIsReportedAndTheRestLoads) {
    writeLog("20090115b", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    // A dangling link stands for a file deleted after the folder was listed.
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("nowhere.csv")),
                            dir.file(QStringLiteral("logs/data_qnhcmgr_20090115a.csv"))));
    const LoadOutcome outcome = load(QDate(2009, 1, 15));
    EXPECT_EQ(state.day.problems.count(ProblemKind::UnreadableFile), 1);
    EXPECT_TRUE(
        state.day.problems.summary().contains(QStringLiteral("data_qnhcmgr_20090115a.csv")));
    EXPECT_EQ(rows(), 1);
}

TEST_F(LoadDayTest, UnreadableFolderChangesNothing) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    (void)load(QDate(2009, 1, 15));
    QDir(logs()).removeRecursively();
    const LoadOutcome outcome = load(QDate(2009, 1, 15));
    EXPECT_FALSE(outcome.folderError.isEmpty());
    EXPECT_EQ(rows(), 1) << "the loaded day stays";
    EXPECT_EQ(state.day.calls[0], 1);
}

TEST_F(LoadDayTest, ProblemSummaryNamesKindsCountsAndPlaces) {
    QByteArray bytes;
    for (int i = 0; i < 7; ++i)
        bytes += logLine("bad", "1162", "NEW CALL", "Port1", 1, 1);
    bytes += logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "P1", 1, 1);
    writeLog("20090115", bytes);
    const LoadOutcome outcome = load(QDate(2009, 1, 15));
    EXPECT_EQ(state.day.problems.summary(),
              QStringLiteral("Some log data could not be read and was skipped:\r\n"
                             "7 lines whose date and time could not be read "
                             "(data_qnhcmgr_20090115.csv:1, data_qnhcmgr_20090115.csv:2, "
                             "data_qnhcmgr_20090115.csv:3, data_qnhcmgr_20090115.csv:4, "
                             "data_qnhcmgr_20090115.csv:5, ...)\r\n"
                             "1 line whose port field is shorter than four characters "
                             "(data_qnhcmgr_20090115.csv:8)\r\n"));
}

TEST_F(LoadDayTest, RawCsvHasHeaderTimesAndNulls) {
    writeLog("20090115",
             logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12) +
                 logLine("2009-01-15 10:17:05", "1163", "CALL DISCONNECT", "Port7", 2, 13) +
                 logLine("2009-01-15 10:20:00", "1164", "AMIS DIAL OUT", "Port8", 3, 12));
    (void)load(QDate(2009, 1, 15));
    const QString csv = dir.file(QStringLiteral("raw.csv"));
    ASSERT_TRUE(store::writeTableCsv(state.database, QStringLiteral("RawPortData"), csv).ok());
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("Port,CallType,StartTime,LinesAvailableToTakeCalls,LinesInUse,StartMinute,"
                         "EndTime,Seconds,EndMinute\n"
                         "7,1,2009-01-15 10:15:30,12,3,615,2009-01-15 10:17:05,95,617\n"
                         "7,99,2009-01-15 10:17:05,13,2,617,,,\n"
                         "8,5,2009-01-15 10:20:00,12,3,620,,,\n"));
}

} // namespace
} // namespace tarrow::load

namespace tarrow::load {
namespace {

// Three files of one day, with calls, disconnects, open legs and lines that
// cannot be read in each.
QByteArray busyFile(int file) {
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i) {
        const int second = (file * 3000 + i) * 3 % 86000;
        const QByteArray at = testing::logTime("2009-01-15", second);
        const QByteArray port = "Port" + QByteArray::number(1 + (i * 7 + file) % 40);
        const char* text = i % 3 == 2   ? "CALL DISCONNECT"
                           : i % 5 == 0 ? "MWI DIAL OUT"
                                        : "NEW CALL";
        bytes += testing::logLine(at.constData(), i % 3 == 2 ? "1163" : "1162", text,
                                  port.constData(), i % 24, 24 - i % 24);
        if (i % 997 == 0)
            bytes += "not a date,HcMgr,1162,NEW CALL,Port1,1,1,0\r\n";
    }
    return bytes;
}

TEST_F(LoadDayTest, ThreadedLoadGivesTheRowsOfOneThread) {
    std::vector<store::RawRow> expected;
    ProblemLog problems;
    for (int f = 0; f < 3; ++f) {
        const QByteArray bytes = busyFile(f);
        writeLog(QStringLiteral("20090115%1").arg(QChar(u'a' + f)).toLatin1().constData(), bytes);
        ParseOptions options;
        options.chosenDay = civil::daysFromCivil(2009, 1, 15);
        options.zone = state.zone;
        options.fileName = QStringLiteral("data_qnhcmgr_20090115%1.csv").arg(QChar(u'a' + f));
        const ParseResult one = ParseLogFile(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), options);
        expected.insert(expected.end(), one.rows.begin(), one.rows.end());
        problems.merge(one.problems);
    }
    (void)load(QDate(2009, 1, 15));
    ASSERT_EQ(state.day.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const store::RawRow& a = state.day.rows[i];
        const store::RawRow& b = expected[i];
        ASSERT_TRUE(a.port == b.port && a.callType == b.callType &&
                    a.startSecond == b.startSecond && a.closed == b.closed &&
                    a.endSecond == b.endSecond && a.seconds == b.seconds)
            << "row " << i;
    }
    EXPECT_EQ(rows(), static_cast<qint64>(expected.size()));
    EXPECT_EQ(state.day.problems.summary(), problems.summary());
    EXPECT_FALSE(state.day.problems.isEmpty());
}

TEST_F(LoadDayTest, ALoadThatNeverFinishedIsReplacedAtTheNextStart) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    ASSERT_TRUE(state.database.markLoad(true).ok()); // as a load killed half-way leaves it
    state.database.close();
    serverprobe::MapRegistry registry;
    const QStringList messages = app::startUp(state, registry);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].contains(QStringLiteral("did not finish. The damaged working database")))
        << messages[0].toStdString();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("PortData.mdb.bad"))));
    EXPECT_TRUE(load(QDate(2009, 1, 15)).foundCalls());
    EXPECT_EQ(rows(), 1);
    // A finished load leaves no mark: the next start keeps the file.
    state.database.close();
    EXPECT_TRUE(app::startUp(state, registry).isEmpty());
}

} // namespace
} // namespace tarrow::load
