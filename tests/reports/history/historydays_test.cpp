#include "logparse/logfiles.h"
#include "reports/history/historydays.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_TRUE(std::is_sorted(days.begin(), days.end(),
                               [](const HistoryDay& a, const HistoryDay& b) { return a.day < b.day; }));
    const auto seventh = std::find_if(days.begin(), days.end(), [](const HistoryDay& d) {
        return d.day == QDate(2009, 3, 7);
    });
    ASSERT_NE(seventh, days.end());
    // The figures of the fixture day's Capacity.json.
    EXPECT_EQ(quarterStart(seventh->busyHourStart), QStringLiteral("15:00"));
    EXPECT_NEAR(seventh->busyHourErlangs, 1.0494444444444444, 1e-12);
    EXPECT_EQ(seventh->peakLinesInUse, 5);
    EXPECT_EQ(seventh->portsInService, 30);
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

TEST(HistoryDays, EmptyRangesAndMissingFolders) {
    QString error;
    EXPECT_TRUE(
        computeHistoryDays(goldenFolder(), QDate(2009, 3, 9), QDate(2009, 3, 1), 0.01, error).empty());
    EXPECT_TRUE(
        computeHistoryDays(goldenFolder(), QDate(2010, 1, 1), QDate(2010, 12, 31), 0.01, error).empty());
    load::LoadRequest missing = goldenFolder();
    missing.folder = QStringLiteral("/nonexistent/logs");
    EXPECT_TRUE(computeHistoryDays(missing, QDate(2009, 3, 1), QDate(2009, 3, 31), 0.01, error).empty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace tarrow::reports
