#include "app/widgets/frmmain.h"
#include "platform/widgets/twips.h"
#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"
#include "support/httpserver.h"
#include "support/scripteddialogs.h"
#include "support/tempfolder.h"
#include "support/widgets/frmabout.h"
#include "support/widgets/frmhelp.h"
#include "support/widgets/supportwindows.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace tarrow::support {
namespace {

using platform::twips;

// A window with a step of its own to run after a language change.
class HookedWindow : public QWidget {
    Q_OBJECT
public:
    int runs = 0;
    HookedWindow() { setObjectName(QStringLiteral("frmHooked")); }
    Q_INVOKABLE void frmHooked_Auto_Init() { ++runs; }
};

class SupportWindowsTest : public ::testing::Test {
protected:
    SupportWindowsTest() : windows(dir.path(), dialogs) {}
    ~SupportWindowsTest() override { QApplication::closeAllWindows(); }
    QMenu& languageMenu() {
        windows.showAbout();
        return windows.aboutWindow()->languageMenu();
    }
    testing::TempFolder dir;
    testing::ScriptedDialogs dialogs;
    SupportWindows windows;
};

TEST_F(SupportWindowsTest, AboutShowsVersionAndStaysOneModalWindow) {
    windows.showAbout();
    frmAbout* about = windows.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
              QStringLiteral(" %1.%2 Build %3")
                  .arg(TARROW_VERSION_MAJOR)
                  .arg(TARROW_VERSION_MINOR)
                  .arg(TARROW_VERSION_BUILD));
    EXPECT_TRUE(about->findChild<QLabel*>(QStringLiteral("lblProduct"))
                    ->text()
                    .startsWith(QStringLiteral("Tarrow")))
        << "the window names the product";
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    EXPECT_TRUE(about->isHidden());
    windows.showAbout();
    EXPECT_EQ(windows.aboutWindow(), about);
    EXPECT_FALSE(about->isHidden());
}

TEST_F(SupportWindowsTest, NoLibrariesGiveOneItemThatMeansEnglish) {
    const QList<QAction*> items = languageMenu().actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), QStringLiteral("No languages loaded"));
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mnuLanguageList_0"));
    items[0]->trigger();
    EXPECT_EQ(windows.languages().CurrentLanguageId(), 1033);
}

TEST_F(SupportWindowsTest, ChoosingALanguageOpensItsLibraryAndSetsFonts) {
    dir.write(QStringLiteral("BrandingRes_DEU.dll"), "MZ");
    dir.write(QStringLiteral("BrandingRes_FRA.dll"), "MZ");
    dir.write(QStringLiteral("BrandingRes_JPN.dll"), "MZ");
    dir.write(QStringLiteral("brandingres_fra.bak"), "MZ");
    const QList<QAction*> items = languageMenu().actions();
    QStringList captions;
    for (QAction* item : items)
        captions << item->text();
    // In name order; the lower-case code "fra" names no language and stands for English.
    EXPECT_EQ(
        captions,
        (QStringList{QStringLiteral("German (Germany)"), QStringLiteral("English (United States)"),
                     QStringLiteral("French (France)"), QStringLiteral("Japanese")}));

    HookedWindow other;
    other.show();
    items[2]->trigger();
    EXPECT_EQ(windows.languages().CurrentLanguageId(), 1036);
    EXPECT_TRUE(
        windows.languages().library().path().endsWith(QStringLiteral("BrandingRes_FRA.dll")));
    EXPECT_EQ(other.runs, 1);

    const QString before = other.font().family();
    items[3]->trigger();
    EXPECT_EQ(windows.languages().CurrentLanguageId(), 1041);
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const QString face = QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    EXPECT_EQ(other.font().family(), japanese.isEmpty() ? face : japanese.first())
        << before.toStdString();
    EXPECT_EQ(
        windows.aboutWindow()->findChild<QLabel*>(QStringLiteral("lblVersion"))->font().family(),
        other.font().family());
}

TEST_F(SupportWindowsTest, HelpWindowShowsThePageAndKeepsItsSize) {
    dir.write(QStringLiteral("Tarrow.htm"), "<html><body><h1>Tarrow help</h1></body></html>");
    windows.showHelp();
    frmHelp* help = windows.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->browser().toPlainText().contains(QStringLiteral("Tarrow help")));
    help->resize(twips(2000), twips(2000));
    QApplication::processEvents();
    const QSize outer = help->size() + (help->frameGeometry().size() - help->geometry().size());
    EXPECT_EQ(outer, QSize(twips(2500), twips(2400)));
    EXPECT_EQ(help->browser().geometry(),
              QRect(twips(50), twips(1), outer.width() - twips(200), outer.height() - twips(400)));
    windows.showHelp();
    EXPECT_EQ(windows.helpWindow(), help) << "one help window";
}

TEST_F(SupportWindowsTest, MissingHelpPageSaysSo) {
    windows.showHelp();
    EXPECT_TRUE(
        windows.helpWindow()->browser().toPlainText().contains(QStringLiteral("Page not found")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(UpdateMenu, AsksAndOpensTheHomePage) {
    testing::LocalHttpServer server;
    qputenv("TARROW_TOOLS_SITE", server.origin().toLatin1());
    testing::TempFolder dir;
    dir.writeTemplate();
    load::AppState state;
    state.programFolder = dir.path();
    state.dataFolder = dir.path();
    testing::ScriptedDialogs dialogs;
    serverprobe::MapRegistry registry;
    const auto config = serverprobe::makeSystemConfigDatabase();
    app::frmMain main(state, dialogs, registry, *config);
    QAction* check = main.findChild<QAction*>(QStringLiteral("mnuCheckforUpdatedVersion"));

    server.body = "<rows><row><cell>^/Applications/Mervox/Tarrow/Tarrow.html^ifram_a</cell>"
                  "<cell>2.1.0</cell></row></rows>";
    dialogs.answerOk = false;
    check->trigger();
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.opened.isEmpty());
    dialogs.answerOk = true;
    check->trigger();
    EXPECT_EQ(
        dialogs.opened,
        QStringList{server.origin() + QStringLiteral("/Applications/Mervox/Tarrow/Tarrow.html")});
    EXPECT_TRUE(dialogs.messages.isEmpty());

    server.body = "<rows><row><cell>^/Applications/Mervox/Tarrow/Tarrow.html^ifram_a</cell>"
                  "<cell>2.0.5</cell></row></rows>";
    check->trigger();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral(
                                   "You have the most up to date version of this tool installed")});
    qunsetenv("TARROW_TOOLS_SITE");
}

} // namespace
} // namespace tarrow::support

#include "supportwindows_test.moc"
