#include "charts/widgets/chart2d.h"
#include "platform/widgets/twips.h"
#include "reports/timeofday/widgets/frmcalltraffic.h"
#include "reports/timeofday/widgets/frmportavailability.h"
#include "support/widgets/chartoutput.h"
#include "support/widgets/reportwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocale>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

using charts::Chart2D;

class TimeOfDayWindowTest : public ::testing::Test, protected testing::ReportWindowFixture {
protected:
    TimeOfDayWindowTest() { state.day.peakAvailable = 16; }
    static std::pair<double, double> xRange(const TimeOfDayWindow& w) {
        return {w.chart().axisMin(Chart2D::X), w.chart().axisMax(Chart2D::X)};
    }
};

TEST_F(TimeOfDayWindowTest, PortAvailabilityOpensOnTwelveHoursWithOnlyAvailableLines) {
    addRow(1, 1, 600, 3, 11);
    const auto w = open<frmPortAvailability>();
    const Chart2D& chart = w->chart();
    EXPECT_EQ(xRange(*w), std::make_pair(359.0, 1078.0));
    EXPECT_EQ(w->scrollBar().value(), 360);
    EXPECT_TRUE(chart.seriesShown(1));
    EXPECT_FALSE(chart.seriesShown(2));
    ASSERT_EQ(chart.pointCount(), 1440);
    EXPECT_EQ(chart.xValue(600), 600);
    EXPECT_EQ(chart.yValue(1, 600), 11);
    EXPECT_EQ(chart.yValue(2, 600), 3);
    EXPECT_EQ(chart.yValue(1, 1440), 16);
    EXPECT_EQ(chart.headerText(),
              QStringLiteral("Port Availability Report for Saturday, March 7, 2009"));
    EXPECT_EQ(chart.legendTitle(), QStringLiteral("Legend"));
    EXPECT_TRUE(find<QCheckBox>(*w, "chkShowData_0")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*w, "chkShowData_1")->isChecked());
    EXPECT_TRUE(find<QAction>(*w, "mnuZoom_1")->isChecked());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(status.captions, (QStringList{QStringLiteral("Crunching database..."),
                                            QStringLiteral("Generating report, please wait...")}));

    // A second opening draws the stored figures without computing them again.
    status.captions.clear();
    (void)open<frmPortAvailability>();
    EXPECT_FALSE(status.captions.contains(QStringLiteral("Crunching database...")));
}

TEST_F(TimeOfDayWindowTest, EmptyDayDrawsFlatChartAndSaysSo) {
    addRow(1, 1, 0, 3, 11); // minute 0 only
    const auto w = open<frmPortAvailability>();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("No call activity found in log!")});
    EXPECT_EQ(w->chart().yValue(1, 720), 16);
    EXPECT_EQ(w->chart().yValue(2, 720), 0);
}

TEST_F(TimeOfDayWindowTest, ZoomAndScrollShowTheirRanges) {
    const auto w = open<frmPortAvailability>();
    QScrollBar& bar = w->scrollBar();
    struct Step {
        int zoom;  // -1: move the scroll bar instead
        int value; // scroll value to set first (or -1)
        int expectValue;
        double lo, hi;
    };
    const Step steps[] = {
        {0, 360, 360, 0, 1440},      // no Zoom from anywhere: the whole day
        {3, 1400, 1380, 1380, 1440}, // one hour near the end moves back
        {2, 100, 100, 100, 340},
        {-1, 110, 110, 109, 348}, // one arrow click in the four-hour
                                  // view
        {-1, 1300, 1300, 1199, 1439},
        {3, -1, 1300, 1300, 1360},
        {-1, 1440, 1440, 1379, 1439},
        {1, 360, 360, 360, 1080},
        // Through the whole day and back: the view returns to where it was.
        {0, -1, 360, 0, 1440},
        {3, -1, 360, 360, 420},
    };
    for (const Step& s : steps) {
        if (s.zoom >= 0) {
            if (s.value >= 0)
                bar.setValue(s.value);
            find<QAction>(*w, qPrintable(QStringLiteral("mnuZoom_%1").arg(s.zoom)))->trigger();
        } else {
            bar.setValue(s.value);
        }
        EXPECT_EQ(bar.value(), s.expectValue) << s.zoom << '/' << s.value;
        EXPECT_EQ(xRange(*w), std::make_pair(s.lo, s.hi)) << s.zoom << '/' << s.value;
    }
    find<QAction>(*w, "mnuZoom_0")->trigger();
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_TRUE(find<QAction>(*w, "mnuZoom_0")->isChecked());
    EXPECT_FALSE(find<QAction>(*w, "mnuZoom_1")->isChecked());
    find<QAction>(*w, "mnuZoom_2")->trigger();
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.singleStep(), 10);
    EXPECT_EQ(bar.pageStep(), 240);

    // The arrow keys and the wheel over the chart move a zoomed chart along.
    bar.setValue(600);
    QTest::keyClick(w.get(), Qt::Key_Right);
    EXPECT_EQ(bar.value(), 610);
    QTest::keyClick(w.get(), Qt::Key_Left);
    EXPECT_EQ(bar.value(), 600);
    QTest::keyClick(w.get(), Qt::Key_PageDown);
    EXPECT_EQ(bar.value(), 840);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w->chart(), &wheel);
    EXPECT_GT(bar.value(), 840);
}

TEST_F(TimeOfDayWindowTest, CheckBoxesShowAndHideSeriesKeepingData) {
    addRow(1, 1, 600, 3, 11);
    const auto w = open<frmPortAvailability>();
    auto* busy = find<QCheckBox>(*w, "chkShowData_1");
    busy->click();
    EXPECT_TRUE(w->chart().seriesShown(2));
    busy->click();
    EXPECT_FALSE(w->chart().seriesShown(2));
    EXPECT_EQ(w->chart().yValue(2, 600), 3);
    find<QCheckBox>(*w, "chkShowData_0")->click();
    EXPECT_FALSE(w->chart().seriesShown(1));
}

TEST_F(TimeOfDayWindowTest, ResizeKeepsTheMinimumAndFitsChartAndScrollBar) {
    const auto w = open<frmPortAvailability>();
    w->show();
    w->resize(platform::twips(5000), platform::twips(4000));
    QApplication::processEvents();
    const QSize frame = w->frameGeometry().size() - w->size();
    const QSize outer = w->size() + frame;
    EXPECT_EQ(outer, QSize(platform::twips(7005), platform::twips(5414)));
    EXPECT_EQ(w->chart().width(), outer.width() - platform::twips(400));
    EXPECT_EQ(w->chart().height(), outer.height() - platform::twips(1863));
    EXPECT_EQ(w->scrollBar().y(), w->chart().y() + w->chart().height() + platform::twips(40));
    EXPECT_EQ(w->scrollBar().width(), w->chart().width());
}

TEST_F(TimeOfDayWindowTest, CallTrafficDrawsFiveSeriesInItsOrder) {
    addRow(1, 1, 600, 1, 1);
    addRow(2, 1, 600, 1, 1);
    addRow(3, 4, 600, 1, 1);
    addRow(4, 3, 601, 1, 1);
    const auto w = open<frmCallTraffic>();
    const Chart2D& chart = w->chart();
    ASSERT_EQ(chart.seriesCount(), 5);
    EXPECT_EQ(chart.yValue(1, 600), 1); // TRAP
    EXPECT_EQ(chart.yValue(2, 600), 2); // inbound
    EXPECT_EQ(chart.yValue(5, 601), 1); // MWI
    for (int s = 1; s <= 5; ++s)
        EXPECT_TRUE(chart.seriesShown(s));
    // Left to right the boxes read Inbound, TRAP, Notification, AMIS, MWI.
    QList<QCheckBox*> boxes = w->findChildren<QCheckBox*>();
    std::sort(boxes.begin(), boxes.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList captions;
    for (auto* box : boxes)
        captions << box->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Inbound Calls"), QStringLiteral("TRAP Dailouts"),
                           QStringLiteral("Notification Dialouts"), QStringLiteral("AMIS Dialouts"),
                           QStringLiteral("MWI Dialouts")}));
    find<QCheckBox>(*w, "chkESeries1_0")->click();
    EXPECT_FALSE(chart.seriesShown(1));
    EXPECT_EQ(status.captions.last(), QStringLiteral("Generating report..."));
}

TEST_F(TimeOfDayWindowTest, SummaryGridAndCsvSaving) {
    addRow(1, 1, 500, 4, 12);
    const auto w = open<frmPortAvailability>();
    find<QAction>(*w, "mnuSummaryInfo")->trigger();
    auto* summary = qobject_cast<SummaryWindow*>(
        context.windows().find(QStringLiteral("frmPortAvailabilitySummary")));
    ASSERT_NE(summary, nullptr);
    QTableWidget& grid = summary->grid();
    ASSERT_EQ(grid.rowCount(), 24);
    EXPECT_EQ(grid.horizontalHeaderItem(2)->text(),
              QStringLiteral("Min Ports Available To Take Calls"));
    EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral(" 1"));
    EXPECT_EQ(grid.item(8, 1)->text(), QStringLiteral(" 4"));

    // The summary window exists once.
    find<QAction>(*w, "mnuSummaryInfo")->trigger();
    EXPECT_EQ(context.windows().find(QStringLiteral("frmPortAvailabilitySummary")), summary);

    const QString target = dir.write(QStringLiteral("out/old.csv"), QByteArray(9000, 'z'));
    dialogs.saveAnswers << target;
    summary->saveCsv();
    EXPECT_TRUE(dialogs.saveInitials.last().endsWith(
        QStringLiteral("PortAvailabilitySummary_3_7_2009.csv")));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Summary information saved")});
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith(
        "Hour, Max ports in use, Minimum ports available to take calls\r\n1,0,16\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n9,4,12\r\n"));

    dialogs.messages.clear();
    summary->saveCsv(); // Cancel
    EXPECT_TRUE(dialogs.messages.isEmpty());
    dialogs.saveAnswers << dir.file(QStringLiteral("nowhere/x.csv"));
    summary->saveCsv();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Warning);
    summary->close();
}

TEST_F(TimeOfDayWindowTest, BitmapExportAndPrinting) {
    addRow(1, 1, 600, 3, 11);
    const auto w = open<frmCallTraffic>();
    w->show();
    dialogs.saveAnswers << dir.file(QStringLiteral("chart"));
    support::SaveChartToBitmap(w->chart(), dialogs, QStringLiteral("CallTrafficGraph_"),
                               QDate(2009, 3, 7));
    EXPECT_TRUE(
        dialogs.saveInitials.last().endsWith(QStringLiteral("CallTrafficGraph_3_7_2009.BMP")));
    QFile bitmap(dir.file(QStringLiteral("chart.BMP")));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bitmap.read(2) == "BM");

    // The File menu saves the chart as a drawing too, under its day's name.
    dialogs.saveAnswers << dir.file(QStringLiteral("drawing"));
    find<QAction>(*w, "SaveChartSvg")->trigger();
    EXPECT_TRUE(
        dialogs.saveInitials.last().endsWith(QStringLiteral("CallTrafficGraph_3_7_2009.svg")));
    QFile drawing(dir.file(QStringLiteral("drawing.svg")));
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    EXPECT_TRUE(drawing.readAll().contains("<svg"));

    // Cancelling the print writes nothing and says nothing.
    find<QAction>(*w, "PrintChart")->trigger();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("temp.bmp"))));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    dialogs.printToPdf = dir.file(QStringLiteral("print.pdf"));
    dialogs.printOrientation = QPageLayout::Landscape;
    find<QAction>(*w, "PrintChart")->trigger();
    EXPECT_TRUE(dialogs.messages.isEmpty())
        << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("temp.bmp"))))
        << "the staging picture goes once printed";
    QFile pdf(dialogs.printToPdf);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    // A staging folder that cannot be written is reported, and printing goes on
    // with the orientation chosen last.
    context.folder = dir.file(QStringLiteral("missing"));
    dialogs.printOrientation = QPageLayout::Portrait;
    find<QAction>(*w, "PrintChart")->trigger();
    EXPECT_EQ(dialogs.offeredOrientations.last(), QPageLayout::Landscape);
    dialogs.printToPdf.clear();
    find<QAction>(*w, "PrintChart")->trigger();
    EXPECT_EQ(dialogs.offeredOrientations.last(), QPageLayout::Portrait);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(
        dialogs.messages[0].text.startsWith(QStringLiteral("Error in PrintChart routine: ")));
}

} // namespace
} // namespace tarrow::reports
