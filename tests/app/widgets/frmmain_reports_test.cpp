// The main window's report tabs: ranges, one window per report, the History tab.
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
#include <QTest>
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

TEST_F(FrmMainTest, PerPortReportsCheckTheirRange) {
    int opened = 0;
    window().setReportOpener(reports::ReportId::CallDistribution, [&] { ++opened; });
    writeLog("20090115", logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    dialogs.messages.clear();

    find<QPushButton>("cmdCallDistribution")->click(); // 00:00:00 through 23:59:59
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(window().reportRange(reports::ReportId::CallDistribution), std::make_pair(0, 1439));

    // Enter in a time field runs the report of that tab.
    QTest::keyClick(find<QTimeEdit>("CallDistributionEndTime"), Qt::Key_Return);
    EXPECT_EQ(opened, 2);
    opened = 1;

    find<QTimeEdit>("CallDistributionStartTime")->setTime(QTime(10, 0, 0));
    find<QTimeEdit>("CallDistributionEndTime")->setTime(QTime(10, 0, 59));
    find<QPushButton>("cmdCallDistribution")->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("The end time must be greater than the start time for a "
                                         "report to be generated!")});
}

// A report window exists once. Run Report only brings it forward while it
// shows the loaded day with the tab's choices; once they changed it is
// computed anew in place, and a load brings every open window to the new day.
TEST_F(FrmMainTest, EachReportWindowExistsOnceAndFollowsTheDayAndItsRange) {
    writeLog("20090115",
             logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8) +
                 logLine("2009-01-15 10:05:00", "1163", "CALL DISCONNECT", "Port2", 1, 9));
    writeLog("20090116", logLine("2009-01-16 10:00:00", "1162", "NEW CALL", "Port3", 2, 8));
    browseTo(logs());
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
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
    const QDate first = distribution->shownDay();
    find<QPushButton>("cmdCallDistribution")->click();
    EXPECT_EQ(context.find(QStringLiteral("frmCallDistribution")), distribution);
    EXPECT_TRUE(distribution->chart().headerText().contains(QStringLiteral("From 12:00:00 AM")) ||
                distribution->chart().headerText().contains(QStringLiteral("From 0:00:00")))
        << distribution->chart().headerText().toStdString();

    find<QTimeEdit>("CallDistributionStartTime")->setTime(QTime(8, 0));
    find<QPushButton>("cmdCallDistribution")->click();
    EXPECT_EQ(context.find(QStringLiteral("frmCallDistribution")), distribution)
        << "still one window";
    EXPECT_TRUE(distribution->chart().headerText().contains(QStringLiteral("8:00:00")))
        << distribution->chart().headerText().toStdString();

    // Loading another day: no report window takes input while the load runs,
    // and every open one shows the new day after it.
    auto* traffic =
        qobject_cast<reports::ChartWindow*>(context.find(QStringLiteral("frmCallTraffic")));
    find<QComboBox>("cmbReportDate")->setCurrentIndex(1);
    bool enabledDuringLoad = true;
    QTimer::singleShot(0, [&] { enabledDuringLoad = traffic->isEnabled(); });
    find<QPushButton>("cmdParseLogs")->click();
    window().waitForWork();
    EXPECT_FALSE(enabledDuringLoad);
    EXPECT_TRUE(traffic->isEnabled());
    EXPECT_NE(traffic->shownDay(), first);
    EXPECT_EQ(traffic->shownDay(), distribution->shownDay());
    EXPECT_TRUE(traffic->chart().headerText().contains(QStringLiteral("16")))
        << traffic->chart().headerText().toStdString();

    // Escape closes a report window.
    QTest::keyClick(traffic, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(context.find(QStringLiteral("frmCallTraffic")), nullptr);
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
    window().waitForWork();
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("The From day must not be after the To day.")});
    EXPECT_EQ(window().historyWindow(), nullptr);

    // The 16th has no call: it is left out.
    dialogs.messages.clear();
    from->setCurrentIndex(0);
    to->setCurrentIndex(2);
    find<QPushButton>("cmdRunHistory")->click();
    window().waitForWork();
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
    window().waitForWork();
    EXPECT_EQ(find<QComboBox>("cmbReportDate")->currentData().toDate(), QDate(2009, 1, 17));
    EXPECT_TRUE(reportsEnabled());
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(
        QStringLiteral("Call information found in logs for 1/17/2009")));

    // The PDF report of the loaded day closes with the history's page.
    dialogs.saveAnswers << dir.file(QStringLiteral("manager.pdf"));
    window().findChild<QAction*>(QStringLiteral("mnuExportPdf"))->trigger();
    window().waitForWork();
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
    window().waitForWork();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("No day from")));
    EXPECT_EQ(window().historyWindow()->days().size(), 2u);
}

} // namespace
} // namespace tarrow::app
