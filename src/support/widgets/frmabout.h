#pragma once

#include <QDialog>

class QLabel;
class QMenu;
class QPushButton;

namespace tarrow::platform {
class UserDialogs;
}

namespace tarrow::support {

class modLocalize;

// The program's version and the choice of language.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(modLocalize& languages, platform::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Fills the version and builds the language menu.
    void load();
    [[nodiscard]] QMenu& languageMenu() const { return *mnuSelectLanguage_; }
    // Shows the language menu where the link was clicked.
    void popUpLanguages(const QPoint& where);

private:
    void buildLanguageMenu();

    modLocalize& languages_;
    platform::UserDialogs& dialogs_;
    QLabel* lblVersion_;
    QLabel* lblChangeLanguage_;
    QMenu* mnuSelectLanguage_;
};

} // namespace tarrow::support
