#include "reports/capacity/widgets/frmcapacity.h"

#include "charts/widgets/chart2d.h"
#include "platform/fileoutput.h"
#include "platform/widgets/twips.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/capacity/widgets/sizingcontrols.h"
#include "reports/widgets/reporthost.h"
#include "reports/widgets/verdictform.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarrow::reports {

using platform::twips;

namespace {

constexpr int kPanelWidth = 400; // pixels
TimeOfDayDesign windowDesign() {
    TimeOfDayDesign t;
    ChartWindowDesign& d = t.window;
    d.report = ReportId::Capacity;
    d.caption = QStringLiteral("Capacity");
    d.clientTwips = QSize(17400, 8400);
    d.minimumTwips = QSize(12000, 7200);
    d.frameName = QStringLiteral("frExclude");
    d.frameCaption = QStringLiteral("Included data in chart:");
    d.frameTwips = QRect(120, 120, 7560, 645);
    d.checkName = QStringLiteral("chkESeries1");
    d.checks = {{QStringLiteral("Inbound Calls"), QRect(120, 255, 1260, 330), true},
                {QStringLiteral("MWI Dialouts"), QRect(1485, 255, 1260, 330), true},
                {QStringLiteral("Notification Dialouts"), QRect(2850, 255, 1800, 330), true},
                {QStringLiteral("TRAP Dialouts"), QRect(4755, 255, 1380, 330), true},
                {QStringLiteral("AMIS Dialouts"), QRect(6240, 255, 1260, 330), true}};
    d.chartTwips = QRect(120, 840, 10400, 6900);
    d.scrollTwips = QRect(120, 7785, 10400, 255);
    QList<MenuDesign> menus = chartMenus(
        trafficMenuNames(), timeOfDayZoomMenu(QStringLiteral("Zoom"), QStringLiteral("No Zoom")));
    // The quarter-hour table and the figures can be saved from the chart too.
    menus[0].items.insert(2, {QStringLiteral("mnuSaveTable"),
                              QStringLiteral("Save quarter-hour table to CSV..."),
                              MenuAction::SaveCsv});
    menus[0].items.insert(3, {QStringLiteral("mnuSaveJson"),
                              QStringLiteral("Save figures to JSON..."), MenuAction::SaveJson});
    d.menus = menus;
    t.drawCaption = QStringLiteral("Generating report...");
    // The busy hour stands out best against the whole day.
    t.openingZoom = 0;
    t.openingStart = 0;
    d.summaryName = QStringLiteral("frmCapacitySummary");
    d.summary = summaryOf<frmCapacitySummary>();
    return t;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.name = QStringLiteral("frmCapacitySummary");
    d.caption = QStringLiteral("Capacity Summary");
    d.clientTwips = QSize(12300, 6000);
    d.gridTwips = QRect(0, 0, 12285, 5985);
    d.menus = summaryMenus(trafficSummaryMenuNames());
    d.minimumTwips = QSize(6030, 6000);
    d.gridMarginTwips = QSize(135, 705);
    return d;
}

} // namespace

frmCapacity::frmCapacity(ReportHost& host, QWidget* parent)
    : TimeOfDayWindow(windowDesign(), host, parent) {
    panel_ = buildPanel();
    panel_->setParent(client());
}

QWidget* frmCapacity::buildPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("pnlVerdict"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* whatIf = new QGroupBox(QStringLiteral("What if"));
    auto* form = new QFormLayout(whatIf);
    spnPortsInService = portsInServiceBox(QStringLiteral("spnPortsInService"));
    cmbTargetBlocking = targetBlockingBox(QStringLiteral("cmbTargetBlocking"));
    spnGrowth = new QSpinBox;
    spnGrowth->setObjectName(QStringLiteral("spnGrowth"));
    spnGrowth->setRange(0, 200);
    spnGrowth->setSuffix(QStringLiteral(" %"));
    spnRetryShare = new QDoubleSpinBox;
    spnRetryShare->setObjectName(QStringLiteral("spnRetryShare"));
    spnRetryShare->setRange(0, 0.95);
    spnRetryShare->setSingleStep(0.05);
    spnRetryShare->setDecimals(2);
    spnRetryShare->setToolTip(QStringLiteral("The share of blocked callers who try again"));
    form->addRow(QStringLiteral("Ports that take calls"), spnPortsInService);
    form->addRow(QStringLiteral("Target blocking"), cmbTargetBlocking);
    form->addRow(QStringLiteral("Traffic growth"), spnGrowth);
    form->addRow(QStringLiteral("Callers retrying"), spnRetryShare);
    // The what-if fields come first, where a verdict of another length
    // cannot move them; the verdict and its figures scroll below them.
    layout->addWidget(whatIf);
    auto* figures = new QWidget;
    auto* column = new QVBoxLayout(figures);
    column->setContentsMargins(0, 4, 0, 4);
    lblVerdict = headlineLabel(QStringLiteral("lblVerdict"), 14);
    column->addWidget(lblVerdict);
    verdictForm_ = new QFormLayout;
    verdictForm_->setRowWrapPolicy(QFormLayout::DontWrapRows);
    QFont medium = figures->font();
    medium.setPointSize(10);
    figures->setFont(medium);
    column->addLayout(verdictForm_);
    column->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("VerdictScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(figures);
    layout->addWidget(scroll, 1);
    connect(spnPortsInService, &QSpinBox::valueChanged, this, [this] { applySizing(); });
    connect(spnGrowth, &QSpinBox::valueChanged, this, [this] { applySizing(); });
    connect(spnRetryShare, &QDoubleSpinBox::valueChanged, this, [this] { applySizing(); });
    connect(cmbTargetBlocking, &QComboBox::currentIndexChanged, this, [this] { applySizing(); });
    return panel;
}

void frmCapacity::draw(const ReportDocument& document) {
    figures_ = document.capacity;
    const SizingChoice choice = document.params.sizing;
    {
        const QSignalBlocker ports(spnPortsInService);
        const QSignalBlocker target(cmbTargetBlocking);
        const QSignalBlocker retry(spnRetryShare);
        spnPortsInService->setValue(choice.ports);
        chooseTarget(*cmbTargetBlocking, choice.gos);
        spnRetryShare->setValue(choice.retryShare);
    }
    TimeOfDayWindow::draw(document);
    // The day opens whole; a zoom then starts at the busy hour, the band.
    if (document.chart.band)
        scrollBar().setValue(static_cast<int>(document.chart.band->from));
    applySizing();
}

void frmCapacity::applySizing() {
    if (!figures_)
        return;
    sizing_ =
        sizeCapacity(*figures_, {spnPortsInService->value(), chosenTarget(*cmbTargetBlocking),
                                 static_cast<double>(spnGrowth->value()), spnRetryShare->value()});
    // Only the two levels change: the traffic drawn stays as it was.
    charts::Chart2D& c = chart();
    const int first = c.seriesCount() - 1;
    if (first >= 1) {
        c.SetBatchMode(true);
        int series = first;
        for (const CapacityLevel& level : capacityLevels(sizing_)) {
            c.setSeriesLabel(series, level.label);
            for (int p = 1; p <= c.pointCount(); ++p)
                c.SetY(series, p, level.erlangs);
            ++series;
        }
        c.SetBatchMode(false);
    }
    showVerdict();
}

void frmCapacity::showVerdict() {
    lblVerdict->setText(capacityHeadline(*figures_, sizing_));
    paintLabel(*lblVerdict, verdictColour(sizing_.verdict));
    showVerdictLines(*verdictForm_, capacityVerdict(*figures_, sizing_));
}

QStringList frmCapacity::printHeading() const {
    QStringList lines{headline()};
    for (const auto& [label, value] : verdictShown())
        lines << label + QLatin1Char(' ') + value;
    return lines;
}

QString frmCapacity::headline() const {
    return lblVerdict->text();
}

QList<QPair<QString, QString>> frmCapacity::verdictShown() const {
    return verdictLinesShown(*verdictForm_);
}

void frmCapacity::layoutChart(QSize, QSize inner) {
    const int gap = twips(120);
    const int width = std::max(200, inner.width() - chart().x() - gap - kPanelWidth - gap);
    const int height = std::max(150, inner.height() - chart().y() - scrollBar().height() - 12);
    chart().resize(width, height);
    scrollBar().setGeometry(scrollBar().x(), chart().y() + height + 4, width, scrollBar().height());
    // Beside the chart, below the series frame when the frame reaches over.
    const int x = chart().x() + width + gap;
    const QRect frame = frameGeometryInClient();
    const int y = frame.right() >= x ? frame.bottom() + gap : gap;
    panel_->setGeometry(x, y, kPanelWidth, inner.height() - y - gap);
}

bool frmCapacity::runOwnMenuItem(MenuAction action, int) {
    if (action == MenuAction::SaveCsv)
        saveTable();
    else if (action == MenuAction::SaveJson)
        saveJson();
    else
        return false;
    return true;
}

void frmCapacity::saveTable() {
    if (figures_)
        platform::saveAsked(host().dialogs(),
                            {QStringLiteral("Select file for CSV output"),
                             platform::dateFileName(QStringLiteral("CapacityTraffic_"), shownDay(),
                                                    QStringLiteral(".csv")),
                             QStringLiteral("CSV Files (*.csv);;All Files (*)"),
                             QStringLiteral("csv"), QStringLiteral("Quarter-hour table saved")},
                            capacityTrafficCsv(*figures_));
}

void frmCapacity::saveJson() {
    if (figures_)
        platform::saveAsked(host().dialogs(),
                            {QStringLiteral("Select file for JSON output"),
                             platform::dateFileName(QStringLiteral("Capacity_"), shownDay(),
                                                    QStringLiteral(".json")),
                             QStringLiteral("JSON Files (*.json);;All Files (*)"),
                             QStringLiteral("json"), QStringLiteral("Capacity figures saved")},
                            capacityJson(*figures_, sizing_));
}

frmCapacitySummary::frmCapacitySummary(ReportHost& host, const SummaryTable& figures,
                                       const QDate& day, QWidget* parent)
    : SummaryWindow(summaryDesign(), host, figures, day, parent) {}

} // namespace tarrow::reports
