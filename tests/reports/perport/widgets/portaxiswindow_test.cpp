#include "charts/widgets/chart2d.h"
#include "platform/widgets/twips.h"
#include "reports/perport/perportreport.h"
#include "reports/perport/widgets/frmcalldistribution.h"
#include "reports/perport/widgets/frmporttimeuse.h"
#include "support/widgets/reportwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QScrollBar>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

using charts::Chart2D;
using platform::twips;

class PortAxisWindowTest : public ::testing::Test, protected testing::ReportWindowFixture {
protected:
    PortAxisWindowTest() { state.day.peakPort = 48; }
    template <typename W> std::unique_ptr<W> open() {
        ranges[ReportId::CallDistribution] = {from, to};
        ranges[ReportId::PortTimeUse] = {from, to};
        return ReportWindowFixture::open<W>();
    }
    // One closed inbound call on each port from 1 to highest.
    void callsOnPorts(int highest) {
        for (int port = 1; port <= highest; ++port)
            addRow(port, 1, 600, 1, 1, 601, 60 * port);
    }
    static std::pair<double, double> xRange(const ChartWindow& w) {
        return {w.chart().axisMin(Chart2D::X), w.chart().axisMax(Chart2D::X)};
    }

    QTime from = QTime(0, 0);
    QTime to = QTime(23, 59, 59);
};

TEST_F(PortAxisWindowTest, ZoomAndScrollOverFortyEightPorts) {
    callsOnPorts(48);
    const auto w = open<frmCallDistribution>();
    QScrollBar& bar = w->scrollBar();
    EXPECT_EQ(xRange(*w), std::make_pair(1.0, 49.0));
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_TRUE(find<QAction>(*w, "mnuZoomNone")->isChecked());
    EXPECT_TRUE(find<QAction>(*w, "mnuZoom")->isEnabled());

    struct Step {
        int zoom; // -1: move the scroll bar to value
        int value;
        int expectValue;
        double lo, hi;
    };
    const Step steps[] = {
        {1, -1, 1, 1, 25},   {-1, 10, 10, 9, 33}, {-1, 30, 30, 23, 48}, // last port 53 is past 48
        {1, -1, 25, 25, 49}, // choosing the 24-port view again from 30
        {0, -1, 1, 1, 49},
    };
    for (const Step& s : steps) {
        if (s.zoom == 0)
            find<QAction>(*w, "mnuZoomNone")->trigger();
        else if (s.zoom == 1)
            find<QAction>(*w, "mnuZoom24Ports")->trigger();
        else
            bar.setValue(s.value);
        EXPECT_EQ(bar.value(), s.expectValue) << s.zoom << '/' << s.value;
        EXPECT_EQ(xRange(*w), std::make_pair(s.lo, s.hi)) << s.zoom << '/' << s.value;
    }
    find<QAction>(*w, "mnuZoom24Ports")->trigger();
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.pageStep(), 24);
    EXPECT_EQ(bar.singleStep(), 1);
    EXPECT_FALSE(find<QAction>(*w, "mnuZoomNone")->isChecked());
}

TEST_F(PortAxisWindowTest, ZoomMenuOnlyAboveTwentyFourPorts) {
    struct Case {
        int highest;
        bool zoom;
    };
    for (const Case& c : {Case{16, false}, Case{24, false}, Case{25, true}}) {
        state.day.rows.clear();
        callsOnPorts(c.highest);
        const auto w = open<frmCallDistribution>();
        EXPECT_EQ(w->highestPortInRange(), c.highest);
        EXPECT_EQ(find<QAction>(*w, "mnuZoom")->isEnabled(), c.zoom) << c.highest;
        EXPECT_EQ(w->chart().pointCount(), 48) << "one point per port up to the peak port";
    }
}

TEST_F(PortAxisWindowTest, SeveralHundredPortsStayReadable) {
    state.day.peakPort = 300;
    callsOnPorts(300);
    const auto w = open<frmCallDistribution>();
    w->show();
    QApplication::processEvents();
    const Chart2D& chart = w->chart();
    EXPECT_EQ(chart.pointCount(), 300);
    EXPECT_TRUE(chart.drawsBars()) << "a per-port chart is bars at any port count";
    EXPECT_EQ(xRange(*w), std::make_pair(1.0, 301.0));
    const QStringList labels = chart.visibleXLabels();
    EXPECT_GE(labels.size(), 2);
    EXPECT_LE(labels.size() * 40, chart.width()) << "port numbers are thinned to fit";
    find<QAction>(*w, "mnuZoom24Ports")->trigger();
    w->scrollBar().setValue(290);
    EXPECT_EQ(xRange(*w), std::make_pair(275.0, 300.0)); // last port 300, first shown 276
    // Zoomed in, the labels are the ports in view, closer together.
    const QStringList zoomed = chart.visibleXLabels();
    EXPECT_GE(zoomed.size(), 8);
    for (const QString& label : zoomed)
        EXPECT_TRUE(label.toInt() >= 275 && label.toInt() <= 300) << label.toStdString();
}

TEST_F(PortAxisWindowTest, RangeWithoutCallsShowsZerosWithoutErrors) {
    callsOnPorts(10);
    from = QTime(20, 0);
    const auto w = open<frmPortTimeUse>();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(find<QAction>(*w, "mnuZoom")->isEnabled());
    EXPECT_FALSE(w->scrollBar().isEnabled());
    EXPECT_EQ(w->chart().yValue(1, 5), 0);
    EXPECT_EQ(xRange(*w), std::make_pair(1.0, 49.0));

    state.day.peakPort = 0; // every call on port 0
    const auto none = open<frmCallDistribution>();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(none->chart().pointCount(), 0);
}

TEST_F(PortAxisWindowTest, ChartContentHeaderAndLabels) {
    addRow(2, 1, 600, 1, 1, 601, 60);
    addRow(2, 1, 602, 1, 1, 604, 90);
    addRow(2, 3, 605, 1, 1, 605, 30);
    from = QTime(8, 0);
    to = QTime(17, 0);
    const auto w = open<frmPortTimeUse>();
    const Chart2D& chart = w->chart();
    EXPECT_EQ(chart.yValue(1, 2), 150);
    EXPECT_EQ(chart.yValue(2, 2), 30);
    EXPECT_TRUE(chart.headerText().startsWith(QStringLiteral("Port Time Usage Report for ")));
    EXPECT_TRUE(chart.headerText().contains(QStringLiteral("\r\nFrom ")));
    const auto labels = chart.valueLabels(Chart2D::X);
    ASSERT_EQ(labels.size(), 48);
    EXPECT_EQ(labels[4], qMakePair(5.0, QStringLiteral("5")));
    EXPECT_TRUE(chart.drawsBars());

    const auto cd = open<frmCallDistribution>();
    EXPECT_EQ(cd->chart().yValue(1, 2), 2);
    EXPECT_EQ(cd->chart().yValue(2, 2), 1); // MWI is series 2
}

TEST_F(PortAxisWindowTest, TotalTimeOptionAndSeriesBoxes) {
    callsOnPorts(30);
    from = QTime(8, 0);
    to = QTime(17, 0);
    const auto w = open<frmPortTimeUse>();
    const int automatic = w->automaticYMax();
    EXPECT_GE(automatic, 1800); // port 30 used 1800 seconds
    auto* option = find<QCheckBox>(*w, "chkYAxesSetToTotalTime");
    EXPECT_FALSE(option->isChecked());
    option->click();
    EXPECT_EQ(w->chart().GetAxisMax(Chart2D::Y), 32400);
    option->click();
    EXPECT_EQ(w->chart().GetAxisMax(Chart2D::Y), automatic);

    auto* mwi = find<QCheckBox>(*w, "chkESeries1_1");
    EXPECT_EQ(mwi->text(), QStringLiteral("MWI Dialouts"));
    mwi->click();
    EXPECT_FALSE(w->chart().seriesShown(2));
    EXPECT_TRUE(w->chart().seriesShown(1));
    mwi->click();
    EXPECT_TRUE(w->chart().seriesShown(2));

    const auto cd = open<frmCallDistribution>();
    EXPECT_EQ(cd->findChild<QCheckBox*>(QStringLiteral("chkYAxesSetToTotalTime")), nullptr);
    EXPECT_EQ(find<QCheckBox>(*cd, "chkESeries1_3")->text(), QStringLiteral("TRAP Dailouts"));
}

TEST_F(PortAxisWindowTest, ResizeRule) {
    const auto w = open<frmCallDistribution>();
    w->show();
    w->resize(twips(5000), twips(3000));
    QApplication::processEvents();
    const QSize frame = w->frameGeometry().size() - w->size();
    const QSize outer = w->size() + frame;
    EXPECT_EQ(outer, QSize(twips(7170), twips(4980)));
    const int inner = w->centralWidget()->height();
    EXPECT_EQ(w->chart().width(), outer.width() - twips(360));
    EXPECT_EQ(w->chart().height(), inner - twips(1155));
    EXPECT_EQ(w->scrollBar().y(), inner - twips(270));
    EXPECT_EQ(w->scrollBar().width(), w->chart().width());
}

TEST_F(PortAxisWindowTest, SummaryWindowShowsStoredFigures) {
    addRow(2, 1, 600, 1, 1, 601, 3600);
    const auto w = open<frmPortTimeUse>();
    find<QAction>(*w, "mnuShowSummary")->trigger();
    auto* summary = qobject_cast<SummaryWindow*>(
        context.windows().find(QStringLiteral("frmPortTimeUseSummary")));
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->grid().rowCount(), 48);
    EXPECT_EQ(summary->grid().item(1, 1)->text(), QStringLiteral("3600"));
    EXPECT_EQ(summary->grid().horizontalHeaderItem(4)->text(),
              QStringLiteral("TRAP Dailout Seconds"));
    dialogs.saveAnswers << dir.file(QStringLiteral("time.csv"));
    summary->saveCsv();
    EXPECT_TRUE(
        dialogs.saveInitials.last().endsWith(QStringLiteral("PortTimeUseSummary_3_7_2009.csv")));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Summary information saved")});
    summary->close();

    // A summary's notices are told once each, and the grid keeps going.
    SummaryTable noticed = perPortSummary(PerPortReport::CallDistribution, {{}, {}, {}});
    noticed.notices << QStringLiteral("First notice") << QStringLiteral("Second notice");
    dialogs.messages.clear();
    frmCallDistributionSummary told(context, noticed, QDate(2009, 3, 7));
    told.load();
    EXPECT_EQ(dialogs.texts(),
              (QStringList{QStringLiteral("First notice"), QStringLiteral("Second notice")}));
    EXPECT_EQ(told.grid().item(2, 0)->text(), QStringLiteral("3"));
}

} // namespace
} // namespace tarrow::reports
