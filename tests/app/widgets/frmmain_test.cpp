#include "app/widgets/frmmain.h"
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

const QString kNoFiles = QStringLiteral(
    "No valid diagnostic files found in that directory... The Tarrow only works with data files "
    "produced by Mervox 3.1(4) or later.");

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useTempFolder(state, dir);
        config = serverprobe::makeSystemConfigDatabase();
    }

    frmMain& window() {
        if (!main) {
            main = std::make_unique<frmMain>(state, dialogs, registry, *config);
            main->startUp();
        }
        return *main;
    }
    template <typename T> T* find(const char* name) {
        T* w = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool enabled(const char* name) { return find<QPushButton>(name)->isEnabled(); }
    bool reportsEnabled() {
        return enabled("cmdPortUsage") && enabled("cmdCallDistribution") &&
               enabled("cmdPortTimeUse") && enabled("cmdCallTraffic") && enabled("cmdCapacity");
    }
    bool reportsDisabled() {
        return !enabled("cmdPortUsage") && !enabled("cmdCallDistribution") &&
               !enabled("cmdPortTimeUse") && !enabled("cmdCallTraffic") && !enabled("cmdCapacity");
    }
    QString logs() const { return dir.file(QStringLiteral("logs")); }
    void writeLog(const char* date, const QByteArray& bytes) const {
        dir.write(QStringLiteral("logs/data_qnhcmgr_%1.csv").arg(QLatin1String(date)), bytes);
    }
    void browseTo(const QString& folder) {
        dialogs.folderAnswers << folder;
        find<QPushButton>("cmdBrowseForDiagFile")->click();
    }

    testing::TempFolder dir;
    load::AppState state;
    testing::ScriptedDialogs dialogs;
    serverprobe::MapRegistry registry;
    std::unique_ptr<serverprobe::ConfigDatabase> config;
    std::unique_ptr<frmMain> main;
};

TEST_F(FrmMainTest, StartsWithItsControlsInTheirFirstState) {
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Tarrow"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(enabled("cmdParseLogs"));
    EXPECT_TRUE(reportsDisabled());
    EXPECT_TRUE(enabled("cmdBrowseForDiagFile"));
    EXPECT_FALSE(enabled("cmdBrowseForDatabase"));
    EXPECT_EQ(find<QLineEdit>("txtDatabasePath")->text(),
              QDir::toNativeSeparators(dir.file(QStringLiteral("PortData.mdb"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("PortData.mdb"))));
    EXPECT_TRUE(find<QGroupBox>("frmTitle")->isHidden());
    EXPECT_EQ(find<QTimeEdit>("CallDistributionStartTime")->time(), QTime(0, 0, 0));
    EXPECT_EQ(find<QTimeEdit>("CallDistributionEndTime")->time(), QTime(23, 59, 59));
    EXPECT_EQ(find<QTimeEdit>("PortTimeUseStartTime")->time(), QTime(0, 0, 0));
    EXPECT_EQ(find<QTimeEdit>("PortTimeUseEndTime")->time(), QTime(23, 59, 59));
    auto* tabs = find<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 6);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Port Availability"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Call Distribution"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Port Time Use"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Call Traffic"));
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("Capacity"));
    EXPECT_EQ(tabs->tabText(5), QStringLiteral("History"));
    EXPECT_FALSE(enabled("cmdRunHistory"));
    EXPECT_EQ(find<QSpinBox>("spnPortsInService")->value(), 0);
    EXPECT_EQ(find<QSpinBox>("spnPortsInService")->text(), QStringLiteral("from the logs"));
    EXPECT_EQ(find<QComboBox>("cmbTargetBlocking")->currentText(), QStringLiteral("1 %"));
    EXPECT_EQ(find<QComboBox>("cmbTargetBlocking")->count(), 5);
    for (const char* name :
         {"mnuSaveDatabase", "mnuExit", "mnuHelpFile", "mnuAbout", "mnuCheckforUpdatedVersion"})
        EXPECT_NE(window().findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
}

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

TEST_F(FrmMainTest, MissingTemplateGivesOneMessagePerFailingStepAndTheWindowOpens) {
    QFile::remove(dir.file(QStringLiteral("PortDataClean.mdb")));
    window();
    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const auto& m : dialogs.messages)
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Error in form load routine: ")))
            << m.text.toStdString();
    EXPECT_TRUE(enabled("cmdBrowseForDiagFile"));
}

TEST_F(FrmMainTest, DamagedWorkingDatabaseIsSetAsideAndReplaced) {
    dir.write(QStringLiteral("PortData.mdb"), QByteArray(8192, '\x5a'));
    window();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("replaced by an empty one")));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("PortData.mdb.bad"))));
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    dialogs.messages.clear();
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(reportsEnabled());
}

TEST_F(FrmMainTest, BrowseBuildsTheDayList) {
    writeLog("20090114", "");
    writeLog("20090115", "");
    writeLog("20090115b", "");
    browseTo(logs());
    auto* days = find<QComboBox>("cmbReportDate");
    ASSERT_EQ(days->count(), 2);
    EXPECT_EQ(days->currentIndex(), 0);
    EXPECT_EQ(days->itemText(1), QStringLiteral("1/15/2009 Thursday"));
    EXPECT_EQ(days->itemData(1).toDate(), QDate(2009, 1, 15));
    EXPECT_TRUE(enabled("cmdParseLogs"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Cancel keeps the folder; the next picker starts there.
    find<QPushButton>("cmdBrowseForDiagFile")->click();
    EXPECT_EQ(dialogs.folderStarts.last(), logs());
    EXPECT_EQ(find<QLineEdit>("txtDiagFilePath")->text(), logs());
    EXPECT_EQ(days->count(), 2);

    // A folder without log files empties the path and disables "Load Data".
    browseTo(dir.path());
    EXPECT_EQ(dialogs.texts(), QStringList{kNoFiles});
    EXPECT_TRUE(find<QLineEdit>("txtDiagFilePath")->text().isEmpty());
    EXPECT_FALSE(enabled("cmdParseLogs"));
}

TEST_F(FrmMainTest, LoadDataEnablesReportsOrReportsNoData) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8) +
                             logLine("garbage", "1162", "NEW CALL", "Port2", 2, 8));
    writeLog("20090120", logLine("2009-01-20 10:00:00", "1163", "CALL DISCONNECT", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].text.contains(
        QStringLiteral("1 line whose date and time could not be read")));
    EXPECT_EQ(dialogs.messages[1].text,
              QStringLiteral("Call information found in logs for 1/15/2009 Thursday\r\n"
                             "Inbound Calls=1\r\nMWI Dialouts=0\r\nNotification Dialouts=0\r\n"
                             "TRAP Dialouts=0\r\nAMIS Dialouts=0\r\n"));
    EXPECT_TRUE(reportsEnabled());
    EXPECT_TRUE(find<QGroupBox>("frmTitle")->isHidden());
    EXPECT_TRUE(find<QGroupBox>("frmStoreDatabaseAt")->isEnabled());

    dialogs.messages.clear();
    find<QComboBox>("cmbReportDate")->setCurrentIndex(1);
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_EQ(dialogs.texts(), QStringList{load::noDataMessage()});
    EXPECT_TRUE(reportsDisabled());
}

TEST_F(FrmMainTest, LoadDataThatCannotBeStoredSaysSoAndRunsNoReport) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    state.database.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON RawPortData "
                             "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;");
    find<QPushButton>("cmdParseLogs")->click();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("database or disk is full")));
    EXPECT_EQ(dialogs.messages[1].text, load::storeFailedMessage());
    EXPECT_EQ(dialogs.messages[1].icon, platform::MessageIcon::Warning);
    EXPECT_TRUE(reportsDisabled());
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

TEST_F(FrmMainTest, LoadDataOnAVanishedFolderSaysSo) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    QDir(logs()).removeRecursively();
    find<QPushButton>("cmdParseLogs")->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("does not exist")));
}

TEST_F(FrmMainTest, PerPortReportsCheckTheirRange) {
    int opened = 0;
    window().setReportOpener(reports::ReportId::CallDistribution, [&] { ++opened; });
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    dialogs.messages.clear();

    find<QPushButton>("cmdCallDistribution")->click(); // 00:00:00 through 23:59:59
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(window().reportRange(reports::ReportId::CallDistribution), std::make_pair(0, 1439));

    find<QTimeEdit>("CallDistributionStartTime")->setTime(QTime(10, 0, 0));
    find<QTimeEdit>("CallDistributionEndTime")->setTime(QTime(10, 0, 59));
    find<QPushButton>("cmdCallDistribution")->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("The end time must be greater than the start time for a "
                                         "report to be generated!")});
}

TEST_F(FrmMainTest, EachReportWindowExistsOnceAndKeepsItsFigures) {
    writeLog("20090115",
             logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8) +
                 logLine("2009-01-15 10:05:00", "1163", "CALL DISCONNECT", "Port2", 1, 9));
    writeLog("20090116", logLine("2009-01-16 10:00:00", "1162", "NEW CALL", "Port3", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    auto& context = window().windows();
    for (const char* button :
         {"cmdPortUsage", "cmdCallDistribution", "cmdPortTimeUse", "cmdCallTraffic"})
        find<QPushButton>(button)->click();
    for (const char* name :
         {"frmPortAvailability", "frmCallDistribution", "frmPortTimeUse", "frmCallTraffic"})
        EXPECT_NE(context.find(QString::fromLatin1(name)), nullptr) << name;

    auto* distribution =
        qobject_cast<reports::ChartWindow*>(context.find(QStringLiteral("frmCallDistribution")));
    ASSERT_NE(distribution, nullptr);
    const QString header = distribution->chart().headerText();
    find<QTimeEdit>("CallDistributionStartTime")->setTime(QTime(8, 0));
    find<QPushButton>("cmdCallDistribution")->click();
    EXPECT_EQ(context.find(QStringLiteral("frmCallDistribution")), distribution);
    EXPECT_EQ(distribution->chart().headerText(), header) << "brought forward, not recomputed";

    // Loading another day leaves an open chart as it was, and no report window
    // takes input while the load runs (it lets events through as it works).
    auto* traffic =
        qobject_cast<reports::ChartWindow*>(context.find(QStringLiteral("frmCallTraffic")));
    const double before = traffic->chart().yValue(2, 10 * 60);
    find<QComboBox>("cmbReportDate")->setCurrentIndex(1);
    bool enabledDuringLoad = true;
    QTimer::singleShot(0, [&] { enabledDuringLoad = traffic->isEnabled(); });
    find<QPushButton>("cmdParseLogs")->click();
    EXPECT_FALSE(enabledDuringLoad);
    EXPECT_TRUE(traffic->isEnabled());
    EXPECT_EQ(traffic->chart().yValue(2, 10 * 60), before);
    EXPECT_EQ(before, 1); // the inbound call of the first day, at 10:00

    // Closing and opening again recomputes from the current pickers.
    distribution->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(context.find(QStringLiteral("frmCallDistribution")), nullptr);
    find<QPushButton>("cmdCallDistribution")->click();
    auto* reopened =
        qobject_cast<reports::ChartWindow*>(context.find(QStringLiteral("frmCallDistribution")));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->chart().headerText().contains(QStringLiteral("From 8:00:00")));
    QApplication::closeAllWindows();
}

// The History tab reads the folder itself: it runs before any "Load Data",
// offers the folder's days in date order, checks the range and opens the
// History window; a day clicked there is loaded in the main window.
TEST_F(FrmMainTest, HistoryRunsWithoutLoadDataAndItsDaysLoadInTheMainWindow) {
    writeLog("20090117",
             logLine("2009-01-17 09:00:00", "1162", "NEW CALL", "Port3", 1, 9) +
                 logLine("2009-01-17 09:30:00", "1163", "CALL DISCONNECT", "Port3", 0, 10));
    writeLog("20090115",
             logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 1, 9) +
                 logLine("2009-01-15 11:00:00", "1163", "CALL DISCONNECT", "Port2", 0, 10));
    writeLog("20090116", logLine("2009-01-16 10:00:00", "1163", "CALL DISCONNECT", "Port2", 0, 10));
    browseTo(logs());
    auto* from = find<QComboBox>("cmbHistoryFrom");
    auto* to = find<QComboBox>("cmbHistoryTo");
    ASSERT_EQ(from->count(), 3);
    EXPECT_EQ(from->currentData().toDate(), QDate(2009, 1, 15));
    EXPECT_EQ(to->currentData().toDate(), QDate(2009, 1, 17));
    EXPECT_TRUE(enabled("cmdRunHistory"));
    EXPECT_TRUE(reportsDisabled());

    from->setCurrentIndex(2);
    to->setCurrentIndex(0);
    find<QPushButton>("cmdRunHistory")->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("The From day must not be after the To day.")});
    EXPECT_EQ(window().historyWindow(), nullptr);

    // The 16th has no call: it is left out.
    dialogs.messages.clear();
    from->setCurrentIndex(0);
    to->setCurrentIndex(2);
    find<QPushButton>("cmdRunHistory")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty())
        << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    const reports::frmHistory* history = window().historyWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    ASSERT_EQ(history->days().size(), 2u);
    EXPECT_EQ(history->days()[1].day, QDate(2009, 1, 17));
    EXPECT_NEAR(history->days()[0].busyHourErlangs, 1.0, 1e-9) << "an hour-long call";
    EXPECT_TRUE(history->verdictShown().contains(
        {QStringLiteral("Trend:"), QStringLiteral("not enough days for a trend")}));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("History.db"))))
        << "the day cache sits beside the working database";
    EXPECT_TRUE(reportsDisabled()) << "running the history loads no day";

    // Clicking the 17th in the grid loads it.
    QTableWidget* grid = history->grid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("2009-01-17"));
    emit grid->cellClicked(1, 3);
    EXPECT_EQ(find<QComboBox>("cmbReportDate")->currentData().toDate(), QDate(2009, 1, 17));
    EXPECT_TRUE(reportsEnabled());
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(
        QStringLiteral("Call information found in logs for 1/17/2009")));

    // The PDF report of the loaded day closes with the history's page.
    dialogs.saveAnswers << dir.file(QStringLiteral("manager.pdf"));
    window().findChild<QAction*>(QStringLiteral("mnuExportPdf"))->trigger();
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {dir.file(QStringLiteral("manager.pdf")), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains(QStringLiteral("History from 2009-01-15 to 2009-01-17")))
        << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(QStringLiteral("Trend: not enough days for a trend")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Wednesday")));

    // A range without calls says so and leaves the window as it was.
    dialogs.messages.clear();
    from->setCurrentIndex(1);
    to->setCurrentIndex(1);
    find<QPushButton>("cmdRunHistory")->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("No day from")));
    EXPECT_EQ(window().historyWindow()->days().size(), 2u);
}

TEST_F(FrmMainTest, SavedDatabaseOptionOnlySwapsTheBrowseButtons) {
    find<QRadioButton>("optLoadFromDatabase")->click();
    EXPECT_FALSE(enabled("cmdBrowseForDiagFile"));
    EXPECT_TRUE(enabled("cmdBrowseForDatabase"));
}

TEST_F(FrmMainTest, CommandLineFolderFillsTheDayList) {
    writeLog("20090115", "");
    window().openLogFolder(logs());
    EXPECT_EQ(find<QComboBox>("cmbReportDate")->count(), 1);
    EXPECT_TRUE(enabled("cmdParseLogs"));
}

} // namespace
} // namespace tarrow::app
