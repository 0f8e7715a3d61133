#include "support/languages.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tarrow::support {
namespace {

TEST(Languages, CodesNamesAndIdentifiers) {
    EXPECT_EQ(LanguageIdToCode(0), QStringLiteral("ENU"));
    EXPECT_EQ(LanguageIdToCode(1033), QStringLiteral("ENU"));
    EXPECT_EQ(LanguageIdToCode(1031), QStringLiteral("DEU"));
    EXPECT_EQ(LanguageIdToCode(2070), QStringLiteral("PTG"));
    EXPECT_EQ(LanguageIdToCode(1049), QStringLiteral("ERROR"));
    EXPECT_EQ(LanguageIdToCode(1042), QStringLiteral("ERROR"));
    EXPECT_EQ(LanguageCodeToId(QStringLiteral("FRA")), 1036);
    EXPECT_EQ(LanguageCodeToId(QStringLiteral("fra")), 1033);
    EXPECT_EQ(LanguageCodeToId(QStringLiteral("XYZ")), 1033);
    EXPECT_EQ(GetLanguageName(1031), QStringLiteral("German (Germany)"));
    EXPECT_EQ(GetLanguageName(1044), QString::fromUtf8("Norwegian (Bokm\xc3\xa5l)"));
    EXPECT_EQ(GetLanguageName(4242), QStringLiteral("(error)"));

    struct Case {
        QLocale locale;
        int id;
    };
    for (const Case& c : {Case{QLocale(QLocale::English, QLocale::UnitedStates), 1033},
                          Case{QLocale(QLocale::German, QLocale::Austria), 3079},
                          Case{QLocale(QLocale::Spanish, QLocale::Spain), 3082},
                          Case{QLocale(QLocale::French, QLocale::Canada), 3084},
                          Case{QLocale(QLocale::Korean, QLocale::SouthKorea), 1042},
                          Case{QLocale(QLocale::Chinese, QLocale::Taiwan), 1028},
                          Case{QLocale(QLocale::Russian, QLocale::Russia), 1049},
                          Case{QLocale(QLocale::German, QLocale::Belgium), 1031},
                          Case{QLocale(QLocale::Swahili, QLocale::Kenya), 1033}})
        EXPECT_EQ(languageIdOf(c.locale), c.id) << c.locale.name().toStdString();
}

TEST(Languages, FontsOfTheEastAsianLanguages) {
    EXPECT_EQ(fontForLanguage(1042).charset, 129);
    EXPECT_EQ(fontForLanguage(1042).face, QString::fromUtf16(u"\uAD74\uB9BC"));
    EXPECT_EQ(fontForLanguage(1041).face,
              QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"));
    EXPECT_EQ(fontForLanguage(2052).charset, 134);
    EXPECT_EQ(fontForLanguage(1028).face, QString::fromUtf16(u"\u65B0\u7D30\u660E\u9AD4"));
    EXPECT_EQ(fontForLanguage(1036).charset, 1);
    EXPECT_TRUE(fontForLanguage(1036).face.isEmpty());
}

TEST(Languages, LibrariesFoundByNameAndHeldOpen) {
    testing::TempFolder dir;
    EXPECT_TRUE(findLanguageCodes(dir.path()).isEmpty());
    for (const char* name : {"BrandingRes_ENU.dll", "brandingres_FRA.dll", "BrandingRes_ENU.bak",
                             "Branding_DEU.dll", "xBrandingRes_ITA.dll", "BRANDINGRES_jpn"})
        dir.write(QString::fromLatin1(name), "MZ");
    QStringList codes = findLanguageCodes(dir.path());
    codes.sort();
    EXPECT_EQ(codes, (QStringList{QStringLiteral("ENU"), QStringLiteral("ENU"),
                                  QStringLiteral("FRA"), QStringLiteral("jpn")}));

    LanguageLibrary library;
    EXPECT_FALSE(library.open(dir.file(QStringLiteral("brandingres_DEU.dll"))));
    EXPECT_FALSE(library.isOpen());
    EXPECT_TRUE(library.open(dir.file(QStringLiteral("brandingres_FRA.dll"))));
    EXPECT_TRUE(library.isOpen());
    library.close();
    EXPECT_FALSE(library.isOpen());
}

} // namespace
} // namespace tarrow::support
