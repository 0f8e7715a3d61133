#pragma once

#include <QDir>
#include <QString>

namespace tarrow::platform {

// A name as it may be shown in a message or printed on a terminal: control
// characters (a newline, an escape sequence) and invisible format characters
// (a right-to-left override) in a file or folder name are written as \xNN or
// \uNNNN, so a name cannot forge lines or reorder what is shown.
[[nodiscard]] inline QString shownName(const QString& name) {
    QString shown;
    shown.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            shown += QStringLiteral("\\x") +
                     QString::number(u, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else if (c.category() == QChar::Other_Format)
            shown += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// A path in the system's own separators, as shownName shows it.
[[nodiscard]] inline QString shownPath(const QString& path) {
    return shownName(QDir::toNativeSeparators(path));
}

} // namespace tarrow::platform
