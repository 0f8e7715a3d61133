#include "logparse/logfiles.h"

#include <QDir>

#include <QFileInfo>
#include <algorithm>

namespace tarrow::logparse {

namespace {

int leadingDigits(const QString& name, int from, int length) {
    int value = 0;
    for (int i = from; i < from + length && i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

QDate carryDate(int year, int month, int day) {
    if (year >= 0 && year < 100)
        year += year < 30 ? 2000 : 1900;
    return QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
}

QDate dateFromFileName(const QString& name) {
    return carryDate(leadingDigits(name, 13, 4), leadingDigits(name, 17, 2),
                     leadingDigits(name, 19, 2));
}

FolderListing listLogFiles(const QString& folder, const QString& prefix) {
    FolderListing listing;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) {
        listing.error = QStringLiteral("The log folder \"%1\" does not exist.")
                            .arg(QDir::toNativeSeparators(folder));
        return listing;
    }
    const QDir dir(folder);
    if (!info.isReadable() || !dir.isReadable()) {
        listing.error = QStringLiteral("The log folder \"%1\" cannot be read.")
                            .arg(QDir::toNativeSeparators(folder));
        return listing;
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            listing.files.append(LogFile{entry.filePath(), name, dateFromFileName(name)});
    }
    return listing;
}

QString dayEntryText(const QDate& date, const QLocale& locale) {
    // A two-digit year would make the entry ambiguous; show all four digits.
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return locale.toString(date, format) + QLatin1Char(' ') +
           locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
}

QList<DayEntry> buildDayList(const QList<LogFile>& files, const QLocale& locale) {
    QList<DayEntry> days;
    for (const LogFile& file : files) {
        const bool known = std::any_of(days.cbegin(), days.cend(),
                                       [&](const DayEntry& day) { return day.date == file.date; });
        if (!known && file.date.isValid())
            days.append(DayEntry{file.date, dayEntryText(file.date, locale)});
    }
    return days;
}

QList<LogFile> filesForDay(const QList<LogFile>& files, const QDate& day) {
    QList<LogFile> chosen;
    for (const LogFile& file : files)
        if (file.date.isValid() && qAbs(file.date.daysTo(day)) < 2)
            chosen.append(file);
    return chosen;
}

DateOrder dateOrderOf(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    if (y >= 0 && y < m && y < d)
        return DateOrder::YearMonthDay;
    if (d >= 0 && m >= 0 && d < m)
        return DateOrder::DayMonthYear;
    return DateOrder::MonthDayYear;
}

} // namespace tarrow::logparse
