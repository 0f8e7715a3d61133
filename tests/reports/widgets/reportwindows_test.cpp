// Every report of the report table opens a window of its own name.
#include "platform/widgets/windowsize.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "reports/widgets/windowdesign.h"
#include "support/widgets/reportwindowfixture.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>

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

// Every menu of a report window opens with Alt and its first letter, and
// reads as its caption.
TEST_F(ReportWindowsTest, MenusOpenWithAltAndTheirFirstLetter) {
    addRow(1, 1, 600, 1, 5, 610, 600);
    for (const ReportEntry& entry : reportTable()) {
        const std::unique_ptr<ChartWindow> window = createReportWindow(document(entry.id), context);
        const QList<QAction*> menus = window->menuBar()->actions();
        ASSERT_FALSE(menus.isEmpty());
        for (const QAction* menu : menus) {
            const QString caption = QString(menu->text()).remove(QLatin1Char('&'));
            EXPECT_EQ(QKeySequence::mnemonic(menu->text()),
                      QKeySequence(Qt::ALT | QKeySequence(caption.left(1))[0].key()))
                << entry.windowName.toStdString() << " " << menu->text().toStdString();
        }
    }
    EXPECT_EQ(withMnemonic(QStringLiteral("File")), QStringLiteral("&File"));
    EXPECT_EQ(withMnemonic(QStringLiteral("&Zoom")), QStringLiteral("&Zoom"));
}

} // namespace
} // namespace tarrow::reports
