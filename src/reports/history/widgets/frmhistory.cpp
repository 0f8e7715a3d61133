#include "reports/history/widgets/frmhistory.h"

#include "charts/widgets/calendarchart.h"
#include "charts/widgets/chartlegend.h"
#include "platform/fileoutput.h"
#include "platform/isodate.h"
#include "platform/userdialogs.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/history/historychartmodel.h"
#include "reports/history/historyoutput.h"
#include "reports/history/widgets/historyheatmap.h"
#include "reports/history/widgets/historypages.h"
#include "reports/widgets/verdictform.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarrow::reports {

frmHistory::frmHistory(platform::UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History"));
    resize(1320, 860);
    buildMenus();

    chart_ = new QChartView;
    chart_->setObjectName(QStringLiteral("HistoryChart"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumSize(560, 340);
    heatMap_ = new HistoryHeatMap;
    grid_ = new QTableWidget;
    grid_->setObjectName(QStringLiteral("HistoryGrid"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->setToolTip(QStringLiteral("Click a day to load it in the main window"));
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row >= 0 && static_cast<std::size_t>(row) < days_.size())
            chooseDay(days_[static_cast<std::size_t>(row)].day);
    });

    auto* top = new QWidget;
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    // The legend wraps below the chart instead of being cut at a narrow width.
    legend_ = new charts::ChartLegend;
    legend_->setObjectName(QStringLiteral("HistoryLegend"));
    chartPanel_ = new QWidget;
    auto* chartColumn = new QVBoxLayout(chartPanel_);
    chartColumn->setContentsMargins(0, 0, 0, 0);
    chartColumn->addWidget(chart_, 1);
    chartColumn->addWidget(legend_);
    topRow->addWidget(chartPanel_, 1);
    topRow->addWidget(buildVerdictPanel());
    auto* bottom = new QWidget;
    auto* bottomRow = new QHBoxLayout(bottom);
    bottomRow->setContentsMargins(0, 0, 0, 0);
    bottomRow->addWidget(heatMap_, 1);
    bottomRow->addWidget(grid_, 1);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    // On a small screen (or at a large scale) the window can be made smaller
    // than its content, which then scrolls.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("HistoryScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(split);
    setCentralWidget(scroll);
}

void frmHistory::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    const auto item = [&](const char* name, const QString& text, void (frmHistory::*slot)()) {
        QAction* action = file->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
    };
    item("mnuSaveCsv", QStringLiteral("Save Days to CSV..."), &frmHistory::saveTable);
    item("mnuSaveJson", QStringLiteral("Save Figures to JSON..."), &frmHistory::saveJson);
    item("mnuSaveBitmap", QStringLiteral("Save Chart to Bitmap..."), &frmHistory::saveBitmap);
    item("mnuPrint", QStringLiteral("Print..."), &frmHistory::print);
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("mnuClose"));
    connect(close, &QAction::triggered, this, &QWidget::close);
}

QWidget* frmHistory::buildVerdictPanel() {
    auto* panel = new QWidget;
    panel->setFixedWidth(420);
    auto* column = new QVBoxLayout(panel);
    lblRange = new QLabel;
    lblRange->setObjectName(QStringLiteral("lblRange"));
    lblRange->setWordWrap(true);
    QFont bold = lblRange->font();
    bold.setBold(true);
    lblRange->setFont(bold);
    column->addWidget(lblRange);
    lblStatus = headlineLabel(QStringLiteral("lblStatus"), 13);
    column->addWidget(lblStatus);
    verdictForm_ = new QFormLayout;
    column->addLayout(verdictForm_);
    column->addStretch();
    return panel;
}

void frmHistory::showHistory(std::vector<HistoryDay> days, const HistorySummary& summary,
                             double gos) {
    days_ = std::move(days);
    summary_ = summary;
    gos_ = gos;
    const QString range = days_.empty() ? QString()
                                        : QStringLiteral("%1 to %2")
                                              .arg(platform::isoDate(days_.front().day),
                                                   platform::isoDate(days_.back().day));
    setWindowTitle(QStringLiteral("History ") + range);
    // A no-break space keeps "1 %" together when the line wraps.
    lblRange->setText(QStringLiteral("Days with calls from %1, sized at %2 blocking")
                          .arg(range, percentText(gos).replace(QLatin1Char(' '), QChar(0xa0))));

    QChart* old = chart_->chart();
    const charts::ChartModel model = historyChartModel(days_, summary_, percentText(gos));
    chart_->setChart(charts::calendarChart(model));
    chart_->chart()->legend()->hide();
    legend_->setModel(model);
    delete old;
    for (QAbstractSeries* series : chart_->chart()->series())
        if (auto* days = qobject_cast<QScatterSeries*>(series);
            days && days->objectName().startsWith(QStringLiteral("Offered")))
            connect(days, &QScatterSeries::clicked, this,
                    [this](const QPointF& point) { chooseDay(historyChartDay(point.x())); });

    lblStatus->setText(historyHeadline(summary_));
    paintLabel(*lblStatus, historyColour(summary_));
    showVerdictLines(*verdictForm_, historyVerdict(summary_));

    heatMap_->setHeatMap(summary_.heatmap);

    // The grid shows History.csv as it is saved.
    const SummaryTable table = historyDaysTable(days_, summary_);
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(table.layout.columns.size()));
    grid_->setRowCount(static_cast<int>(table.rows.size()));
    QStringList titles;
    for (const SummaryColumn& column : table.layout.columns)
        titles << column.key;
    grid_->setHorizontalHeaderLabels(titles);
    for (qsizetype row = 0; row < table.rows.size(); ++row)
        for (qsizetype column = 0; column < table.rows[row].size(); ++column)
            grid_->setItem(static_cast<int>(row), static_cast<int>(column),
                           new QTableWidgetItem(table.rows[row][column]));
    grid_->resizeColumnsToContents();
}

QString frmHistory::status() const {
    return lblStatus->text();
}

QList<QPair<QString, QString>> frmHistory::verdictShown() const {
    return verdictLinesShown(*verdictForm_);
}

void frmHistory::chooseDay(const QDate& day) {
    for (const HistoryDay& shown : days_)
        if (shown.day == day) {
            emit dayChosen(day);
            return;
        }
}

void frmHistory::saveTable() {
    platform::saveAsked(dialogs_,
                        {QStringLiteral("Select file for CSV output"),
                         QStringLiteral("History.csv"),
                         QStringLiteral("CSV Files (*.csv);;All Files (*)"), QStringLiteral("csv"),
                         QStringLiteral("History days saved")},
                        historyCsv(days_, summary_));
}

void frmHistory::saveJson() {
    platform::saveAsked(dialogs_,
                        {QStringLiteral("Select file for JSON output"),
                         QStringLiteral("History.json"),
                         QStringLiteral("JSON Files (*.json);;All Files (*)"),
                         QStringLiteral("json"), QStringLiteral("History figures saved")},
                        historyJson(summary_));
}

void frmHistory::saveBitmap() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!chartPanel_->grab().toImage().save(&buffer, "BMP")) {
        dialogs_.message(QStringLiteral("The chart picture could not be made."), {},
                         platform::MessageIcon::Warning);
        return;
    }
    platform::saveAsked(dialogs_,
                        {QStringLiteral("Save Chart to Bitmap"), QStringLiteral("HistoryGraph.BMP"),
                         QStringLiteral("Bitmap Files (*.bmp);;All Files (*)"),
                         QStringLiteral("BMP"), QStringLiteral("Chart saved")},
                        bytes);
}

void frmHistory::print() {
    // A document at 72 dots per inch on the whole sheet: the run's page as the
    // PDF report draws it, then the days over as many pages as they need.
    QPrinter printer;
    printer.setResolution(72);
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs_.choosePrinter(printer))
        return;
    const QString failure = printHistory(printer, {days_, summary_, gos_});
    if (!failure.isEmpty())
        dialogs_.message(failure);
}

} // namespace tarrow::reports
