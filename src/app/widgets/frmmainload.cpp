// The main window's "Load Data": the day read on the job's thread under one
// bar, and what the load found told after it.
#include "app/widgets/frmmain.h"

#include "app/startup.h"
#include "app/widgets/longjob.h"
#include "load/loadday.h"
#include "platform/userdialogs.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <algorithm>
#include <memory>

namespace tarrow::app {

void frmMain::loadData() {
    const int index = cmbReportDate->currentIndex();
    if (index < 0)
        return;
    // One bar over the whole day: each file fills its thousandth-steps share
    // of it. The callbacks run one after another on the load's thread.
    struct Bar {
        int file = 1;
        int files = 1;
        qint64 steps = 1;
    };
    auto bar = std::make_shared<Bar>();
    constexpr qint64 kPerFile = 1000;
    load::LoadProgress progress;
    progress.fileStarted = [this, bar, hook = loadFileHook_](const QString& path, qint64 steps,
                                                             int file, int files) {
        *bar = {file, files, std::max<qint64>(1, steps)};
        const QString caption =
            files > 1 ? QStringLiteral("Parsing diagnostic file %1 of %2: ").arg(file).arg(files)
                      : QStringLiteral("Parsing diagnostic file: ");
        showStatus(caption + QDir::toNativeSeparators(path), files * kPerFile);
        setStatusValue((file - 1) * kPerFile);
        if (hook)
            hook(path);
    };
    progress.advanced = [this, bar](qint64 done) {
        setStatusValue((bar->file - 1) * kPerFile +
                       std::min(done, bar->steps) * kPerFile / bar->steps);
        return !job_->cancelled();
    };
    progress.fileFinished = [this, bar] {
        if (bar->file == bar->files)
            hideStatus();
    };
    // The day is read on the job's thread; the window stays busy, so nothing
    // else reads the state meanwhile.
    auto outcome = std::make_shared<load::LoadOutcome>();
    startJob(
        [this, outcome, progress, folder = QDir::fromNativeSeparators(txtDiagFilePath->text()),
         day = cmbReportDate->itemData(index).toDate(), text = cmbReportDate->itemText(index)] {
            *outcome = app::loadDay(state_, folder, day, text, progress);
        },
        [this, outcome] { showLoadOutcome(*outcome); });
}

void frmMain::showLoadOutcome(const load::LoadOutcome& outcome) {
    if (outcome.cancelled) {
        setReportButtonsEnabled(false);
        refreshReportWindows(false);
        dialogs_.message(outcome.message);
        return;
    }
    if (!outcome.folderError.isEmpty()) {
        dialogs_.message(outcome.folderError, {}, platform::MessageIcon::Warning);
        return;
    }
    if (!outcome.repairNote.isEmpty())
        dialogs_.message(outcome.repairNote, {}, platform::MessageIcon::Warning);
    for (const QString& error : outcome.errors)
        dialogs_.message(error);
    for (int i = 0; i < outcome.oversizedFiles.size(); ++i)
        dialogs_.message(load::tooManyLinesMessage(), load::tooManyLinesTitle(),
                         platform::MessageIcon::Warning);
    if (!state_.day.problems.isEmpty())
        dialogs_.message(state_.day.problems.summary(), {}, platform::MessageIcon::Warning);
    setReportButtonsEnabled(outcome.foundCalls() && !outcome.storeFailed());
    refreshReportWindows(outcome.foundCalls() && !outcome.storeFailed());
    dialogs_.message(outcome.message, {},
                     outcome.storeFailed() ? platform::MessageIcon::Warning
                                           : platform::MessageIcon::None);
}

} // namespace tarrow::app
