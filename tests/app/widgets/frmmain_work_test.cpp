// Long work in the main window: what it throws, Cancel, closing while it runs, the PDF export.
#include "app/widgets/frmmainfixture.h"
#include "app/widgets/longjob.h"
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
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
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
        find<QPushButton>("cmdParseLogs")->click();
        window().waitForWork(); // a day loaded before
        ASSERT_TRUE(reportsEnabled());
        dialogs.messages.clear();
    }
    qint64 storedRows() {
        SQLite::Database db(dir.file(QStringLiteral("PortData.mdb")).toStdString());
        return db.execAndGet("SELECT COUNT(*) FROM RawPortData").getInt64();
    }
};

// A load's job that throws on its thread: one message, the window usable
// again, and the next load runs.
TEST_F(FrmMainShutdownTest, ALoadJobThatThrowsGivesOneMessageAndTheWindowComesBack) {
    window().setLoadFileHook(
        [](const QString&) { throw std::runtime_error("the disk went away"); });
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_FALSE(find<QTabWidget>("SSTab1")->isEnabled()) << "busy while the job runs";
    window().waitForWork();
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("The work stopped on an error: the disk went away")});
    EXPECT_TRUE(find<QTabWidget>("SSTab1")->isEnabled());
    EXPECT_TRUE(window().menuBar()->isEnabled());
    EXPECT_TRUE(find<QGroupBox>("frmTitle")->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window().setLoadFileHook({});
    dialogs.messages.clear();
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    EXPECT_TRUE(reportsEnabled());
    EXPECT_EQ(storedRows(), 1);
}

// The job boundary itself: done follows work that finished; a throw gives
// failed once and no done; the busy signal always comes back to false.
TEST(LongJobTest, FailuresStopAtTheBoundary) {
    LongJob job;
    QStringList failures;
    QList<bool> busy;
    QObject::connect(&job, &LongJob::failed, [&](const QString& f) { failures << f; });
    QObject::connect(&job, &LongJob::busyChanged, [&](bool b) { busy << b; });
    bool done = false;
    ASSERT_TRUE(job.start([] { throw std::bad_alloc(); }, [&] { done = true; }));
    EXPECT_FALSE(job.start([] {}, [] {})) << "one job at a time";
    job.waitUntilEnded();
    EXPECT_FALSE(done);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("There was not enough memory")));
    EXPECT_EQ(busy, (QList<bool>{true, false}));

    int value = 0;
    ASSERT_TRUE(job.start([&value] { value = 42; }, [&] { done = value == 42; }));
    job.waitUntilEnded();
    EXPECT_TRUE(done);
    EXPECT_FALSE(job.running());
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(FrmMainShutdownTest, CancelStopsTheLoadAndLeavesNoDay) {
    // The second file is where the load is told to stop: the first one's rows go too.
    // The load waits there until Cancel has been clicked.
    find<QComboBox>("cmbReportDate")->setCurrentIndex(0);
    QByteArray many; // rows enough to fill pages of the working database
    for (int i = 0; i < 20000; ++i)
        many += logLine("2009-01-14 10:00:00", "1162", "NEW CALL", "Port1", 1, 9);
    writeLog("20090114", many);
    QSemaphore clicked;
    window().setLoadFileHook([&clicked](const QString& path) {
        if (path.endsWith(QStringLiteral("20090115.csv")))
            clicked.acquire();
    });
    bool cancelled = false;
    QString title;
    int bar = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!cancelled && !find<QGroupBox>("frmTitle")->isHidden() &&
            find<QGroupBox>("frmTitle")->title().endsWith(QStringLiteral("20090115.csv"))) {
            cancelled = true;
            title = find<QGroupBox>("frmTitle")->title();
            bar = find<QProgressBar>("ProgressBar")->maximum();
            find<QPushButton>("cmdCancel")->click();
            clicked.release();
        }
    });
    poll.start(0);
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    poll.stop();
    window().setLoadFileHook({});
    ASSERT_TRUE(cancelled);
    EXPECT_TRUE(title.startsWith(QStringLiteral("Parsing diagnostic file 2 of 2: ")))
        << title.toStdString();
    EXPECT_EQ(bar, 2000) << "one bar over both files";
    EXPECT_EQ(dialogs.texts(), QStringList{load::cancelledMessage()});
    EXPECT_TRUE(reportsDisabled());
    EXPECT_TRUE(state.day.rows.empty());
    EXPECT_EQ(storedRows(), 0);
    {
        SQLite::Database db(dir.file(QStringLiteral("PortData.mdb")).toStdString());
        EXPECT_EQ(db.execAndGet("PRAGMA freelist_count").getInt64(), 0)
            << "the cancelled rows' room went back to the disk";
    }
    EXPECT_TRUE(find<QPushButton>("cmdCancel")->isHidden());

    // The next load runs to its end.
    dialogs.messages.clear();
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    EXPECT_TRUE(reportsEnabled());
    EXPECT_EQ(storedRows(), 20000);
}

TEST_F(FrmMainShutdownTest, ClosingDuringALoadEndsItThenCloses) {
    window().show();
    // The load waits at its first file until the window has been asked to close.
    QSemaphore closing;
    window().setLoadFileHook([&closing](const QString&) {
        closing.acquire();
        closing.release();
    });
    QTimer::singleShot(0, &window(), [this, &closing] {
        EXPECT_FALSE(window().close());
        closing.release();
    });
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "nothing is said while closing";
    EXPECT_TRUE(window().isVisible()) << "the close waits for the load";
    QApplication::processEvents();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(storedRows(), 0);
}

// A report is computed without letting events through: a close asked
// meanwhile comes after it and closes at once.
TEST_F(FrmMainShutdownTest, ClosingAskedDuringAReportComputationClosesAfterIt) {
    window().show();
    QTimer::singleShot(0, &window(), [this] { EXPECT_TRUE(window().close()); });
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
    window().waitForWork();
    ASSERT_TRUE(exportPdf->isEnabled());
    dialogs.messages.clear();
    dialogs.saveAnswers << dir.file(QStringLiteral("manager"));
    exportPdf->trigger();
    window().waitForWork();
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
