#pragma once

#include <QDate>
#include <QRegularExpression>
#include <QString>

namespace tarrow::platform {

// "YYYY-MM-DD" for every date a log file name can carry to, years past 9999
// included (where the toolkit's own ISO form gives nothing).
[[nodiscard]] inline QString isoDate(const QDate& date) {
    if (!date.isValid())
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

// The date of an isoDate text; invalid when it is none.
[[nodiscard]] inline QDate fromIsoDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4,6})-(\\d\\d)-(\\d\\d)$"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
                        : QDate();
}

} // namespace tarrow::platform
