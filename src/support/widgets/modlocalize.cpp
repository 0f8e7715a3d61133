#include "support/widgets/modlocalize.h"

#include "platform/userdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QMetaObject>
#include <QWidget>

namespace tarrow::support {

namespace {

QFontDatabase::WritingSystem writingSystemOf(int charset) {
    switch (charset) {
    case 128:
        return QFontDatabase::Japanese;
    case 129:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    default:
        return QFontDatabase::Any;
    }
}

// The family to use for a language font: its face when installed, else the
// first installed family that writes its script; empty to keep the current one.
QString familyFor(const LanguageFont& font) {
    if (font.face.isEmpty())
        return {};
    if (QFontDatabase::hasFamily(font.face))
        return font.face;
    return QFontDatabase::families(writingSystemOf(font.charset)).value(0, font.face);
}

} // namespace

modLocalize::modLocalize(QString programFolder, platform::UserDialogs& dialogs,
                         int userDefaultLanguage)
    : programFolder_(std::move(programFolder)), dialogs_(dialogs),
      userDefaultLanguage_(userDefaultLanguage) {}

void modLocalize::InitalizeLanguages() {
    if (currentLanguageId_ == 0)
        currentLanguageId_ = userDefaultLanguage_;
    library_.close();
    // A missing library is no failure: the language simply has none. File
    // names are matched without regard to case, as on the server's systems.
    const QString wanted = QStringLiteral("brandingres_") + LanguageIdToCode(currentLanguageId_) +
                           QStringLiteral(".dll");
    QString path = QDir(programFolder_).filePath(wanted);
    for (const QString& name : QDir(programFolder_).entryList(QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            path = QDir(programFolder_).filePath(name);
    (void)library_.open(path);
    if (!QDir(programFolder_).exists())
        dialogs_.message(QStringLiteral("Error in InitalizeLanguages: The program folder \"%1\" "
                                        "cannot be read.")
                             .arg(QDir::toNativeSeparators(programFolder_)));
    codes_ = findLanguageCodes(programFolder_);
    for (QWidget* window : QApplication::topLevelWidgets())
        SetFormFonts(window);
}

void modLocalize::chooseLanguage(int id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    currentLanguageId_ = id;
    InitalizeLanguages();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        SetFormFonts(window);
        // A window may have its own step to run after a language change.
        const QByteArray hook = window->objectName().toLatin1() + "_Auto_Init";
        if (window->metaObject()->indexOfMethod(hook + "()") >= 0)
            QMetaObject::invokeMethod(window, hook.constData());
        window->update();
    }
    QApplication::restoreOverrideCursor();
}

void modLocalize::SetFormFonts(QWidget* window) const {
    const QString family = familyFor(fontForLanguage(currentLanguageId_));
    if (family.isEmpty() || !window)
        return;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        QFont font = control->font();
        font.setFamily(family);
        control->setFont(font);
    }
}

} // namespace tarrow::support
