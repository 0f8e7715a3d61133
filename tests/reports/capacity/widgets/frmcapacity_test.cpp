#include "charts/widgets/chart2d.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/widgets/frmcapacity.h"
#include "support/widgets/reportwindowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

using charts::Chart2D;

class CapacityWindowTest : public ::testing::Test, protected testing::ReportWindowFixture {
protected:
    CapacityWindowTest() {
        // Ten answer ports busy from 10:00 to 11:00 (five of them with MWI
        // dial-outs), and the server out of lines for a minute of it; two
        // dial-out ports placed short calls in the afternoon.
        for (int port = 1; port <= 10; ++port)
            addRow(port, port % 2 ? 1 : 3, 600, port, 11 - port, 660, 3600);
        for (int port = 2; port <= 10; port += 2)
            addRow(port, 1, 1200, 1, 9, 1201, 60);
        addRow(13, 99, 630, 10, 0);
        addRow(14, 99, 631, 9, 1);
        addRow(11, 2, 900, 1, 5, 901, 60);
        addRow(12, 5, 900, 2, 5, 901, 60);
    }
    std::unique_ptr<frmCapacity> open() { return ReportWindowFixture::open<frmCapacity>(); }
    static QString shown(const frmCapacity& w, const QString& label) {
        for (const auto& [l, value] : w.verdictShown())
            if (l == label + QLatin1Char(':'))
                return value;
        return QStringLiteral("<none>");
    }
};

TEST_F(CapacityWindowTest, OpensOnTheWholeDayWithTheVerdictAtTheTabsChoice) {
    sizing = {0, 0.05, 0};
    const auto w = open();
    const Chart2D& chart = w->chart();
    EXPECT_EQ(chart.headerText(), QStringLiteral("Capacity Report for Saturday, March 7, 2009"));
    EXPECT_EQ(chart.axisMin(Chart2D::X), 0);
    EXPECT_EQ(chart.axisMax(Chart2D::X), 1440);
    EXPECT_TRUE(find<QAction>(*w, "mnuZoom_0")->isChecked());
    ASSERT_EQ(chart.seriesCount(), 7);
    EXPECT_EQ(chart.seriesKind(1), charts::SeriesKind::Stacked);
    EXPECT_EQ(chart.seriesKind(7), charts::SeriesKind::Level);
    ASSERT_TRUE(chart.band().has_value());
    EXPECT_EQ(chart.band()->from, 600);
    EXPECT_EQ(chart.band()->to, 660);
    // 10:00 is point 81: inbound 5 E, MWI 5 E stacked on it.
    EXPECT_EQ(chart.xValue(81), 600);
    EXPECT_DOUBLE_EQ(chart.yValue(1, 81), 5.0);
    EXPECT_DOUBLE_EQ(chart.stackedTop(2, 81), 10.0);
    EXPECT_DOUBLE_EQ(chart.yValue(6, 1), 10.0) << "the answer ports";

    EXPECT_EQ(find<QSpinBox>(*w, "spnPortsInService")->value(), 0);
    EXPECT_EQ(find<QComboBox>(*w, "cmbTargetBlocking")->currentText(), QStringLiteral("5 %"));
    EXPECT_EQ(w->sizing().ports, 10);
    EXPECT_DOUBLE_EQ(w->sizing().gos, 0.05);
    // Ten answer ports carried 10 E through the hour: saturated.
    EXPECT_EQ(w->sizing().verdict, Verdict::NotEnough);
    EXPECT_TRUE(w->headline().startsWith(
        QStringLiteral("Not enough ports: all 10 answer ports were in use through the busy hour")))
        << w->headline().toStdString();
    EXPECT_EQ(shown(*w, QStringLiteral("Offered traffic")),
              QStringLiteral("demand cannot be estimated: the ports were saturated"));
    EXPECT_EQ(shown(*w, QStringLiteral("Busy hour")), QStringLiteral("10:00\u201311:00"));
    EXPECT_EQ(shown(*w, QStringLiteral("Carried traffic")), QStringLiteral("10.000 E"));
    EXPECT_EQ(shown(*w, QStringLiteral("Answer / dial-out ports")), QStringLiteral("10 / 2"));
    EXPECT_EQ(shown(*w, QStringLiteral("All ports busy")), QStringLiteral("60 s in 1 spells"));
    EXPECT_EQ(shown(*w, QStringLiteral("Longest all-busy spell")), QStringLiteral("60 s"));
    EXPECT_EQ(shown(*w, QStringLiteral("Peak lines / concurrent calls")),
              QStringLiteral("10 / 10"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CapacityWindowTest, WhatIfSizesAgainWithoutRedrawingTheTraffic) {
    const auto w = open();
    const Chart2D& chart = w->chart();
    const double inbound = chart.yValue(1, 81);
    find<QSpinBox>(*w, "spnPortsInService")->setValue(16);
    EXPECT_EQ(w->sizing().ports, 16);
    EXPECT_DOUBLE_EQ(chart.yValue(6, 100), 16.0);
    EXPECT_EQ(chart.seriesLabel(6), QStringLiteral("Ports that take calls (16)"));
    EXPECT_DOUBLE_EQ(chart.yValue(7, 100), erlang::capacity(16, 0.01));
    const double offered = *erlang::offeredFromCarried(10, 16);
    EXPECT_DOUBLE_EQ(*w->sizing().offeredErlangs, offered);
    EXPECT_EQ(shown(*w, QStringLiteral("Ports to add")),
              QString::number(erlang::portsNeeded(offered, 0.01) - 16));
    EXPECT_TRUE(w->headline().startsWith(QStringLiteral("Not enough ports")));

    // A print of the chart leads with the verdict shown.
    dialogs.printToPdf = dir.file(QStringLiteral("capacity.pdf"));
    find<QAction>(*w, "PrintChart")->trigger();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {dialogs.printToPdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(printed.startsWith(QStringLiteral("Not enough ports"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Ports to add:"))) << printed.toStdString();

    find<QSpinBox>(*w, "spnGrowth")->setValue(50);
    EXPECT_DOUBLE_EQ(*w->sizing().demandErlangs, offered * 1.5);
    EXPECT_EQ(w->sizing().portsNeeded, erlang::portsNeeded(offered * 1.5, 0.01));
    find<QDoubleSpinBox>(*w, "spnRetryShare")->setValue(0.5);
    EXPECT_LT(*w->sizing().freshErlangs, offered);
    EXPECT_EQ(w->sizing().portsNeeded, erlang::portsNeeded(*w->sizing().demandErlangs, 0.01, 0.5));
    auto* target = find<QComboBox>(*w, "cmbTargetBlocking");
    target->setCurrentIndex(target->findText(QStringLiteral("0.1 %")));
    EXPECT_DOUBLE_EQ(w->sizing().gos, 0.001);
    EXPECT_DOUBLE_EQ(chart.yValue(1, 81), inbound) << "the traffic drawn stays";

    // Plenty of ports, and all ports busy for only 0.1 % of the hour: green.
    find<QSpinBox>(*w, "spnPortsInService")->setValue(40);
    find<QSpinBox>(*w, "spnGrowth")->setValue(0);
    target->setCurrentIndex(target->findText(QStringLiteral("2 %")));
    EXPECT_EQ(w->sizing().verdict, Verdict::Enough) << w->headline().toStdString();
    EXPECT_TRUE(w->headline().startsWith(QStringLiteral("Enough ports: 40 ports")));

    // Hiding inbound lowers the MWI band onto the axis.
    find<QCheckBox>(*w, "chkESeries1_0")->click();
    EXPECT_FALSE(chart.seriesShown(1));
    EXPECT_DOUBLE_EQ(chart.stackedTop(2, 81), 5.0);
}

TEST_F(CapacityWindowTest, SavesTheTableAndTheFiguresShownAndZooms) {
    const auto w = open();
    find<QSpinBox>(*w, "spnPortsInService")->setValue(20);
    const QString json = dir.file(QStringLiteral("figures.json"));
    const QString csv = dir.file(QStringLiteral("table.csv"));
    dialogs.saveAnswers = {json, csv};
    find<QAction>(*w, "mnuSaveJson")->trigger();
    find<QAction>(*w, "mnuSaveTable")->trigger();
    ASSERT_EQ(dialogs.saveInitials.size(), 2);
    EXPECT_TRUE(dialogs.saveInitials[0].endsWith(QStringLiteral("Capacity_3_7_2009.json")));
    EXPECT_TRUE(dialogs.saveInitials[1].endsWith(QStringLiteral("CapacityTraffic_3_7_2009.csv")));
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("Capacity figures saved"),
                                            QStringLiteral("Quarter-hour table saved")}));
    QFile figures(json);
    ASSERT_TRUE(figures.open(QIODevice::ReadOnly));
    const QJsonObject saved = QJsonDocument::fromJson(figures.readAll()).object();
    EXPECT_EQ(saved[QStringLiteral("portsInService")].toInt(), 20);
    EXPECT_EQ(saved[QStringLiteral("portsFrom")].toString(), QStringLiteral("user"));
    QFile table(csv);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = table.readAll().split('\n');
    EXPECT_EQ(rows.value(41),
              QByteArray("40,10:00,900,5.0000,5.0000,0.0000,0.0000,0.0000,10.0000,10.0000,0"));
    EXPECT_EQ(rows.value(43),
              QByteArray("42,10:30,900,5.0000,5.0000,0.0000,0.0000,0.0000,10.0000,10.0000,60"));

    // A zoom from the whole day starts at the busy hour, 10:00.
    find<QAction>(*w, "mnuZoom_2")->trigger();
    EXPECT_EQ(w->chart().axisMin(Chart2D::X), 600);
    EXPECT_EQ(w->chart().axisMax(Chart2D::X) - w->chart().axisMin(Chart2D::X), 240);
    EXPECT_TRUE(w->scrollBar().isEnabled());

    find<QAction>(*w, "mnuSummaryData")->trigger();
    auto* summary = context.windows().find(QStringLiteral("frmCapacitySummary"));
    ASSERT_NE(summary, nullptr);
    auto* grid = summary->findChild<QTableWidget*>(QStringLiteral("gridSummary"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 96);
    EXPECT_EQ(grid->item(40, 0)->text().trimmed(), QStringLiteral("10:00"));
    delete summary;
}

} // namespace
} // namespace tarrow::reports
