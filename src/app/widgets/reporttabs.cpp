#include "app/widgets/reporttabs.h"

#include "reports/capacity/widgets/sizingcontrols.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace tarrow::app {

namespace {

QTimeEdit* timePicker(const QString& name, QTime initial) {
    auto* picker = new QTimeEdit(initial);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QLabel* wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// "From <from> <middle> <to>" in a titled box.
QGroupBox* rangeBox(const QString& title, QWidget* from, const QString& middle, QWidget* to) {
    auto* range = new QGroupBox(title);
    auto* row = new QHBoxLayout(range);
    row->addWidget(new QLabel(QStringLiteral("From")));
    row->addWidget(from);
    row->addWidget(new QLabel(middle));
    row->addWidget(to);
    row->addStretch();
    return range;
}

// "Ports that take calls" and "Target blocking", as the Capacity and History tabs ask.
QGroupBox* sizingBox(QSpinBox* ports, QComboBox* target) {
    auto* box = new QGroupBox(QStringLiteral("Size the ports for:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Ports that take calls"), ports);
    form->addRow(QStringLiteral("Target blocking"), target);
    return box;
}

// A tab's "Run Report" button, at the bottom right of its page.
QPushButton* runButton(QVBoxLayout& layout, const QString& name) {
    layout.addStretch();
    auto* run = new QPushButton(QStringLiteral("Run Report"));
    run->setObjectName(name);
    run->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(run);
    layout.addLayout(row);
    return run;
}

} // namespace

ReportTabs::ReportTabs(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("SSTab1"));
    for (const reports::ReportEntry& report : reports::reportTable())
        addTab(buildTab(report), report.tabCaption);
    addTab(buildHistoryTab(), QStringLiteral("History"));
}

QWidget* ReportTabs::buildTab(const reports::ReportEntry& report) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(report.description));
    layout->addWidget(wrapped(report.axisText));
    if (report.takesRange) {
        const reports::TimeRange whole;
        QTimeEdit* start = timePicker(report.rangeStartName, whole.from);
        QTimeEdit* end = timePicker(report.rangeEndName, whole.to);
        rangePickers_[report.id] = {start, end};
        start->installEventFilter(this);
        end->installEventFilter(this);
        layout->addWidget(
            rangeBox(QStringLiteral("Run report for calls that started between these times:"),
                     start, QStringLiteral("through"), end));
    }
    if (report.takesSizing) {
        spnPortsInService = reports::portsInServiceBox(QStringLiteral("spnPortsInService"));
        cmbTargetBlocking = reports::targetBlockingBox(QStringLiteral("cmbTargetBlocking"));
        layout->addWidget(sizingBox(spnPortsInService, cmbTargetBlocking));
    }
    QPushButton* run = runButton(*layout, report.buttonName);
    reportButtons_[report.id] = run;
    const reports::ReportId id = report.id;
    connect(run, &QPushButton::clicked, this, [this, id] { emit reportAsked(id); });
    return page;
}

QWidget* ReportTabs::buildHistoryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(QStringLiteral(
        "The History report reads every day of a range straight from the log folder and shows "
        "each day's offered traffic at the busy hour common to the days, the trend of like days "
        "with its band, when the ports run out (or that they are already short), the days that "
        "could not be read, and a weekday by hour heat map. It does not need \"Load Data\".")));
    cmbHistoryFrom = new QComboBox;
    cmbHistoryFrom->setObjectName(QStringLiteral("cmbHistoryFrom"));
    cmbHistoryTo = new QComboBox;
    cmbHistoryTo->setObjectName(QStringLiteral("cmbHistoryTo"));
    layout->addWidget(rangeBox(QStringLiteral("Run report for the days:"), cmbHistoryFrom,
                               QStringLiteral("To"), cmbHistoryTo));
    spnHistoryPorts = reports::portsInServiceBox(QStringLiteral("spnHistoryPorts"));
    cmbHistoryBlocking = reports::targetBlockingBox(QStringLiteral("cmbHistoryBlocking"));
    layout->addWidget(sizingBox(spnHistoryPorts, cmbHistoryBlocking));
    cmdRunHistory = runButton(*layout, QStringLiteral("cmdRunHistory"));
    connect(cmdRunHistory, &QPushButton::clicked, this, &ReportTabs::historyAsked);
    return page;
}

bool ReportTabs::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a tab's time field runs the report of that tab.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            for (const auto& [id, pickers] : rangePickers_)
                if ((watched == pickers.first || watched == pickers.second) &&
                    reportButtons_[id]->isEnabled()) {
                    emit reportAsked(id);
                    return true;
                }
    }
    return QTabWidget::eventFilter(watched, event);
}

reports::TimeRange ReportTabs::range(reports::ReportId report) const {
    const auto pickers = rangePickers_.find(report);
    if (pickers == rangePickers_.end())
        return {};
    return {pickers->second.first->time(), pickers->second.second->time()};
}

std::pair<int, int> ReportTabs::reportRange(reports::ReportId report) const {
    if (!rangePickers_.contains(report))
        return {0, 1439};
    const reports::TimeRange r = range(report);
    return {r.startMinute(), r.endMinute()};
}

reports::SizingChoice ReportTabs::sizing() const {
    if (!spnPortsInService)
        return {};
    return {spnPortsInService->value(), reports::chosenTarget(*cmbTargetBlocking), 0};
}

HistoryChoice ReportTabs::historyChoice() const {
    return {cmbHistoryFrom->currentData().toDate(),
            cmbHistoryTo->currentData().toDate(),
            cmbHistoryFrom->currentText(),
            cmbHistoryTo->currentText(),
            spnHistoryPorts->value(),
            reports::chosenTarget(*cmbHistoryBlocking)};
}

void ReportTabs::setReportsEnabled(bool enabled) {
    for (const auto& [id, run] : reportButtons_)
        run->setEnabled(enabled);
}

void ReportTabs::fillHistoryDays(const QList<logparse::DayEntry>& entries) {
    QList<logparse::DayEntry> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.date < b.date; });
    for (QComboBox* box : {cmbHistoryFrom, cmbHistoryTo}) {
        box->clear();
        for (const logparse::DayEntry& entry : sorted)
            box->addItem(entry.text, entry.date);
    }
    // The whole folder unless the user chooses less.
    cmbHistoryFrom->setCurrentIndex(0);
    cmbHistoryTo->setCurrentIndex(cmbHistoryTo->count() - 1);
    cmdRunHistory->setEnabled(!sorted.isEmpty());
}

} // namespace tarrow::app
