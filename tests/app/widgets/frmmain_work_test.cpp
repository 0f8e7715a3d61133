// Long work in the main window: what it throws, Cancel, closing while it runs, the PDF export.
#include "app/widgets/frmmainfixture.h"
#include "charts/widgets/chart2d.h"
#include "load/loadday.h"
#include "reports/history/widgets/frmhistory.h"
#include "reports/widgets/chartwindow.h"
#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"
#include "support/reportfixture.h"
#include "support/scripteddialogs.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace tarrow::app {
namespace {

using testing::logLine;

// Whatever long work throws (a load, a History, the PDF all run in this one
// guard) ends in one message, and the window is usable again.
TEST_F(FrmMainTest, WorkThatThrowsGivesOneMessageAndTheWindowComesBack) {
    frmMain& w = window();
    dialogs.messages.clear();
    for (const auto& work :
         std::vector<std::function<void()>>{[] { throw std::runtime_error("the disk went away"); },
                                            [] { throw std::bad_alloc(); }}) {
        bool wasBusy = false;
        EXPECT_FALSE(w.whileBusy([&] {
            wasBusy = !find<QTabWidget>("SSTab1")->isEnabled();
            work();
        }));
        EXPECT_TRUE(wasBusy);
        EXPECT_TRUE(find<QTabWidget>("SSTab1")->isEnabled());
        EXPECT_TRUE(w.menuBar()->isEnabled());
        EXPECT_FALSE(find<QPushButton>("cmdCancel")->isVisible());
    }
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.texts()[0],
              QStringLiteral("The work stopped on an error: the disk went away"));
    EXPECT_TRUE(dialogs.texts()[1].startsWith(QStringLiteral("There was not enough memory")));
    bool ran = false;
    EXPECT_TRUE(w.whileBusy([&] { ran = true; })) << "and the next work runs as ever";
    EXPECT_TRUE(ran);
}

// Long work is stopped cleanly: by "Cancel", or by closing the window while
// it runs, which then closes once the work has ended.
class FrmMainShutdownTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        writeLog("20090114", logLine("2009-01-14 10:00:00", "1162", "NEW CALL", "Port1", 1, 9));
        writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
        browseTo(logs());
        find<QComboBox>("cmbReportDate")->setCurrentIndex(1);
        find<QPushButton>("cmdParseLogs")->click(); // a day loaded before
        ASSERT_TRUE(reportsEnabled());
        dialogs.messages.clear();
    }
    qint64 storedRows() {
        SQLite::Database db(dir.file(QStringLiteral("PortData.mdb")).toStdString());
        return db.execAndGet("SELECT COUNT(*) FROM RawPortData").getInt64();
    }
};

TEST_F(FrmMainShutdownTest, CancelStopsTheLoadAndLeavesNoDay) {
    // The second file is where the load is told to stop: the first one's rows go too.
    find<QComboBox>("cmbReportDate")->setCurrentIndex(0);
    bool cancelled = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!cancelled && !find<QGroupBox>("frmTitle")->isHidden() &&
            find<QGroupBox>("frmTitle")->title().endsWith(QStringLiteral("20090115.csv"))) {
            cancelled = true;
            find<QPushButton>("cmdCancel")->click();
        }
    });
    poll.start(0);
    find<QPushButton>("cmdParseLogs")->click();
    poll.stop();
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(dialogs.texts(), QStringList{load::cancelledMessage()});
    EXPECT_TRUE(reportsDisabled());
    EXPECT_TRUE(state.day.rows.empty());
    EXPECT_EQ(storedRows(), 0);
    EXPECT_TRUE(find<QPushButton>("cmdCancel")->isHidden());

    // The next load runs to its end.
    dialogs.messages.clear();
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_TRUE(reportsEnabled());
    EXPECT_EQ(storedRows(), 1);
}

TEST_F(FrmMainShutdownTest, ClosingDuringALoadEndsItThenCloses) {
    window().show();
    QTimer::singleShot(0, &window(), [this] { EXPECT_FALSE(window().close()); });
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "nothing is said while closing";
    EXPECT_TRUE(window().isVisible()) << "the close waits for the load";
    QApplication::processEvents();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(storedRows(), 0);
}

TEST_F(FrmMainShutdownTest, ClosingDuringAReportComputationClosesAfterIt) {
    window().show();
    QTimer::singleShot(0, &window(), [this] { EXPECT_FALSE(window().close()); });
    find<QPushButton>("cmdCallTraffic")->click();
    EXPECT_TRUE(window().isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(dialogs.messages.isEmpty())
        << dialogs.texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(FrmMainTest, ExportPdfReportWritesTheLoadedDay) {
    QAction* exportPdf = window().findChild<QAction*>(QStringLiteral("mnuExportPdf"));
    ASSERT_NE(exportPdf, nullptr);
    EXPECT_FALSE(exportPdf->isEnabled()) << "nothing to report before a day is loaded";
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    ASSERT_TRUE(exportPdf->isEnabled());
    dialogs.messages.clear();
    dialogs.saveAnswers << dir.file(QStringLiteral("manager"));
    exportPdf->trigger();
    EXPECT_TRUE(dialogs.saveInitials.last().endsWith(QStringLiteral("TarrowReport_1_15_2009.pdf")));
    QFile pdf(dir.file(QStringLiteral("manager.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly))
        << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
    EXPECT_EQ(dialogs.texts().last(),
              QStringLiteral("The report was saved as \"%1\".").arg(pdf.fileName()));
}

} // namespace
} // namespace tarrow::app
