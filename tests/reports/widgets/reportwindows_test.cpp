// Every report of the report table opens a window of its own name.
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "support/widgets/reportwindowfixture.h"

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

class ReportWindowsTest : public ::testing::Test, protected testing::ReportWindowFixture {};

TEST_F(ReportWindowsTest, EveryReportInTheTableHasItsWindow) {
    addRow(1, 1, 600, 1, 5, 610, 600);
    for (const ReportEntry& entry : reportTable()) {
        const std::unique_ptr<ChartWindow> window = createReportWindow(document(entry.id), context);
        ASSERT_NE(window, nullptr) << entry.windowName.toStdString();
        EXPECT_EQ(window->objectName(), entry.windowName);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace tarrow::reports
