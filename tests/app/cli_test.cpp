#include "app/clifixture.h"
#include "support/buildversion.h"
#include "support/httpserver.h"
#include "support/tarrowprocess.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::logLine;

using testing::ProcessRun;

// Runs tarrow while this process keeps serving events (its own web server).
ProcessRun tarrowServed(const QStringList& args, const QString& toolsSite) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARROW_TOOLS_SITE"), toolsSite);
    process.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(TARROW_BIN_DIR "/tarrow"), args);
    loop.exec();
    return ProcessRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
}

TEST(CliUpdate, ExitCodeTellsTheOutcome) {
    testing::LocalHttpServer server;
    const QByteArray row =
        "<row><cell>^/Applications/Mervox/Tarrow/Tarrow.html^ifram_a</cell><cell>";
    struct Case {
        QByteArray posted;
        int code;
        const char* says;
    };
    for (const Case& c : {Case{testing::ownVersion(1).toLatin1(), 3, "An updated version"},
                          Case{testing::ownVersion().toLatin1(), 0, "most up to date"},
                          Case{"", 1, "Unable to contact"}}) {
        server.body = "<rows>" + row + c.posted + "</cell></row></rows>";
        const ProcessRun run = tarrowServed({QStringLiteral("check-update")}, server.origin());
        EXPECT_EQ(run.code, c.code) << c.posted.constData();
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(c.says))) << run.out.toStdString();
    }
    server.close();
    EXPECT_EQ(tarrowServed({QStringLiteral("check-update")}, server.origin()).code, 1);
}

TEST_F(CliTest, ADayThatCannotBeStoredIsAFailure) {
    const QStringList day =
        QStringList{QStringLiteral("--day"), QStringLiteral("2009-01-15")} + common();
    ASSERT_EQ(tarrow(QStringList{QStringLiteral("load")} + day).code, 0);
    {
        // Every insert refused, as on a full disk.
        SQLite::Database db(dir.file(QStringLiteral("data/PortData.mdb")).toStdString(),
                            SQLite::OPEN_READWRITE);
        db.exec("CREATE TRIGGER refuse BEFORE INSERT ON RawPortData "
                "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;");
    }
    const QString csv = dir.file(QStringLiteral("raw.csv"));
    const ProcessRun load =
        tarrow(QStringList{QStringLiteral("load"), QStringLiteral("--raw-csv"), csv} + day);
    EXPECT_EQ(load.code, 2);
    EXPECT_TRUE(load.err.contains(QStringLiteral("database or disk is full")))
        << load.err.toStdString();
    EXPECT_TRUE(load.err.contains(QStringLiteral("no report can be run")));
    EXPECT_FALSE(load.out.contains(QStringLiteral("Call information found")));
    EXPECT_FALSE(QFile::exists(csv)) << "never the rows of an earlier load";

    const QString out = dir.file(QStringLiteral("out"));
    for (const QStringList& command :
         {QStringList{QStringLiteral("report"), QStringLiteral("--out"), out},
          QStringList{QStringLiteral("capacity")}}) {
        const ProcessRun run = tarrow(command + day);
        EXPECT_EQ(run.code, 2) << command[0].toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("no report can be run")));
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
}

TEST_F(CliTest, DaysListsIsoDateAndEntryText) {
    const ProcessRun run = tarrow(QStringList{QStringLiteral("days")} + common());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("2009-01-15\t1/15/2009 Thursday\n2009-01-18\t1/18/2009 Sunday\n"));
}

TEST_F(CliTest, ADayCarriedPastTheYear9999KeepsItsIsoDate) {
    // Month 13 of 9999 carries into January 10000.
    dir.write(QStringLiteral("far/data_qnhcmgr_99991305.csv"), "no calls\r\n");
    const QStringList far = {QStringLiteral("--logs"), dir.file(QStringLiteral("far"))};
    const ProcessRun days = tarrow(QStringList{QStringLiteral("days")} + far);
    EXPECT_TRUE(days.out.startsWith(QStringLiteral("10000-01-05\t"))) << days.out.toStdString();
    const ProcessRun load = tarrow(QStringList{QStringLiteral("load"), QStringLiteral("--day"),
                                               QStringLiteral("10000-01-05")} +
                                   far);
    EXPECT_EQ(load.code, 1) << "read as a day without calls: " << load.err.toStdString();
}

TEST_F(CliTest, VersionAndTheEndOfOptions) {
    const ProcessRun version = tarrow({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("tarrow " TARROW_VERSION_STRING "\n"));
    EXPECT_EQ(
        tarrow(QStringList{QStringLiteral("days")} + common() + QStringList{QStringLiteral("--")})
            .code,
        0);
    // After -- nothing is an option: a word there is an argument days does not take.
    const ProcessRun after =
        tarrow(QStringList{QStringLiteral("days"), QStringLiteral("--")} + common());
    EXPECT_EQ(after.code, 2);
    EXPECT_TRUE(after.err.contains(QStringLiteral("Unexpected argument --logs")));
}

TEST_F(CliTest, LoadPrintsMessagesAndWritesRawRows) {
    const QString csv = dir.file(QStringLiteral("raw.csv"));
    const ProcessRun run =
        tarrow(QStringList{QStringLiteral("load"), QStringLiteral("--day"),
                           QStringLiteral("2009-01-15"), QStringLiteral("--raw-csv"), csv} +
               common());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("1 line whose port field is shorter than four characters")));
    EXPECT_TRUE(
        run.out.endsWith(QStringLiteral("Call information found in logs for 1/15/2009 Thursday\n"
                                        "Inbound Calls=1\nMWI Dialouts=0\n"
                                        "Notification Dialouts=0\nTRAP Dialouts=0\n"
                                        "AMIS Dialouts=0\n")));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 3);
}

// Scheduled runs have the C locale: slash dates are read month first there,
// as POSIX writes them; --date-order chooses otherwise, and the usage tells
// the order in force.
TEST_F(CliTest, SlashDatesUnderTheCLocaleAndTheChosenOrder) {
    dir.write(QStringLiteral("slash/data_qnhcmgr_20090308.csv"),
              "3/8/2009 6:48:10 AM,HcMgr,1162,NEW CALL,Port1,1,9,0\r\n"
              "3/8/2009 6:50:10 AM,HcMgr,1163,CALL DISCONNECT,Port1,0,10,0\r\n");
    const QStringList cLocale{QStringLiteral("LC_ALL=C"), QStringLiteral("LANG=C")};
    const QStringList load{QStringLiteral("load"), QStringLiteral("--logs"),
                           dir.file(QStringLiteral("slash")), QStringLiteral("--day"),
                           QStringLiteral("2009-03-08")};
    const testing::ProcessRun c = tarrow(load, cLocale);
    EXPECT_EQ(c.code, 0) << c.out.toStdString() << c.err.toStdString();
    EXPECT_TRUE(c.out.contains(QStringLiteral("Inbound Calls=1"))) << c.out.toStdString();

    const testing::ProcessRun dmy =
        tarrow(load + QStringList{QStringLiteral("--date-order"), QStringLiteral("dmy")}, cLocale);
    EXPECT_EQ(dmy.code, 1) << "read as 3 August, the 8th of March has no call";

    const testing::ProcessRun bad =
        tarrow(load + QStringList{QStringLiteral("--date-order"), QStringLiteral("american")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err, QStringLiteral("--date-order takes mdy, dmy or ymd. See --help.\n"));

    const testing::ProcessRun help = tarrow({QStringLiteral("--help")}, cLocale);
    EXPECT_TRUE(help.out.simplified().contains(QStringLiteral("are read mdy here")))
        << help.out.toStdString();
    const testing::ProcessRun british =
        tarrow({QStringLiteral("--help")},
               {QStringLiteral("LC_ALL=en_GB.UTF-8"), QStringLiteral("LANG=en_GB.UTF-8")});
    if (british.out.contains(QStringLiteral("en_GB"))) {
        EXPECT_TRUE(british.out.simplified().contains(QStringLiteral("are read dmy here")));
    }
}

// An empty --data-dir is no folder: bad usage, not the default folder.
TEST_F(CliTest, AnEmptyDataDirIsBadUsage) {
    const testing::ProcessRun run =
        tarrow({QStringLiteral("load"), QStringLiteral("--logs"), dir.file(QStringLiteral("logs")),
                QStringLiteral("--day"), QStringLiteral("2009-01-15"), QStringLiteral("--data-dir"),
                QString()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, QStringLiteral("--data-dir needs a folder. See --help.\n"));
}

TEST_F(CliTest, ExitCodes) {
    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{QStringLiteral("load"), QStringLiteral("--day"), QStringLiteral("2009-01-18")}, 1},
        {{QStringLiteral("load"), QStringLiteral("--day"), QStringLiteral("15/01/2009")}, 2},
        {{QStringLiteral("load")}, 2},
        {{QStringLiteral("days"), QStringLiteral("--bogus")}, 2},
        {{QStringLiteral("load"), QStringLiteral("--help")}, 0},
        {{QStringLiteral("report"), QStringLiteral("--day"), QStringLiteral("2009-01-15")},
         2}, // no --out
        {{QStringLiteral("report"), QStringLiteral("--day"), QStringLiteral("2009-01-15"),
          QStringLiteral("--out"), QStringLiteral("x"), QStringLiteral("--from"),
          QStringLiteral("10:00"), QStringLiteral("--to"), QStringLiteral("10:00:59")},
         2},
        {{QStringLiteral("report"), QStringLiteral("--day"), QStringLiteral("2009-01-15"),
          QStringLiteral("--out"), QStringLiteral("x"), QStringLiteral("--charts"),
          QStringLiteral("gif")},
         2},
        {{QStringLiteral("--help")}, 0},
        {{QStringLiteral("help")}, 0},
        // An unknown word is bad usage, never the window.
        {{QStringLiteral("frobnicate")}, 2},
        {{QStringLiteral("capacity"), QStringLiteral("--day"), QStringLiteral("2009-01-15"),
          QStringLiteral("--out"), QStringLiteral("x")},
         2}, // an option of another sub-command
        {{QStringLiteral("load"), QStringLiteral("--day"), QStringLiteral("2009-01-15"),
          QStringLiteral("--json")},
         2},
        {{QStringLiteral("erlang"), QStringLiteral("--ports"), QStringLiteral("20"),
          QStringLiteral("--gos"), QStringLiteral("0.01")},
         0},
        {{QStringLiteral("erlang"), QStringLiteral("--ports"), QStringLiteral("20")}, 2},
        {{QStringLiteral("erlang"), QStringLiteral("--logs"), QStringLiteral("x"),
          QStringLiteral("--ports"), QStringLiteral("20"), QStringLiteral("--gos"),
          QStringLiteral("0.01")},
         2},
    };
    for (const Case& c : cases) {
        const QStringList args =
            c.args.size() > 1 && c.args[1] == QStringLiteral("--day") ? c.args + common() : c.args;
        const ProcessRun run = tarrow(args);
        EXPECT_EQ(run.code, c.code) << args.join(QLatin1Char(' ')).toStdString();
        if (c.code == 2) {
            EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        }
    }
    const ProcessRun missing = tarrow(
        {QStringLiteral("days"), QStringLiteral("--logs"), dir.file(QStringLiteral("nowhere")),
         QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))});
    EXPECT_EQ(missing.code, 2);
}

} // namespace
} // namespace tarrow::app

namespace tarrow::app {
namespace {

// A load killed while it writes (the scratch database keeps its journal in
// memory) leaves a working database that the next run replaces and loads into.
TEST(CliRecovery, ALoadKilledHalfWayLeavesAUsableDatabase) {
    testing::TempFolder dir;
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i) {
        const int second = i % 86400;
        const QByteArray at = testing::logTime("2009-01-15", second);
        bytes += testing::logLine(at.constData(), i % 2 ? "1163" : "1162",
                                  i % 2 ? "CALL DISCONNECT" : "NEW CALL", "Port3", 1, 1);
        // Calls after 23:00 UTC fall on the next day in Berlin: 96,400 stay.
    }
    dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"), bytes);
    const QStringList args = {QStringLiteral("load"),           QStringLiteral("--logs"),
                              dir.file(QStringLiteral("logs")), QStringLiteral("--day"),
                              QStringLiteral("2009-01-15"),     QStringLiteral("--data-dir"),
                              dir.file(QStringLiteral("data"))};
    for (int delay : {40, 120}) {
        QProcess doomed;
        doomed.start(QStringLiteral(TARROW_BIN_DIR "/tarrow"), args);
        ASSERT_TRUE(doomed.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delay));
        doomed.kill();
        doomed.waitForFinished();
        const ProcessRun again = tarrow(args);
        EXPECT_EQ(again.code, 0) << again.err.toStdString();
        EXPECT_TRUE(again.out.contains(QStringLiteral("Inbound Calls=96400")))
            << again.out.toStdString();
    }
}

} // namespace
} // namespace tarrow::app
