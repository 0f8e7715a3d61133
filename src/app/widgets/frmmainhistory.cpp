// The main window's History tab: a range of days read straight from the log
// folder (no "Load Data" needed), shown in the History window.
#include "app/widgets/frmmain.h"

#include "app/startup.h"
#include "app/widgets/longjob.h"
#include "app/widgets/reporttabs.h"
#include "platform/userdialogs.h"
#include "platform/widgets/windowsize.h"
#include "reports/history/historycache.h"
#include "reports/history/historydays.h"
#include "reports/history/historyoutput.h"
#include "reports/history/widgets/frmhistory.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

namespace tarrow::app {

void frmMain::runHistory() {
    const HistoryChoice choice = tabs_->historyChoice();
    const QDate from = choice.from;
    const QDate to = choice.to;
    if (!from.isValid() || !to.isValid())
        return;
    if (from > to) {
        dialogs_.message(QStringLiteral("The From day must not be after the To day."));
        return;
    }
    const load::LoadRequest request =
        app::folderRequest(state_, QDir::fromNativeSeparators(txtDiagFilePath->text()));
    const int ports = choice.ports;
    const double gos = choice.gos;

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
        const HistoryChoice shown = tabs_->historyChoice();
        QString text = QStringLiteral("No day from %1 to %2 has call data in its logs.")
                           .arg(shown.fromText, shown.toText);
        if (!summary.skipped.empty())
            text = QStringLiteral("No day from %1 to %2 could be read:\n")
                       .arg(shown.fromText, shown.toText) +
                   reports::skippedDayLines(summary).join(QLatin1Char('\n'));
        dialogs_.message(text, {}, platform::MessageIcon::Warning);
        return;
    }
    if (!history_) {
        history_ = std::make_unique<reports::frmHistory>(dialogs_);
        connect(history_.get(), &reports::frmHistory::dayChosen, this, &frmMain::loadChosenDay);
    }
    history_->showHistory(std::move(days), summary, summary.choice.gos);
    platform::fitToScreen(*history_);
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
