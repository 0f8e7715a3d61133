#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

#include "logparse/fieldreaders.h"

namespace tarrow::logparse {

// Log file name prefixes of the two server generations.
inline QString newerGenerationPrefix() {
    return QStringLiteral("data_OmHcMgr_");
}
inline QString olderGenerationPrefix() {
    return QStringLiteral("data_qnhcmgr_");
}
// The prefix of the generation the server probe found.
inline QString logFilePrefix(bool newerGeneration) {
    return newerGeneration ? newerGenerationPrefix() : olderGenerationPrefix();
}

// Builds a date the way the server's names are read: months past 12 carry into
// the next year, day 0 is the last day of the month before, and so on. Two-digit
// years are taken as 1930 to 2029.
[[nodiscard]] QDate carryDate(int year, int month, int day);

// The date in a log file name: characters 14 to 17 are the year, 18 and 19 the
// month, 20 and 21 the day, each read up to its first non-digit (no digit is 0).
[[nodiscard]] QDate dateFromFileName(const QString& name);

struct LogFile {
    QString path; // as shown
    QString name;
    QDate date;
    QByteArray nativePath; // the path in the system's own bytes, to open the file by
};

struct FolderListing {
    QList<LogFile> files; // files whose names start with the prefix, ignoring case
    QString error;        // set when the folder cannot be read
};

// The log files of a folder in ascending name order, ignoring letter case.
[[nodiscard]] FolderListing listLogFiles(const QString& folder, const QString& prefix);

// One entry of the day list: the date it stands for and the text shown.
struct DayEntry {
    QDate date;
    QString text;
};

// "<short date> <weekday>", for example "1/15/2009 Thursday" in a US locale.
[[nodiscard]] QString dayEntryText(const QDate& date, const QLocale& locale);

// One entry per distinct file date, in the order the dates are first met.
[[nodiscard]] QList<DayEntry> buildDayList(const QList<LogFile>& files, const QLocale& locale);

// The files dated within one day of the chosen day, in folder order.
[[nodiscard]] QList<LogFile> filesForDay(const QList<LogFile>& files, const QDate& day);

// The days a file can hold lines of: its own date and the days either side
// (a file named by date may start before local midnight or run past it).
inline constexpr int kDaysAroundFile = 1;
// Whether a file is among a day's files.
[[nodiscard]] bool feedsDay(const LogFile& file, const QDate& day);

// The day/month order of the locale's short date format.
[[nodiscard]] DateOrder dateOrderOf(const QLocale& locale);
// The order --date-order names ("mdy", "dmy", "ymd"), and its name.
[[nodiscard]] std::optional<DateOrder> dateOrderNamed(const QString& name);
[[nodiscard]] QString dateOrderName(DateOrder order);

} // namespace tarrow::logparse
