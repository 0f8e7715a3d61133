#include "support/languages.h"

#include <QDir>

#ifdef _WIN32
#include <windows.h>
#endif

#include <array>

namespace tarrow::support {

namespace {

struct Language {
    int id;
    const char* code;
    const char* name;
    QLocale::Language language;
    QLocale::Country country;
};

constexpr std::array<Language, 39> kLanguages{{
    {1033, "ENU", "English (United States)", QLocale::English, QLocale::UnitedStates},
    {2057, "ENG", "English (United Kingdom)", QLocale::English, QLocale::UnitedKingdom},
    {3081, "ENA", "English (Australia)", QLocale::English, QLocale::Australia},
    {4105, "ENC", "English (Canada)", QLocale::English, QLocale::Canada},
    {5129, "ENZ", "English (New Zealand)", QLocale::English, QLocale::NewZealand},
    {6153, "ENI", "English (Ireland)", QLocale::English, QLocale::Ireland},
    {1031, "DEU", "German (Germany)", QLocale::German, QLocale::Germany},
    {2055, "DES", "German (Switzerland)", QLocale::German, QLocale::Switzerland},
    {3079, "DEA", "German (Austria)", QLocale::German, QLocale::Austria},
    {4103, "DEL", "German (Luxembourg)", QLocale::German, QLocale::Luxembourg},
    {5127, "DEC", "German (Liechtenstein)", QLocale::German, QLocale::Liechtenstein},
    {1034, "ESP", "Spanish (Spain, traditional sort)", QLocale::Spanish, QLocale::AnyCountry},
    {2058, "ESM", "Spanish (Mexico)", QLocale::Spanish, QLocale::Mexico},
    {3082, "ESN", "Spanish (Spain, modern sort)", QLocale::Spanish, QLocale::Spain},
    {4106, "ESG", "Spanish (Guatemala)", QLocale::Spanish, QLocale::Guatemala},
    {5130, "ESC", "Spanish (Costa Rica)", QLocale::Spanish, QLocale::CostaRica},
    {6154, "ESA", "Spanish (Panama)", QLocale::Spanish, QLocale::Panama},
    {7178, "ESD", "Spanish (Dominican Republic)", QLocale::Spanish, QLocale::DominicanRepublic},
    {8202, "ESV", "Spanish (Venezuela)", QLocale::Spanish, QLocale::Venezuela},
    {9226, "ESO", "Spanish (Colombia)", QLocale::Spanish, QLocale::Colombia},
    {10250, "ESR", "Spanish (Peru)", QLocale::Spanish, QLocale::Peru},
    {11274, "ESS", "Spanish (Argentina)", QLocale::Spanish, QLocale::Argentina},
    {18442, "ESH", "Spanish (Honduras)", QLocale::Spanish, QLocale::Honduras},
    {19466, "ESI", "Spanish (Nicaragua)", QLocale::Spanish, QLocale::Nicaragua},
    {20490, "ESU", "Spanish (Puerto Rico)", QLocale::Spanish, QLocale::PuertoRico},
    {1036, "FRA", "French (France)", QLocale::French, QLocale::France},
    {2060, "FRB", "French (Belgium)", QLocale::French, QLocale::Belgium},
    {3084, "FRC", "French (Canada)", QLocale::French, QLocale::Canada},
    {4108, "FRS", "French (Switzerland)", QLocale::French, QLocale::Switzerland},
    {5132, "FRL", "French (Luxembourg)", QLocale::French, QLocale::Luxembourg},
    {1040, "ITA", "Italian (Italy)", QLocale::Italian, QLocale::Italy},
    {2064, "ITS", "Italian (Switzerland)", QLocale::Italian, QLocale::Switzerland},
    {1041, "JPN", "Japanese", QLocale::Japanese, QLocale::Japan},
    {1043, "NLD", "Dutch (Netherlands)", QLocale::Dutch, QLocale::Netherlands},
    {2067, "NLB", "Dutch (Belgium)", QLocale::Dutch, QLocale::Belgium},
    {1044, "NOR", "Norwegian (Bokm\xc3\xa5l)", QLocale::NorwegianBokmal, QLocale::Norway},
    {2068, "NON", "Norwegian (Nynorsk)", QLocale::NorwegianNynorsk, QLocale::Norway},
    {1046, "PTB", "Portuguese (Brazil)", QLocale::Portuguese, QLocale::Brazil},
    {2070, "PTG", "Portuguese (Portugal)", QLocale::Portuguese, QLocale::Portugal},
}};

// Languages without a library code that a user may still have as default.
struct OtherLanguage {
    int id;
    const char* name;
    QLocale::Language language;
    QLocale::Country country;
};
constexpr std::array<OtherLanguage, 8> kOtherLanguages{{
    {1042, "Korean", QLocale::Korean, QLocale::AnyCountry},
    {2052, "Chinese (People's Republic of China)", QLocale::Chinese, QLocale::China},
    {1028, "Chinese (Taiwan)", QLocale::Chinese, QLocale::Taiwan},
    {1049, "Russian", QLocale::Russian, QLocale::AnyCountry},
    {1045, "Polish", QLocale::Polish, QLocale::AnyCountry},
    {1053, "Swedish", QLocale::Swedish, QLocale::AnyCountry},
    {1030, "Danish", QLocale::Danish, QLocale::AnyCountry},
    {1035, "Finnish", QLocale::Finnish, QLocale::AnyCountry},
}};

} // namespace

QString LanguageIdToCode(int id) {
    if (id == 0)
        return QStringLiteral("ENU");
    for (const Language& l : kLanguages)
        if (l.id == id)
            return QString::fromLatin1(l.code);
    return QStringLiteral("ERROR");
}

int LanguageCodeToId(const QString& code) {
    for (const Language& l : kLanguages)
        if (code == QLatin1String(l.code))
            return l.id;
    return 1033;
}

QString GetLanguageName(int id) {
    for (const Language& l : kLanguages)
        if (l.id == id)
            return QString::fromUtf8(l.name);
    for (const OtherLanguage& l : kOtherLanguages)
        if (l.id == id)
            return QString::fromUtf8(l.name);
    return QStringLiteral("(error)");
}

int languageIdOf(const QLocale& locale) {
    // The exact language and country first, then the language alone.
    for (const Language& l : kLanguages)
        if (l.language == locale.language() && l.country == locale.territory())
            return l.id;
    for (const OtherLanguage& l : kOtherLanguages)
        if (l.language == locale.language() &&
            (l.country == QLocale::AnyCountry || l.country == locale.territory()))
            return l.id;
    for (const Language& l : kLanguages)
        if (l.language == locale.language())
            return l.id;
    return 1033;
}

LanguageFont fontForLanguage(int id) {
    switch (id) {
    case 1041:
        return {128,
                QString::fromUtf8("\xef\xbc\xad\xef\xbc\xb3 "
                                  "\xef\xbc\xb0\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf")};
    case 1042:
        return {129, QString::fromUtf8("\xea\xb5\xb4\xeb\xa6\xbc")};
    case 2052:
        return {134, QString::fromUtf8("\xe5\xae\x8b\xe4\xbd\x93")};
    case 1028:
        return {136, QString::fromUtf8("\xe6\x96\xb0\xe7\xb4\xb0\xe6\x98\x8e\xe9\xab\x94")};
    default:
        return {1, QString()};
    }
}

QStringList findLanguageCodes(const QString& folder) {
    QStringList codes;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        if (name.left(12).compare(QStringLiteral("BrandingRes_"), Qt::CaseInsensitive) == 0)
            codes << name.mid(12, 3);
    return codes;
}

#ifdef _WIN32
struct LanguageLibrary::Handle {
    HMODULE module = nullptr;
};
#else
struct LanguageLibrary::Handle {
    QFile file;
};
#endif

LanguageLibrary::LanguageLibrary() = default;
LanguageLibrary::~LanguageLibrary() {
    close();
}

bool LanguageLibrary::open(const QString& path) {
    close();
#ifdef _WIN32
    // As a data file: nothing in it runs and nothing it names is loaded.
    HMODULE module =
        LoadLibraryExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), nullptr,
                       DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    handle_ = std::make_unique<Handle>();
    handle_->module = module;
#else
    auto handle = std::make_unique<Handle>();
    handle->file.setFileName(path);
    if (!handle->file.open(QIODevice::ReadOnly))
        return false;
    handle_ = std::move(handle);
#endif
    path_ = path;
    return true;
}

void LanguageLibrary::close() {
#ifdef _WIN32
    if (handle_ && handle_->module)
        FreeLibrary(handle_->module);
#endif
    handle_.reset();
    path_.clear();
}

bool LanguageLibrary::isOpen() const {
    return handle_ != nullptr;
}

} // namespace tarrow::support
