#pragma once

#include <QString>

class QPrinter;

namespace tarrow::platform {

enum class MessageIcon { None, Information, Warning, Critical };

// Every message box and file or folder dialog goes through this interface, so
// tests answer them from a script instead of blocking on a modal window.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // An OK-only message; an empty title means the application's title.
    virtual void message(const QString& text, const QString& title = {},
                         MessageIcon icon = MessageIcon::None) = 0;

    // Asks for a folder, starting at startFolder; an empty text when cancelled.
    [[nodiscard]] virtual QString pickFolder(const QString& startFolder, const QString& prompt) = 0;

    // Asks where to save a file, asking before an existing file is replaced;
    // the chosen path, or an empty text when cancelled. A name without an
    // extension gets defaultSuffix.
    [[nodiscard]] virtual QString saveFile(const QString& title, const QString& initialPath,
                                           const QString& filter, const QString& defaultSuffix) = 0;

    // Lets the user pick a printer and page orientation; false when cancelled.
    [[nodiscard]] virtual bool choosePrinter(QPrinter& printer) = 0;

    // An OK/Cancel question with its own caption; true for OK.
    [[nodiscard]] virtual bool question(const QString& text, const QString& caption) = 0;

    // Opens an address with the system's default handler.
    virtual void openUrl(const QString& address) = 0;
};

} // namespace tarrow::platform
