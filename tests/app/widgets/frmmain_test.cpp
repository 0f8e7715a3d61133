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

const QString kNoFiles = QStringLiteral(
    "No valid diagnostic files found in that directory... The Tarrow only works with data files "
    "produced by Mervox 3.1(4) or later.");

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
    window().waitForWork();
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

// A folder typed in and confirmed lists its own days; until a day of it is
// loaded, reports stay off (the day loaded is of the folder before). A day
// without any log file says so, not that the logs are too old.
TEST_F(FrmMainTest, ATypedFolderListsItsOwnDays) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    dir.write(QStringLiteral("other/data_qnhcmgr_20090301.csv"),
              logLine("2009-03-01 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    ASSERT_TRUE(reportsEnabled());

    auto* folder = find<QLineEdit>("txtDiagFilePath");
    folder->setText(dir.file(QStringLiteral("other")));
    emit folder->editingFinished();
    auto* days = find<QComboBox>("cmbReportDate");
    ASSERT_EQ(days->count(), 1);
    EXPECT_EQ(days->itemData(0).toDate(), QDate(2009, 3, 1));
    EXPECT_TRUE(reportsDisabled()) << "the loaded day is of the folder before";

    // The file of the listed day goes before Load Data.
    QFile::remove(dir.file(QStringLiteral("other/data_qnhcmgr_20090301.csv")));
    dir.write(QStringLiteral("other/data_qnhcmgr_20090310.csv"), QByteArray());
    dialogs.messages.clear();
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    EXPECT_EQ(dialogs.texts().last(),
              QStringLiteral("There is no log file for 2009-03-01 in this folder: nothing was "
                             "loaded."));
}

TEST_F(FrmMainTest, LoadDataEnablesReportsOrReportsNoData) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8) +
                             logLine("garbage", "1162", "NEW CALL", "Port2", 2, 8));
    writeLog("20090120", logLine("2009-01-20 10:00:00", "1163", "CALL DISCONNECT", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
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
    window().waitForWork();
    EXPECT_EQ(dialogs.texts(), QStringList{load::noDataMessage()});
    EXPECT_TRUE(reportsDisabled());
}

TEST_F(FrmMainTest, LoadDataThatCannotBeStoredSaysSoAndRunsNoReport) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    state.database.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON RawPortData "
                             "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;");
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("database or disk is full")));
    EXPECT_EQ(dialogs.messages[1].text, load::storeFailedMessage());
    EXPECT_EQ(dialogs.messages[1].icon, platform::MessageIcon::Warning);
    EXPECT_TRUE(reportsDisabled());
}

TEST_F(FrmMainTest, LoadDataOnAVanishedFolderSaysSo) {
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    QDir(logs()).removeRecursively();
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("does not exist")));
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
