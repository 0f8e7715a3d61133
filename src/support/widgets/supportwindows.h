#pragma once

#include "support/widgets/modlocalize.h"

#include <QPointer>

class QWidget;

namespace tarrow::support {

class frmAbout;
class frmHelp;

// The one help window and the one About window every window opens.
class SupportWindows {
public:
    SupportWindows(QString programFolder, platform::UserDialogs& dialogs);
    ~SupportWindows();

    // Modeless; an open help window is shown again as the user left it.
    void showHelp();
    // Modal over every window until OK hides it.
    void showAbout();
    [[nodiscard]] modLocalize& languages() { return languages_; }
    [[nodiscard]] frmHelp* helpWindow() const;
    [[nodiscard]] frmAbout* aboutWindow() const;

private:
    QString programFolder_;
    platform::UserDialogs& dialogs_;
    modLocalize languages_;
    QPointer<frmHelp> help_;
    QPointer<frmAbout> about_;
};

} // namespace tarrow::support
