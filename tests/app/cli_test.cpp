#include "reports/reporttable.h"
#include "support/buildversion.h"
#include "support/httpserver.h"
#include "support/tarrowprocess.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QXmlStreamReader>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::logLine;

using testing::ProcessRun;

ProcessRun tarrow(const QStringList& args) {
    return testing::runTarrow(args);
}

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

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"),
                  logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12) +
                      logLine("2009-01-15 10:17:05", "1163", "CALL DISCONNECT", "Port7", 2, 13) +
                      logLine("2009-01-15 10:18:00", "1162", "NEW CALL", "P7", 2, 13));
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090118.csv"),
                  logLine("2009-01-18 10:15:30", "2210", "HEARTBEAT", "Port7", 3, 12));
    }
    QStringList common() const {
        return {QStringLiteral("--logs"), dir.file(QStringLiteral("logs")),
                QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))};
    }
    // "tarrow report" of the fixture day into a folder, with more options.
    QStringList report(const QString& out, const QStringList& more = {}) const {
        return QStringList{QStringLiteral("report"), QStringLiteral("--day"),
                           QStringLiteral("2009-01-15"), QStringLiteral("--out"), out} +
               more + common();
    }
    testing::TempFolder dir;
};

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

// Every report's chart as a drawing: well-formed SVG holding the chart's own
// texts and lines rather than a picture of them.
TEST_F(CliTest, ReportWritesSvgCharts) {
    const QString out = dir.file(QStringLiteral("svg"));
    const ProcessRun run = tarrow(report(out, {QStringLiteral("--charts"), QStringLiteral("svg")}));
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    struct Chart {
        const char* file;
        const char* label; // a legend entry the chart must hold as text
    };
    for (const Chart& chart : {Chart{"PortAvailabilityGraph_1_15_2009.svg", "Ports currently busy"},
                               Chart{"CallTrafficGraph_1_15_2009.svg", "Inbound Calls"},
                               Chart{"CallDistributionGraph_1_15_2009.svg", "Inbound Calls"},
                               Chart{"PortTimeUseGraph_1_15_2009.svg", "Incoming Calls"},
                               Chart{"CapacityGraph_1_15_2009.svg", "Inbound Calls"}}) {
        QFile file(QDir(out).filePath(QString::fromLatin1(chart.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << chart.file;
        const QByteArray bytes = file.readAll();
        QXmlStreamReader xml(bytes);
        QStringList texts;
        int shapes = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("text"))
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            else if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline"))
                ++shapes;
        }
        EXPECT_FALSE(xml.hasError()) << chart.file << ": " << xml.errorString().toStdString();
        EXPECT_TRUE(texts.contains(QString::fromLatin1(chart.label))) << chart.file;
        EXPECT_GT(shapes, 10) << chart.file;
        EXPECT_FALSE(bytes.contains("<image")) << chart.file << " holds a bitmap";
    }
}

// Runs a poppler tool on a file and gives its output.
QString poppler(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(CliTest, ReportWritesThePdfManagementReport) {
    const QString pdf = dir.file(QStringLiteral("report/TarrowReport.pdf"));
    QDir().mkpath(dir.file(QStringLiteral("report")));
    const QStringList noCharts = report(dir.file(QStringLiteral("out")),
                                        {QStringLiteral("--charts"), QStringLiteral("none")});
    const ProcessRun run = tarrow(noCharts + QStringList{QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Wrote ") + pdf));

    const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842 pts (A4)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +5\n"))))
        << info.toStdString();
    // Text is text: the verdict leads, each report has its page, every page its footer.
    const QString text =
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QStringList pages = text.split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 5);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("ports"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Busy hour")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Capacity Report")));
    // Every report of the report table is in it, in the table's order; the
    // report with the verdict leads.
    qsizetype at = pages[0].size();
    for (const reports::ReportEntry& entry : reports::reportTable()) {
        if (entry.id == reports::ReportId::Capacity)
            continue;
        const qsizetype found = text.indexOf(entry.tabCaption, at);
        EXPECT_GT(found, at) << entry.tabCaption.toStdString();
        at = std::max(at, found);
    }
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Max")));
    for (int page = 0; page < 5; ++page) {
        EXPECT_TRUE(pages[page].contains(QStringLiteral("Page %1").arg(page + 1))) << page;
        EXPECT_TRUE(pages[page].contains(
            QStringLiteral("Tarrow " TARROW_VERSION_STRING " \u2014 2009-01-15")));
    }
    // Fonts travel with the file and charts are drawings, not pictures.
    const QStringList fonts = poppler(QStringLiteral("pdffonts"), {pdf})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    EXPECT_FALSE(fonts.isEmpty());
    const QRegularExpression embedded(QStringLiteral(" (yes|no) +(yes|no) +(yes|no) +\\d+ +\\d+$"));
    for (const QString& font : fonts)
        EXPECT_EQ(embedded.match(font).captured(1), QStringLiteral("yes")) << font.toStdString();
    EXPECT_EQ(poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                  .count(QLatin1Char('\n')),
              2)
        << "only the header lines of an empty list";

    // A folder or an unwritable place gets a message and exit 2; nothing half-written.
    for (const QString& bad :
         {dir.file(QStringLiteral("report")), QStringLiteral("/proc/TarrowReport.pdf")}) {
        const ProcessRun refused = tarrow(noCharts + QStringList{QStringLiteral("--pdf"), bad});
        EXPECT_EQ(refused.code, 2) << bad.toStdString();
        EXPECT_TRUE(refused.err.contains(QStringLiteral("Could not save")))
            << refused.err.toStdString();
        EXPECT_FALSE(refused.out.contains(QStringLiteral("Wrote ") + bad));
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/TarrowReport.pdf")));
}

TEST_F(CliTest, APdfOfTenThousandPortsSplitsItsTablesOverPages) {
    QByteArray log;
    for (int port = 0; port < 10000; ++port) {
        const QByteArray name = "Port" + QByteArray::number(port);
        log += logLine(testing::logTime("2009-01-16", 36000 + port % 3000).constData(), "1162",
                       "NEW CALL", name.constData(), 1, 9) +
               logLine(testing::logTime("2009-01-16", 36060 + port % 3000).constData(), "1163",
                       "CALL DISCONNECT", name.constData(), 0, 9);
    }
    dir.write(QStringLiteral("many/data_qnhcmgr_20090116.csv"), log);
    const QString pdf = dir.file(QStringLiteral("many.pdf"));
    const ProcessRun run = tarrow({QStringLiteral("report"), QStringLiteral("--logs"),
                                   dir.file(QStringLiteral("many")), QStringLiteral("--day"),
                                   QStringLiteral("2009-01-16"), QStringLiteral("--out"),
                                   dir.file(QStringLiteral("many-out")), QStringLiteral("--charts"),
                                   QStringLiteral("none"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages: +(\\d+)"))
                                              .match(poppler(QStringLiteral("pdfinfo"), {pdf}));
    EXPECT_GT(pages.captured(1).toInt(), 300);
    // A page in the middle of a per-port table starts with the table's header row
    // and shows whole port numbers.
    const QString middle =
        poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-f"), QStringLiteral("200"), QStringLiteral("-l"),
                 QStringLiteral("200"), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(middle.trimmed().startsWith(QStringLiteral("Port ")))
        << middle.left(200).toStdString();
    EXPECT_TRUE(middle.contains(QRegularExpression(QStringLiteral("\\n\\d{4} "))));
}

TEST_F(CliTest, HistoryWritesItsFilesAndSaysWhatItFound) {
    const QString logs = QStringLiteral(TARROW_TEST_DATA "/golden/logs");
    const QString out = dir.file(QStringLiteral("history"));
    const QStringList history = {QStringLiteral("history"), QStringLiteral("--logs"), logs,
                                 QStringLiteral("--out"), out};
    const ProcessRun run = tarrow(history);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("2009-03-07  busy hour 12:15 0.989 E")))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.out.startsWith(QStringLiteral("No trend yet: 3 days sized, at least 10 needed\n")))
        << "the status first";
    EXPECT_TRUE(run.out.contains(QStringLiteral("Days: 3")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Trend: not enough days for a trend")));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    QFile csv(QDir(out).filePath(QStringLiteral("History.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().trimmed().split('\n');
    ASSERT_EQ(rows.size(), 4);
    // The counts "tarrow load" gives for the day, and its Capacity.json busy hour.
    EXPECT_TRUE(rows[2].startsWith("2009-03-07,193,31,30,13,9,12:15,0.9892,5,"))
        << rows[2].constData();
    QFile json(QDir(out).filePath(QStringLiteral("History.json")));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QJsonDocument::fromJson(json.readAll()).object().value(QStringLiteral("days")).toInt(), 3);

    const auto with = [&history](const QStringList& more) { return tarrow(history + more); };
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2009-03-09"), QStringLiteral("--to"),
                    QStringLiteral("2009-03-01")})
                  .code,
              2);
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("March")}).code, 2);
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2010-01-01")}).code, 1)
        << "no day with calls in the range";
    EXPECT_EQ(with({QStringLiteral("--from"), QStringLiteral("2009-03-07"), QStringLiteral("--to"),
                    QStringLiteral("2009-03-07")})
                  .code,
              0);

    EXPECT_EQ(with({QStringLiteral("--retry-share"), QStringLiteral("0.5")}).code, 0);
    EXPECT_EQ(with({QStringLiteral("--retry-share"), QStringLiteral("1")}).code, 2);

    // A day that cannot be read is named on stderr; the others still count.
    // A folder whose only days are skipped cannot be read: exit 2.
    const QString broken = dir.file(QStringLiteral("broken"));
    for (const char* name : {"data_qnhcmgr_20090307.csv", "data_qnhcmgr_20090310.csv"})
        ASSERT_TRUE(QDir().mkpath(broken) &&
                    QFile::copy(logs + QStringLiteral("/data_qnhcmgr_20090307.csv"),
                                broken + QLatin1Char('/') + QLatin1String(name)));
    {
        QFile big(broken + QStringLiteral("/data_qnhcmgr_20090310.csv"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(1'000'001, '\n'));
    }
    const QStringList brokenRun = {QStringLiteral("history"), QStringLiteral("--logs"), broken,
                                   QStringLiteral("--out"), out};
    const ProcessRun partly = tarrow(brokenRun);
    EXPECT_EQ(partly.code, 0) << partly.err.toStdString();
    EXPECT_EQ(partly.err, QStringLiteral("Skipped 2009-03-10: data_qnhcmgr_20090310.csv holds "
                                         "more than 1,000,000 lines\n"));
    const ProcessRun none =
        tarrow(brokenRun + QStringList{QStringLiteral("--from"), QStringLiteral("2009-03-10")});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.err.contains(QStringLiteral("Skipped 2009-03-10:"))) << none.err.toStdString();

    // With --data-dir the day cache goes there, and the day loaded there stays.
    const QStringList data{QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))};
    ASSERT_EQ(tarrow(QStringList{QStringLiteral("load"), QStringLiteral("--logs"), logs,
                                 QStringLiteral("--day"), QStringLiteral("2009-03-07")} +
                     data)
                  .code,
              0);
    const auto storedRows = [this] {
        SQLite::Database db(dir.file(QStringLiteral("data/PortData.mdb")).toStdString());
        return db.execAndGet("SELECT COUNT(*) FROM RawPortData").getInt64();
    };
    const qint64 loaded = storedRows();
    EXPECT_GT(loaded, 0);
    EXPECT_EQ(with(data).code, 0);
    EXPECT_EQ(storedRows(), loaded);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("data/History.db"))));
}

TEST_F(CliTest, ReportWritesTablesSummariesAndCharts) {
    const QString out = dir.file(QStringLiteral("out"));
    const ProcessRun run = tarrow(report(out));
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
    for (const char* name :
         {"PortAvailability.csv", "CallTraffic.csv", "CallDistribution.csv", "PortTimeUsage.csv",
          "PortAvailabilitySummary_1_15_2009.csv", "CallTrafficSummary_1_15_2009.csv",
          "CallDistributionSummary_1_15_2009.csv", "PortTimeUseSummary_1_15_2009.csv",
          "PortAvailabilityGraph_1_15_2009.BMP", "CallTrafficGraph_1_15_2009.BMP",
          "CallDistributionGraph_1_15_2009.BMP", "PortTimeUseGraph_1_15_2009.BMP"})
        EXPECT_TRUE(files.contains(QString::fromLatin1(name))) << name;
    QFile table(QDir(out).filePath(QStringLiteral("CallTraffic.csv")));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = table.readAll().split('\n');
    EXPECT_EQ(
        lines[0],
        QByteArray(
            "Minute,InboundCalls,MWIDialouts,AMISDialouts,NotificationDialouts,TRAPDialouts"));
    // Line m is minute m; the call at 10:15:30 UTC started at 11:15:30 in Berlin.
    EXPECT_EQ(lines[675], QByteArray("675,1,0,0,0,0"));
    EXPECT_EQ(lines[615], QByteArray("615,0,0,0,0,0"));
    QFile bitmap(QDir(out).filePath(QStringLiteral("CallTrafficGraph_1_15_2009.BMP")));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    EXPECT_EQ(bitmap.read(2), QByteArray("BM"));

    const QString plain = dir.file(QStringLiteral("plain"));
    const ProcessRun noCharts =
        tarrow(report(plain, {QStringLiteral("--charts"), QStringLiteral("none")}));
    EXPECT_EQ(noCharts.code, 0);
    EXPECT_EQ(QDir(plain).entryList(QDir::Files).size(), 11)
        << "five tables (CapacityTraffic among them), five summaries and Capacity.json";
}

TEST_F(CliTest, ReportPicturesNeedNoDisplay) {
    // A scheduled run whose environment names a display it cannot reach.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", ":99");
    const QString out = dir.file(QStringLiteral("pictures"));
    const QStringList day{QStringLiteral("report"), QStringLiteral("--day"),
                          QStringLiteral("2009-01-15"), QStringLiteral("--out")};
    const ProcessRun png = tarrow(
        day + QStringList{out, QStringLiteral("--charts"), QStringLiteral("png")} + common());
    const ProcessRun none = tarrow(day +
                                   QStringList{dir.file(QStringLiteral("plain")),
                                               QStringLiteral("--charts"), QStringLiteral("none")} +
                                   common());
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("DISPLAY", display);
    EXPECT_EQ(png.code, 0) << png.err.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(out).filePath(QStringLiteral("CapacityGraph_1_15_2009.png"))));
    EXPECT_EQ(none.code, 0) << none.err.toStdString();
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
