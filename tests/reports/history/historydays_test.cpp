#include "app/startup.h"
#include "logparse/logfiles.h"
#include "reports/history/historydays.h"
#include "serverprobe/registryapi.h"
#include "support/reportfixture.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {
namespace {

load::LoadRequest goldenFolder() {
    load::LoadRequest request;
    request.folder = QStringLiteral(TARROW_TEST_DATA "/golden/logs");
    request.prefix = logparse::olderGenerationPrefix();
    request.zone = QTimeZone("Europe/Berlin");
    return request;
}

// Each day of a history is the day "Load Data" would load, read without the
// working database: its figures are the ones the Capacity report gives.
TEST(HistoryDays, EachDayHasItsCapacityFigures) {
    QString error;
    const std::vector<HistoryDay> days =
        computeHistoryDays(goldenFolder(), QDate(2009, 3, 1), QDate(2009, 3, 31), 0.01, error);
    EXPECT_TRUE(error.isEmpty());
    ASSERT_FALSE(days.empty());
    EXPECT_TRUE(
        std::is_sorted(days.begin(), days.end(),
                       [](const HistoryDay& a, const HistoryDay& b) { return a.day < b.day; }));
    const auto seventh = std::find_if(
        days.begin(), days.end(), [](const HistoryDay& d) { return d.day == QDate(2009, 3, 7); });
    ASSERT_NE(seventh, days.end());
    // The figures of the fixture day's Capacity.json.
    EXPECT_EQ(quarterStart(seventh->busyHourStart), QStringLiteral("12:15"));
    EXPECT_NEAR(seventh->busyHourErlangs, 0.98916666666666664, 1e-12);
    EXPECT_EQ(seventh->peakLinesInUse, 5);
    EXPECT_EQ(seventh->portsInService, 20);
    EXPECT_EQ(seventh->portsNeeded, 5);
    EXPECT_EQ(seventh->atbSeconds, 0);

    // A day computed alone is the same day: nothing carries over from its neighbours.
    const std::vector<HistoryDay> alone =
        computeHistoryDays(goldenFolder(), QDate(2009, 3, 7), QDate(2009, 3, 7), 0.01, error);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].calls, seventh->calls);
    EXPECT_EQ(alone[0].minLinesAvailable, seventh->minLinesAvailable);
    EXPECT_EQ(alone[0].quarterErlangs, seventh->quarterErlangs);
}

// Every day of a history, each of its files read once for all the days it
// feeds, is the day "Load Data" loads as the first day since start: in Berlin
// the files spill into the neighbouring local days, and a leg open at
// midnight stays open.
TEST(HistoryDays, EveryDayIsTheDayLoadDataLoads) {
    testing::TempFolder dir;
    load::AppState state;
    testing::useTempFolder(state, dir);
    state.zone = QTimeZone("Europe/Berlin");
    serverprobe::MapRegistry registry;
    ASSERT_TRUE(app::startUp(state, registry).isEmpty());
    ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("logs"))));
    for (const char* name :
         {"data_qnhcmgr_20090306.csv", "data_qnhcmgr_20090307.csv", "data_qnhcmgr_20090308.csv"})
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(TARROW_TEST_DATA "/golden/logs/") + QLatin1String(name),
                        dir.file(QStringLiteral("logs/")) + QLatin1String(name)));
    // A second file of the 8th, and a file two days on that only the 10th reads.
    dir.write(
        QStringLiteral("logs/data_qnhcmgr_20090308b.csv"),
        testing::logLine("2009-03-08 22:50:00", "1162", "NEW CALL", "Port40", 3, 27) +
            testing::logLine("2009-03-08 23:10:00", "1163", "CALL DISCONNECT", "Port40", 2, 28) +
            testing::logLine("2009-03-09 23:30:00", "1164", "MWI DIAL OUT", "Port2", 1, 29));
    dir.write(
        QStringLiteral("logs/data_qnhcmgr_20090310.csv"),
        testing::logLine("2009-03-10 12:00:00", "1162", "NEW CALL", "Port1", 1, 29) +
            testing::logLine("2009-03-10 12:30:00", "1163", "CALL DISCONNECT", "Port1", 0, 30));
    // Weeks later, the 23-hour and the 25-hour day: a call across the hour
    // the clock skips (01:30 to 03:30, one real hour) and one across the hour
    // it repeats (02:10 summer time to 02:50 winter time, 100 minutes).
    dir.write(
        QStringLiteral("logs/data_qnhcmgr_20090329.csv"),
        testing::logLine("2009-03-29 00:30:00", "1162", "NEW CALL", "Port1", 1, 29) +
            testing::logLine("2009-03-29 01:30:00", "1163", "CALL DISCONNECT", "Port1", 0, 30));
    dir.write(
        QStringLiteral("logs/data_qnhcmgr_20091025.csv"),
        testing::logLine("2009-10-25 00:10:00", "1162", "NEW CALL", "Port1", 1, 29) +
            testing::logLine("2009-10-25 01:50:00", "1163", "CALL DISCONNECT", "Port1", 0, 30));

    load::LoadRequest request = goldenFolder();
    request.folder = dir.file(QStringLiteral("logs"));
    QString error;
    const std::vector<HistoryDay> days =
        computeHistoryDays(request, QDate(2009, 1, 1), QDate(2009, 12, 31), 0.01, error);
    ASSERT_EQ(days.size(), 6u) << "the 6th, 7th, 8th and 10th of March (the 9th has no file of "
                                  "its own), the 29th of March and the 25th of October";
    for (const HistoryDay& day : days) {
        SCOPED_TRACE(day.day.toString(Qt::ISODate).toStdString());
        state.day = {};
        const load::LoadOutcome loaded = app::loadDay(
            state, request.folder, day.day, logparse::dayEntryText(day.day, state.locale));
        ASSERT_TRUE(loaded.foundCalls());
        const HistoryDay expected = historyDayOf(state.day, day.day, 0.01);
        EXPECT_EQ(historyCsv({day}, summarizeHistory({day}, {})),
                  historyCsv({expected}, summarizeHistory({expected}, {})));
        EXPECT_EQ(day.quarterErlangs, expected.quarterErlangs);
        EXPECT_EQ(day.poolSeconds, expected.poolSeconds);
        EXPECT_EQ(day.realSeconds, expected.realSeconds);
        EXPECT_EQ(day.atbQuarterSeconds, expected.atbQuarterSeconds);
    }
    // The calls keep their real lengths across the clock changes.
    EXPECT_NEAR(days[4].busyHourErlangs, 0.5, 1e-9)
        << "one real hour on the 23-hour day, half of it in any real hour of the clock";
    EXPECT_EQ(days[5].peakLinesInUse, 1);
    EXPECT_GT(days[5].busyHourErlangs, 0.6);
    EXPECT_LE(days[5].busyHourErlangs, 1.0);
}

// A run counts the files it reads, and a run told to stop gives no days.
TEST(HistoryDays, ProgressCountsTheFilesAndAStoppedRunGivesNoDays) {
    QString error;
    HistoryProgress progress;
    EXPECT_EQ(computeHistoryDays(goldenFolder(), QDate(2009, 3, 7), QDate(2009, 3, 7), 0.01, error,
                                 nullptr, &progress)
                  .size(),
              1u);
    EXPECT_EQ(progress.files, 3) << "the 7th and its neighbours' files";
    EXPECT_EQ(progress.filesRead, 3);
    HistoryProgress stopped;
    stopped.stop = true;
    EXPECT_TRUE(computeHistoryDays(goldenFolder(), QDate(2009, 3, 1), QDate(2009, 3, 31), 0.01,
                                   error, nullptr, &stopped)
                    .empty());
    EXPECT_EQ(stopped.filesRead, 0);
}

TEST(HistoryDays, EmptyRangesAndMissingFolders) {
    QString error;
    EXPECT_TRUE(
        computeHistoryDays(goldenFolder(), QDate(2009, 3, 9), QDate(2009, 3, 1), 0.01, error)
            .empty());
    EXPECT_TRUE(
        computeHistoryDays(goldenFolder(), QDate(2010, 1, 1), QDate(2010, 12, 31), 0.01, error)
            .empty());
    load::LoadRequest missing = goldenFolder();
    missing.folder = QStringLiteral("/nonexistent/logs");
    EXPECT_TRUE(
        computeHistoryDays(missing, QDate(2009, 3, 1), QDate(2009, 3, 31), 0.01, error).empty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace tarrow::reports

namespace tarrow::reports {
namespace {

// The cache only saves work: a cached run gives exactly what a fresh run gives.
class HistoryCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"data_qnhcmgr_20090306.csv", "data_qnhcmgr_20090307.csv",
                                 "data_qnhcmgr_20090308.csv"})
            QFile::copy(QStringLiteral(TARROW_TEST_DATA "/golden/logs/") + QLatin1String(name),
                        QDir(logs()).filePath(QLatin1String(name)));
    }
    QString logs() const {
        QDir().mkpath(dir.file(QStringLiteral("logs")));
        return dir.file(QStringLiteral("logs"));
    }
    // A run; `read` is set to the number of log files it read, `skipped` to
    // the days it skipped.
    std::vector<HistoryDay> run(HistoryCache* cache, qint64* read = nullptr,
                                std::vector<SkippedDay>* skipped = nullptr) const {
        load::LoadRequest request = goldenFolder();
        request.folder = logs();
        QString error;
        HistoryProgress progress;
        std::vector<HistoryDay> days = computeHistoryDays(
            request, QDate(2009, 3, 1), QDate(2009, 3, 31), 0.01, error, cache, &progress, skipped);
        if (read)
            *read = progress.filesRead;
        return days;
    }
    static QByteArray files(const std::vector<HistoryDay>& days) {
        const HistorySummary summary = summarizeHistory(days, {});
        return historyCsv(days, summary) + historyJson(summary);
    }
    // The cache key of a day, as a run makes it from the day's files.
    QString keyOf(const QDate& day) const {
        QList<QByteArray> stamps;
        for (const logparse::LogFile& file :
             logparse::listLogFiles(logs(), logparse::olderGenerationPrefix()).files)
            if (logparse::feedsDay(file, day))
                stamps << historyFileStamp(file);
        return historyDayKey(day, stamps, goldenFolder().zone, goldenFolder().dateOrder);
    }
    testing::TempFolder dir;
};

TEST_F(HistoryCacheTest, CachedEqualsFreshAndAChangedFileIsComputedAgain) {
    const QByteArray fresh = files(run(nullptr));
    {
        HistoryCache cache(dir.file(QStringLiteral("data")));
        EXPECT_EQ(files(run(&cache)), fresh) << "filling the cache";
    }
    HistoryCache cache(dir.file(QStringLiteral("data")));
    qint64 read = -1;
    EXPECT_EQ(files(run(&cache, &read)), fresh) << "from the cache";
    EXPECT_EQ(read, 0) << "a cached run reads no log file";
    {
        // A file rewritten in place, same size, its time set back: the
        // change of its status time still tells, so no stale figure answers.
        QFile log(QDir(logs()).filePath(QStringLiteral("data_qnhcmgr_20090306.csv")));
        const QDateTime modified = QFileInfo(log).lastModified();
        ASSERT_TRUE(log.open(QIODevice::ReadWrite));
        const qint64 size = log.size();
        log.write(QByteArray(size, ' '));
        log.setFileTime(modified, QFileDevice::FileModificationTime);
        log.close();
        const QByteArray blanked = files(run(nullptr));
        EXPECT_NE(blanked, fresh);
        EXPECT_EQ(files(run(&cache, &read)), blanked);
        EXPECT_EQ(read, 3) << "the files of the 6th and the 7th, the two days the 6th's file feeds";
        QFile::remove(log.fileName());
        SetUp(); // the file back as it was
    }

    // One more call on the 7th: that day (and only what depends on it) changes.
    QFile log(QDir(logs()).filePath(QStringLiteral("data_qnhcmgr_20090307.csv")));
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write(testing::logLine("2009-03-07 12:00:00", "1162", "NEW CALL", "Port3", 1, 9));
    log.close();
    const QByteArray changed = files(run(nullptr));
    EXPECT_NE(changed, fresh);
    EXPECT_EQ(files(run(&cache)), changed);
}

// Today's log grows between runs: each run keeps the day's new figures in
// place of the old ones, so the cache holds one row per day, not one per run.
TEST_F(HistoryCacheTest, AGrowingLogKeepsOneRowPerDay) {
    const auto rows = [this] {
        SQLite::Database db(dir.file(QStringLiteral("data/History.db")).toStdString());
        return db.execAndGet("SELECT COUNT(*) FROM Entries").getInt64();
    };
    {
        HistoryCache cache(dir.file(QStringLiteral("data")));
        (void)run(&cache);
    }
    const qint64 first = rows();
    EXPECT_GE(first, 3);
    for (int minute = 0; minute < 3; ++minute) {
        QFile log(QDir(logs()).filePath(QStringLiteral("data_qnhcmgr_20090308.csv")));
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write(testing::logLine(
            QStringLiteral("2009-03-08 12:0%1:00").arg(minute).toLatin1().constData(), "1162",
            "NEW CALL", "Port3", 1, 9));
        log.close();
        HistoryCache cache(dir.file(QStringLiteral("data")));
        (void)run(&cache);
    }
    EXPECT_EQ(rows(), first);
}

TEST_F(HistoryCacheTest, ACacheOfRandomBytesIsSetAsideAndRebuilt) {
    const QByteArray fresh = files(run(nullptr));
    dir.write(QStringLiteral("data/History.db"), QByteArray(8192, '\x5a'));
    HistoryCache cache(dir.file(QStringLiteral("data")));
    EXPECT_EQ(files(run(&cache)), fresh);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("data/History.db.bad"))));
    HistoryCache again(dir.file(QStringLiteral("data")));
    EXPECT_EQ(files(run(&again)), fresh) << "the rebuilt cache serves";
}

// A cached day between two days to compute: the file of the cached day
// feeds both neighbours and is read once for the three days around it.
TEST_F(HistoryCacheTest, ACachedDayBetweenTwoChangedDaysStaysCached) {
    dir.write(QStringLiteral("logs/data_qnhcmgr_20090305.csv"),
              testing::logLine("2009-03-05 12:00:00", "1162", "NEW CALL", "Port1", 1, 29));
    dir.write(QStringLiteral("logs/data_qnhcmgr_20090309.csv"),
              testing::logLine("2009-03-09 12:00:00", "1162", "NEW CALL", "Port1", 1, 29));
    HistoryCache cache(dir.file(QStringLiteral("data")));
    (void)run(&cache);
    // New calls on the 5th and the 9th change the 6th and the 8th, not the 7th.
    for (const char* name : {"logs/data_qnhcmgr_20090305.csv", "logs/data_qnhcmgr_20090309.csv"}) {
        QFile log(dir.file(QLatin1String(name)));
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write(testing::logLine("2009-03-05 12:30:00", "1162", "NEW CALL", "Port2", 1, 28) +
                  testing::logLine("2009-03-09 12:30:00", "1162", "NEW CALL", "Port2", 1, 28));
    }
    const QByteArray fresh = files(run(nullptr));
    qint64 read = 0;
    EXPECT_EQ(files(run(&cache, &read)), fresh);
    EXPECT_EQ(read, 5) << "the files of the 5th to the 9th, each once";
}

// A cache that cannot be opened but is not damaged (here a folder in its
// place) is left alone: the run goes on without it.
TEST_F(HistoryCacheTest, ACacheThatCannotBeOpenedIsLeftAloneAndNotUsed) {
    const QByteArray fresh = files(run(nullptr));
    ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("data/History.db"))));
    HistoryCache cache(dir.file(QStringLiteral("data")));
    qint64 read = 0;
    EXPECT_EQ(files(run(&cache, &read)), fresh);
    EXPECT_EQ(files(run(&cache, &read)), fresh);
    EXPECT_EQ(read, 3) << "nothing was kept, so every file is read again";
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("data/History.db"))).isDir());
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("data/History.db.bad"))));
}

// A cache row that is not a sane figure of its own day, however it got
// there, is computed again and never shown.
TEST_F(HistoryCacheTest, CraftedCacheRowsAreComputedAgain) {
    const std::vector<HistoryDay> days = run(nullptr);
    const QByteArray fresh = files(days);
    ASSERT_EQ(days.size(), 3u);
    std::vector<HistoryCacheEntry> crafted;
    HistoryDay otherDay = days[0];
    otherDay.day = days[2].day;
    HistoryDay notANumber = days[1];
    notANumber.busyHourErlangs = std::nan("");
    HistoryDay outOfRange = days[2];
    outOfRange.busyHourStart = 500;
    outOfRange.day = QDate(); // and no date at all
    crafted.push_back({keyOf(days[0].day), QStringLiteral("a"), otherDay});
    crafted.push_back({keyOf(days[1].day), QStringLiteral("b"), notANumber});
    crafted.push_back({keyOf(days[2].day), QStringLiteral("c"), outOfRange});
    HistoryCache cache(dir.file(QStringLiteral("data")));
    cache.store(crafted);
    ASSERT_TRUE(cache.find(keyOf(days[0].day), otherDay.day).has_value())
        << "the row is another day's own figure: sane there";
    EXPECT_FALSE(cache.find(keyOf(days[0].day), days[0].day).has_value());
    qint64 read = 0;
    EXPECT_EQ(files(run(&cache, &read)), fresh);
    EXPECT_EQ(read, 3) << "every crafted day is read again";
    EXPECT_EQ(files(run(&cache, &read)), fresh);
    EXPECT_EQ(read, 0) << "and the mended rows serve";
}

// A day one of whose files cannot be used is listed with the reason, never
// cached, and read again once the file is mended.
TEST_F(HistoryCacheTest, ASkippedDayIsListedAndReadAgainOnceMended) {
    const QString big = QDir(logs()).filePath(QStringLiteral("data_qnhcmgr_20090309.csv"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(QByteArray(1'000'001, '\n')), 1'000'001);
    }
    HistoryCache cache(dir.file(QStringLiteral("data")));
    std::vector<SkippedDay> skipped;
    const std::vector<HistoryDay> days = run(&cache, nullptr, &skipped);
    ASSERT_EQ(days.size(), 2u) << "the 6th and the 7th";
    ASSERT_EQ(skipped.size(), 2u) << "the 8th and the 9th, which the big file feeds";
    EXPECT_EQ(skipped[0].day, QDate(2009, 3, 8));
    EXPECT_EQ(skipped[1].day, QDate(2009, 3, 9));
    EXPECT_EQ(skipped[0].reason,
              QStringLiteral("data_qnhcmgr_20090309.csv holds more than 1,000,000 lines"));

    ASSERT_TRUE(QFile::remove(big));
    dir.write(QStringLiteral("logs/data_qnhcmgr_20090309.csv"),
              testing::logLine("2009-03-09 12:00:00", "1162", "NEW CALL", "Port1", 1, 29));
    skipped.clear();
    qint64 read = 0;
    const std::vector<HistoryDay> mended = run(&cache, &read, &skipped);
    EXPECT_TRUE(skipped.empty());
    ASSERT_EQ(mended.size(), 4u);
    EXPECT_EQ(mended[3].day, QDate(2009, 3, 9));
    EXPECT_EQ(read, 3) << "the files of the 8th and the 9th: they were never cached";
}

} // namespace
} // namespace tarrow::reports
