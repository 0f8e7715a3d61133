// Every report of the report table opens a window of its own name.
#include "platform/widgets/windowsize.h"
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

// Every report window opens inside the room of its screen, frame included,
// and can be made smaller than its design.
TEST_F(ReportWindowsTest, EveryReportWindowOpensInsideTheScreen) {
    addRow(1, 1, 600, 1, 5, 610, 600);
    for (const ReportEntry& entry : reportTable()) {
        QWidget* window = context.windows().openOnce(entry.windowName, [&]() -> QWidget* {
            return createReportWindow(document(entry.id), context).release();
        });
        ASSERT_NE(window, nullptr);
        const QRect room = platform::availableRoom(*window);
        EXPECT_TRUE(room.contains(window->frameGeometry()))
            << entry.windowName.toStdString() << " " << window->frameGeometry().width() << "x"
            << window->frameGeometry().height() << " in " << room.width() << "x" << room.height();
        EXPECT_LE(window->minimumWidth(), room.width());
        window->close();
    }
}

} // namespace
} // namespace tarrow::reports
