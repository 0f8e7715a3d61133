#include "logparse/logfiles.h"

#include "platform/shownpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#endif

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

// Every entry of a folder but its subfolders (hidden files, FIFOs and links
// included), in ascending name order ignoring case: each name as shown and the
// file's path in the system's own bytes. Read with the system's own calls on
// Unix, so a name that is not valid UTF-8 is still found and opened.
std::vector<std::pair<QString, QByteArray>> folderEntries(const QString& folder) {
    std::vector<std::pair<QString, QByteArray>> entries;
#ifndef _WIN32
    const QByteArray base = QFile::encodeName(folder) + '/';
    if (DIR* dir = ::opendir(base.constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            const QByteArray native = base + entry->d_name;
            struct stat info {};
            if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
                entries.emplace_back(QFile::decodeName(entry->d_name), native);
        }
        ::closedir(dir);
    }
#else
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        entries.emplace_back(entry.fileName(), QFile::encodeName(entry.filePath()));
#endif
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    return entries;
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
                            .arg(platform::shownPath(folder));
        return listing;
    }
    const QDir dir(folder);
    if (!info.isReadable() || !dir.isReadable()) {
        listing.error = QStringLiteral("The log folder \"%1\" cannot be read.")
                            .arg(platform::shownPath(folder));
        return listing;
    }
    for (const auto& [name, native] : folderEntries(folder))
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            listing.files.append(LogFile{dir.filePath(name), name, dateFromFileName(name), native});
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

bool feedsDay(const LogFile& file, const QDate& day) {
    return file.date.isValid() && qAbs(file.date.daysTo(day)) <= kDaysAroundFile;
}

QList<LogFile> filesForDay(const QList<LogFile>& files, const QDate& day) {
    QList<LogFile> chosen;
    for (const LogFile& file : files)
        if (feedsDay(file, day))
            chosen.append(file);
    return chosen;
}

DateOrder dateOrderOf(const QLocale& locale) {
    // The C/POSIX locale (as cron runs) writes month first with its own %x,
    // whatever Qt's stand-in format for it says.
    if (locale.language() == QLocale::C)
        return DateOrder::MonthDayYear;
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

std::optional<DateOrder> dateOrderNamed(const QString& name) {
    if (name == QLatin1String("mdy"))
        return DateOrder::MonthDayYear;
    if (name == QLatin1String("dmy"))
        return DateOrder::DayMonthYear;
    if (name == QLatin1String("ymd"))
        return DateOrder::YearMonthDay;
    return std::nullopt;
}

QString dateOrderName(DateOrder order) {
    switch (order) {
    case DateOrder::DayMonthYear:
        return QStringLiteral("dmy");
    case DateOrder::YearMonthDay:
        return QStringLiteral("ymd");
    case DateOrder::MonthDayYear:
        break;
    }
    return QStringLiteral("mdy");
}

} // namespace tarrow::logparse
