#pragma once

#include "support/widgets/modlocalize.h"

#include <memory>

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
    // Made when first shown; closing hides them until they are shown again.
    std::unique_ptr<frmHelp> help_;
    std::unique_ptr<frmAbout> about_;
};

} // namespace tarrow::support
