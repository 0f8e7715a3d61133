// The main window's History tab: a range of days read straight from the log
// folder (no "Load Data" needed), shown in the History window.
#include "app/widgets/frmmain.h"

#include "app/startup.h"
#include "app/widgets/busypointer.h"
#include "app/widgets/longjob.h"
#include "platform/userdialogs.h"
#include "reports/capacity/widgets/sizingcontrols.h"
#include "reports/history/historycache.h"
#include "reports/history/historydays.h"
#include "reports/history/historyoutput.h"
#include "reports/history/widgets/frmhistory.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <future>

namespace tarrow::app {

QWidget* frmMain::buildHistoryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* about = new QLabel(QStringLiteral(
        "The History report reads every day of a range straight from the log folder and shows "
        "each day's offered traffic at the busy hour common to the days, the trend of like days "
        "with its band, when the ports run out (or that they are already short), the days that "
        "could not be read, and a weekday by hour heat map. It does not need \"Load Data\"."));
    about->setWordWrap(true);
    layout->addWidget(about);
    cmbHistoryFrom = new QComboBox;
    cmbHistoryFrom->setObjectName(QStringLiteral("cmbHistoryFrom"));
    cmbHistoryTo = new QComboBox;
    cmbHistoryTo->setObjectName(QStringLiteral("cmbHistoryTo"));
    layout->addWidget(rangeBox(QStringLiteral("Run report for the days:"), cmbHistoryFrom,
                               QStringLiteral("To"), cmbHistoryTo));
    spnHistoryPorts = reports::portsInServiceBox(QStringLiteral("spnHistoryPorts"));
    cmbHistoryBlocking = reports::targetBlockingBox(QStringLiteral("cmbHistoryBlocking"));
    layout->addWidget(sizingBox(spnHistoryPorts, cmbHistoryBlocking));
    layout->addStretch();
    cmdRunHistory = new QPushButton(QStringLiteral("Run Report"));
    cmdRunHistory->setObjectName(QStringLiteral("cmdRunHistory"));
    cmdRunHistory->setEnabled(false);
    connect(cmdRunHistory, &QPushButton::clicked, this, &frmMain::runHistory);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdRunHistory);
    layout->addLayout(buttonRow);
    return page;
}

void frmMain::fillHistoryDays(const QList<logparse::DayEntry>& entries) {
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

void frmMain::runHistory() {
    const QDate from = cmbHistoryFrom->currentData().toDate();
    const QDate to = cmbHistoryTo->currentData().toDate();
    if (!from.isValid() || !to.isValid())
        return;
    if (from > to) {
        dialogs_.message(QStringLiteral("The From day must not be after the To day."));
        return;
    }
    const load::LoadRequest request =
        app::folderRequest(state_, QDir::fromNativeSeparators(txtDiagFilePath->text()));
    const int ports = spnHistoryPorts->value();
    const double gos = reports::chosenTarget(*cmbHistoryBlocking);

    // The days are read on the job's threads; a timer here shows how far they are.
    struct Run {
        reports::HistoryProgress progress;
        QString folderError;
        std::vector<reports::HistoryDay> days;
        std::vector<reports::SkippedDay> skipped;
    };
    auto run = std::make_shared<Run>();
    showStatus(QStringLiteral("Reading the log files of the history..."), 0);
    startJob(
        [run, request, from, to, gos, folder = state_.dataFolder] {
            reports::HistoryCache cache(folder);
            run->days = reports::computeHistoryDays(request, from, to, gos, run->folderError,
                                                    &cache, &run->progress, &run->skipped);
        },
        [this, run, ports, gos] {
            if (run->progress.stop || job_->cancelled()) {
                dialogs_.message(QStringLiteral("The history was cancelled."));
                return;
            }
            if (!run->folderError.isEmpty()) {
                dialogs_.message(run->folderError, {}, platform::MessageIcon::Warning);
                return;
            }
            const reports::HistorySummary summary =
                reports::summarizeHistory(run->days, {ports, gos}, std::move(run->skipped));
            showHistory(std::move(run->days), summary);
        });
    auto* ticker = new QTimer(this);
    connect(ticker, &QTimer::timeout, this, [this, run] {
        if (run->progress.files > 0 && ProgressBar->maximum() != run->progress.files)
            ProgressBar->setRange(0, static_cast<int>(run->progress.files));
        ProgressBar->setValue(static_cast<int>(run->progress.filesRead));
        if (job_->cancelled())
            run->progress.stop = true;
    });
    connect(job_, &LongJob::busyChanged, ticker, &QObject::deleteLater);
    ticker->start(50);
}

void frmMain::showHistory(std::vector<reports::HistoryDay> days,
                          const reports::HistorySummary& summary) {
    if (days.empty()) {
        QString text = QStringLiteral("No day from %1 to %2 has call data in its logs.")
                           .arg(cmbHistoryFrom->currentText(), cmbHistoryTo->currentText());
        if (!summary.skipped.empty())
            text = QStringLiteral("No day from %1 to %2 could be read:\n")
                       .arg(cmbHistoryFrom->currentText(), cmbHistoryTo->currentText()) +
                   reports::skippedDayLines(summary).join(QLatin1Char('\n'));
        dialogs_.message(text, {}, platform::MessageIcon::Warning);
        return;
    }
    if (!history_) {
        history_ = std::make_unique<reports::frmHistory>(dialogs_);
        connect(history_.get(), &reports::frmHistory::dayChosen, this, &frmMain::loadChosenDay);
    }
    history_->showHistory(std::move(days), summary, summary.choice.gos);
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void frmMain::loadChosenDay(const QDate& day) {
    if (working())
        return;
    const int index = cmbReportDate->findData(day);
    if (index < 0)
        return;
    cmbReportDate->setCurrentIndex(index);
    raise();
    activateWindow();
    loadData();
}

const reports::frmHistory* frmMain::historyWindow() const {
    return history_ && !history_->days().empty() ? history_.get() : nullptr;
}

} // namespace tarrow::app
