#pragma once

#include <QFile>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

namespace tarrow::support {

// Language identifiers as Windows numbers them (1033 is English, United States)
// and the three-letter codes of the language libraries.
[[nodiscard]] QString LanguageIdToCode(int id);          // 0 gives "ENU", unknown ids "ERROR"
[[nodiscard]] int LanguageCodeToId(const QString& code); // exact match; anything else 1033
[[nodiscard]] QString GetLanguageName(int id);           // "(error)" for an id without a name
// The identifier of a locale's language, as the user's default language.
[[nodiscard]] int languageIdOf(const QLocale& locale);

// The font a language needs: a character set number and a face name (empty
// for all but the four East Asian languages).
struct LanguageFont {
    int charset = 1;
    QString face;
};
[[nodiscard]] LanguageFont fontForLanguage(int id);

// Codes of the language libraries in a folder: files whose names begin with
// "BrandingRes_" (in any letter case), characters 13 to 15 being the code.
[[nodiscard]] QStringList findLanguageCodes(const QString& folder);

// A language library opened as a data file and held until closed: nothing in
// it is read or run.
class LanguageLibrary {
public:
    LanguageLibrary();
    ~LanguageLibrary();
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;

    // Opens the file; false when it is missing (no failure).
    bool open(const QString& path);
    void close();
    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] QString path() const { return path_; }

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    QString path_;
};

} // namespace tarrow::support
