#pragma once

#include "support/languages.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tarrow::platform {
class UserDialogs;
}

namespace tarrow::support {

// The current language: its library held open and its font given to every
// control of every open window.
class modLocalize {
public:
    modLocalize(QString programFolder, platform::UserDialogs& dialogs, int userDefaultLanguage);

    [[nodiscard]] int CurrentLanguageId() const { return currentLanguageId_; }
    [[nodiscard]] const QStringList& LanguageCodes() const { return codes_; }
    [[nodiscard]] const LanguageLibrary& library() const { return library_; }

    // Settles the language (the user's default the first time), opens its
    // library, lists the installed libraries and applies the fonts.
    void InitalizeLanguages();
    // Switches to a language chosen by the user.
    void chooseLanguage(int id);
    // Gives every control of a window the current language's font.
    void SetFormFonts(QWidget* window) const;

private:
    QString programFolder_;
    platform::UserDialogs& dialogs_;
    int userDefaultLanguage_;
    int currentLanguageId_ = 0;
    LanguageLibrary library_;
    QStringList codes_;
};

} // namespace tarrow::support
