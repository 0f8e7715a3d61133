#include "logparse/logfiles.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tarrow::logparse {
namespace {

TEST(LogFileNames, DateFromCharacterPositionsWithCarry) {
    struct Case {
        const char* name;
        QDate date;
    };
    const Case cases[] = {
        {"data_qnhcmgr_20090115.csv", QDate(2009, 1, 15)},
        {"DATA_OMHCMGR_20090115_extra.txt", QDate(2009, 1, 15)},
        {"data_qnhcmgr_20091301.csv", QDate(2010, 1, 1)},  // month 13: next January
        {"data_qnhcmgr_20090300.csv", QDate(2009, 2, 28)}, // day 0: end of month before
        {"data_qnhcmgr_20090231.csv", QDate(2009, 3, 3)},
        {"data_qnhcmgr_2009011.csv", QDate(2009, 1, 1)}, // "1." reads 1
        {"data_qnhcmgr_2009x115.csv", QDate(2009, 1, 1).addMonths(-1).addDays(14)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateFromFileName(QString::fromLatin1(c.name)), c.date) << c.name;
    EXPECT_EQ(carryDate(9, 1, 15), QDate(2009, 1, 15));
    EXPECT_EQ(carryDate(99, 1, 15), QDate(1999, 1, 15));
}

TEST(LogFolder, ListsMatchingFilesInNameOrderIgnoringCase) {
    testing::TempFolder dir;
    dir.write(QStringLiteral("data_qnhcmgr_20090116.csv"), "");
    dir.write(QStringLiteral("DATA_QNHCMGR_20090114.csv"), "");
    dir.write(QStringLiteral("data_qnhcmgr_20090115b.csv"), "");
    dir.write(QStringLiteral("data_qnhcmgr_20090115a.csv"), "");
    dir.write(QStringLiteral("data_OmHcMgr_20090113.csv"), "");
    dir.write(QStringLiteral("notes.txt"), "");
    const FolderListing listing = listLogFiles(dir.path(), olderGenerationPrefix());
    ASSERT_TRUE(listing.error.isEmpty());
    QStringList names;
    for (const LogFile& f : listing.files)
        names << f.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("DATA_QNHCMGR_20090114.csv"),
                                  QStringLiteral("data_qnhcmgr_20090115a.csv"),
                                  QStringLiteral("data_qnhcmgr_20090115b.csv"),
                                  QStringLiteral("data_qnhcmgr_20090116.csv")}));

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QList<DayEntry> days = buildDayList(listing.files, us);
    ASSERT_EQ(days.size(), 3);
    EXPECT_EQ(days[0].date, QDate(2009, 1, 14));
    EXPECT_EQ(days[1].text, QStringLiteral("1/15/2009 Thursday"));
    EXPECT_EQ(days[2].date, QDate(2009, 1, 16));

    EXPECT_EQ(filesForDay(listing.files, QDate(2009, 1, 15)).size(), 4);
    EXPECT_EQ(filesForDay(listing.files, QDate(2009, 1, 17)).size(), 1);
    EXPECT_EQ(filesForDay(listing.files, QDate(2009, 1, 18)).size(), 0);
}

TEST(LogFolder, MissingFolderIsAnError) {
    testing::TempFolder dir;
    const FolderListing listing =
        listLogFiles(dir.file(QStringLiteral("gone")), olderGenerationPrefix());
    EXPECT_TRUE(listing.files.isEmpty());
    EXPECT_FALSE(listing.error.isEmpty());
}

TEST(Locales, DayEntryTextAndDateOrder) {
    const QDate day(2009, 1, 15);
    EXPECT_EQ(dayEntryText(day, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("1/15/2009 Thursday"));
    EXPECT_EQ(dayEntryText(day, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("15.01.2009 Donnerstag"));
    EXPECT_EQ(dateOrderOf(QLocale(QLocale::English, QLocale::UnitedStates)),
              DateOrder::MonthDayYear);
    EXPECT_EQ(dateOrderOf(QLocale(QLocale::German, QLocale::Germany)), DateOrder::DayMonthYear);
    EXPECT_EQ(dateOrderOf(QLocale(QLocale::English, QLocale::UnitedKingdom)),
              DateOrder::DayMonthYear);
    EXPECT_EQ(dateOrderOf(QLocale(QLocale::Japanese, QLocale::Japan)), DateOrder::YearMonthDay);
}

} // namespace
} // namespace tarrow::logparse
