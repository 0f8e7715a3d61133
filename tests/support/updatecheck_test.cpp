#include "support/buildversion.h"
#include "support/httpserver.h"
#include "support/tempfolder.h"
#include "support/updatecheck.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace tarrow::support {
namespace {

const QString kPath = QStringLiteral("/Applications/Mervox/Tarrow/Tarrow.html");

QString listWith(const QString& cellText,
                 const QString& key = QStringLiteral("^") + kPath + QStringLiteral("^ifram_a")) {
    return QStringLiteral(
               "<?xml version=\"1.0\"?><rows><row><cell>Other tool</cell><cell>9.9.9</cell></row>"
               "<row><cell>") +
           key + QStringLiteral("</cell><cell>") + cellText +
           QStringLiteral("</cell></row></rows>");
}

TEST(UpdateCheck, PadVersionString) {
    struct Case {
        const char* in;
        const char* out;
        bool failure;
    };
    for (const Case& c :
         {Case{"2.0.5", "0002.0000.0005", false}, Case{"2.0.10", "0002.0000.0010", false},
          Case{"12345.1", "12345.0001", false}, Case{"2.1", "", false}, Case{"", "", false},
          Case{"2005", "", true}, Case{"2.0.5.1", "0002.0000.0005.0001", false}}) {
        QStringList messages;
        EXPECT_EQ(PadVersionString(QString::fromLatin1(c.in), messages), QString::fromLatin1(c.out))
            << c.in;
        EXPECT_EQ(messages.size(), c.failure ? 1 : 0) << c.in;
    }
    QStringList messages;
    (void)PadVersionString(QStringLiteral("2005"), messages);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("(error):")));
    EXPECT_TRUE(messages[0].endsWith(
        QStringLiteral(") in procedure PadVersionString of Module modUpdateCheck")));
    EXPECT_EQ(ownVersionText(), testing::ownVersion());
    EXPECT_EQ(aboutVersionText(), QStringLiteral(" 2.0 Build 5"));
}

TEST(UpdateCheck, PostedVersionFromTheDownloadList) {
    struct Case {
        QString list;
        QString link;
        QString posted;
    };
    const Case cases[] = {
        {listWith(QStringLiteral("2.0.6")), {}, QStringLiteral("0002.0000.0006")},
        {listWith(QStringLiteral("2.0.6")).toUpper(), {}, QStringLiteral("0002.0000.0006")},
        {listWith(QStringLiteral("v2.0.6")), {}, {}}, // a letter right after the tag
        {listWith(QStringLiteral("2.1")), {}, {}},    // three characters
        {listWith(QStringLiteral("2.0.6"), QStringLiteral("^/Other^ifram_a")), {}, {}},
        {listWith(QStringLiteral("3.1.2"),
                  QStringLiteral("Tools^") + kPath + QStringLiteral("^ifram_a")),
         QStringLiteral("Tools"), QStringLiteral("0003.0001.0002")},
        {QStringLiteral("^") + kPath + QStringLiteral("^ifram_a and no cell at all"), {}, {}},
    };
    for (const Case& c : cases) {
        QStringList messages;
        EXPECT_EQ(postedVersion(c.list, kPath, c.link, messages), c.posted) << c.list.toStdString();
    }
}

TEST(UpdateCheck, OutcomesCompareThePaddedVersions) {
    const ToolsSite site{QStringLiteral("http://www.orvanetools.example")};
    ASSERT_EQ(site.origin.size(), 30);
    EXPECT_EQ(site.homePage(), site.origin + kPath);
    struct Case {
        QString list;
        UpdateOutcome outcome;
    };
    const Case cases[] = {
        {listWith(testing::ownVersion(1)), UpdateOutcome::NewerPosted},
        {listWith(testing::ownVersion(5)), UpdateOutcome::NewerPosted}, // 2.0.10 after 2.0.5
        {listWith(testing::ownVersion() + QStringLiteral(".1")), UpdateOutcome::NewerPosted},
        {listWith(testing::ownVersion()), UpdateOutcome::UpToDate},
        {listWith(QStringLiteral("1.9.9")), UpdateOutcome::UpToDate},
        {listWith(QStringLiteral("2005")), UpdateOutcome::Unreachable},
        {QStringLiteral("short"), UpdateOutcome::Unreachable},
        {QString(), UpdateOutcome::Unreachable},
        {QStringLiteral("this is not XML at all, just text"), UpdateOutcome::Unreachable},
    };
    for (const Case& c : cases) {
        QString asked;
        const UpdateCheck check =
            checkForUpdatedVersion(site, site.homePage(), QString(), [&](const QString& address) {
                asked = address;
                return c.list;
            });
        EXPECT_EQ(check.outcome, c.outcome) << c.list.toStdString();
        EXPECT_EQ(asked,
                  QStringLiteral(
                      "http://www.orvanetools.example/SiteList/AllDownloads/AllDownloads.XML"));
    }
    const UpdateCheck newer =
        checkForUpdatedVersion(site, site.homePage(), QString(),
                               [](const QString&) { return listWith(QStringLiteral("2.0.6")); });
    EXPECT_EQ(newer.message + openHomePageQuestion(),
              QStringLiteral("An updated version of this tool is available on "
                             "www.orvanetools.example.  Click OK to open the "
                             "application home page now"));
    EXPECT_FALSE(newer.message.contains(QStringLiteral("Click OK")))
        << "the command line asks nothing";
    // Every failure says why.
    const UpdateCheck none =
        checkForUpdatedVersion(site, site.homePage(), QString(), [](const QString&) {
            return UrlText({}, QStringLiteral("Connection refused"));
        });
    EXPECT_TRUE(none.message.startsWith(
        QStringLiteral("Unable to contact application home page to check "
                       "for version (Connection refused).  You can access")))
        << none.message.toStdString();
    const UpdateCheck notAList = checkForUpdatedVersion(
        site, site.homePage(), QString(), [](const QString&) { return QStringLiteral("short"); });
    EXPECT_TRUE(notAList.message.contains(QStringLiteral("(the answer is not a download list)")));
    EXPECT_TRUE(none.message.endsWith(QStringLiteral("by going to www.orvanetools.example")));
    // A home page address shorter than the site's own part cannot name a page.
    EXPECT_EQ(
        checkForUpdatedVersion(site, QStringLiteral("http://x"), QString(),
                               [](const QString&) { return listWith(QStringLiteral("2.0.6")); })
            .outcome,
        UpdateOutcome::Unreachable);
}

TEST(UpdateCheck, DownloadsOverHttpWithinLimits) {
    testing::LocalHttpServer server;
    server.body = listWith(QStringLiteral("2.0.6")).toLatin1();
    const QString address =
        server.origin() + QStringLiteral("/SiteList/AllDownloads/AllDownloads.XML");
    EXPECT_EQ(GetUrlText(address), QString::fromLatin1(server.body));

    server.body = QByteArray(3 << 20, ' '); // blanks included: nothing stops early
    server.body.append("end");
    EXPECT_EQ(GetUrlText(address, 15000, 1 << 20).size(), 1 << 20);

    // Each failure says why.
    server.status = 404;
    server.body = "missing";
    EXPECT_TRUE(GetUrlText(address).isEmpty());
    EXPECT_EQ(fetchUrlText(address).why, QStringLiteral("the server answered HTTP 404"));

    server.silent = true;
    QElapsedTimer timer;
    timer.start();
    const UrlText silent = fetchUrlText(address, 300);
    EXPECT_TRUE(silent.text.isEmpty());
    EXPECT_EQ(silent.why, QStringLiteral("no answer within 0.3 s"));
    EXPECT_LT(timer.elapsed(), 5000);

    server.close();
    const UrlText refused = fetchUrlText(address, 2000);
    EXPECT_TRUE(refused.text.isEmpty());
    EXPECT_FALSE(refused.why.isEmpty());
}

TEST(UpdateCheck, StartupCommandGetsVersionAndHomePage) {
    testing::TempFolder dir;
    EXPECT_FALSE(
        checkForUpdatedVersion_Background(dir.path(), QStringLiteral("http://h/x"), QString()));
    const QString out = dir.file(QStringLiteral("args.txt"));
    const QString script =
        dir.write(QStringLiteral("test.sh"),
                  "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + out.toLocal8Bit() + "\"\n");
    EXPECT_FALSE(
        checkForUpdatedVersion_Background(dir.path(), QStringLiteral("http://h/x"), QString()))
        << "not executable";
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    ASSERT_TRUE(
        checkForUpdatedVersion_Background(dir.path(), QStringLiteral("http://h/a b"), QString()));
    for (int i = 0; i < 100 && !QFile::exists(out); ++i)
        QThread::msleep(20);
    QThread::msleep(50);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2.0.5|http://h/a b|"));
}

} // namespace
} // namespace tarrow::support

namespace tarrow::support {
namespace {

qint64 peakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    return 0;
}

// A site that never stops talking is cut off by the size cap or the time limit.
TEST(UpdateCheckBounds, AnEndlessChunkedBodyStaysWithinTheCap) {
    const testing::EndlessHttpServer server("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                                            "4000\r\n" + QByteArray(0x4000, 'x') + "\r\n");
    const qint64 before = peakKilobytes();
    const QString text = GetUrlText(server.origin(), 3000, 1 << 20);
    EXPECT_EQ(text.size(), 1 << 20);
    EXPECT_LT(peakKilobytes() - before, 64 * 1024) << "kilobytes more at the peak";
}

TEST(UpdateCheckBounds, EndlessHeadersAreCutOff) {
    const testing::EndlessHttpServer server(
        "HTTP/1.1 200 OK\r\n", "X-Padding: 0123456789012345678901234567890123456789\r\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(GetUrlText(server.origin(), 500).isEmpty());
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST(UpdateCheckBounds, ARedirectToAnotherHostIsNotFollowed) {
    testing::LocalHttpServer target;
    target.body = "posted list";
    testing::LocalHttpServer redirect;
    redirect.status = 302;
    // 127.0.0.1 and localhost are different hosts to the check.
    const QByteArray location =
        "http://localhost:" + QByteArray::number(target.serverPort()) + "/x";
    redirect.extraHeaders = "Location: " + location + "\r\n";
    EXPECT_TRUE(GetUrlText(redirect.origin() + QStringLiteral("/list")).isEmpty());
    EXPECT_EQ(target.requests, 0);

    // Within the same host a redirect is followed, but not round in circles.
    redirect.extraHeaders = "Location: /again\r\n";
    EXPECT_TRUE(GetUrlText(redirect.origin() + QStringLiteral("/list")).isEmpty());
    EXPECT_EQ(redirect.requests, 1 + 1 + 5);
}

TEST(UpdateCheckBounds, ChunkedAndCloseDelimitedBodiesReadWhole) {
    testing::LocalHttpServer server;
    server.rawAnswer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                       "5;note\r\n<rows\r\n4\r\n></r\r\n4\r\nows>\r\n0\r\n\r\n";
    EXPECT_EQ(GetUrlText(server.origin()), QStringLiteral("<rows></rows>"));
    server.rawAnswer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nbad\r\n";
    EXPECT_TRUE(GetUrlText(server.origin()).isEmpty());
    server.rawAnswer = "HTTP/1.0 200 OK\r\n\r\nto the end";
    EXPECT_EQ(GetUrlText(server.origin()), QStringLiteral("to the end"));
}

} // namespace
} // namespace tarrow::support
