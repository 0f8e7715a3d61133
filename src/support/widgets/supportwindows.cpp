#include "support/widgets/supportwindows.h"

#include "platform/widgets/windowsize.h"
#include "support/widgets/frmabout.h"
#include "support/widgets/frmhelp.h"

#include <QLocale>

namespace tarrow::support {

SupportWindows::SupportWindows(QString programFolder, platform::UserDialogs& dialogs)
    : programFolder_(std::move(programFolder)), dialogs_(dialogs),
      languages_(programFolder_, dialogs, languageIdOf(QLocale::system())) {}

SupportWindows::~SupportWindows() = default;

frmHelp* SupportWindows::helpWindow() const {
    return help_.get();
}
frmAbout* SupportWindows::aboutWindow() const {
    return about_.get();
}

void SupportWindows::showHelp() {
    if (!help_)
        help_ = std::make_unique<frmHelp>(programFolder_);
    platform::fitToScreen(*help_);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void SupportWindows::showAbout() {
    if (!about_) {
        about_ = std::make_unique<frmAbout>(languages_, dialogs_);
        about_->load();
    }
    // Modal without blocking the caller's stack: other windows take no input
    // until OK hides it.
    about_->setWindowModality(Qt::ApplicationModal);
    platform::fitToScreen(*about_);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

} // namespace tarrow::support
