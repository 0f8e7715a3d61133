// tarrow report: the tables, summaries, chart pictures and the PDF it writes.
#include "app/clifixture.h"
#include "reports/reporttable.h"
#include "support/buildversion.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

using testing::logLine;
using testing::ProcessRun;

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

// A range inside one minute is refused saying the seconds are not used; the
// files written are named as every message names paths, escapes and all.
TEST_F(CliTest, RangesInOneMinuteAndWrittenPathsSayWhatTheyAre) {
    const QString out = dir.file(QStringLiteral("minute"));
    const testing::ProcessRun same = tarrow(report(
        out, {QStringLiteral("--from"), QStringLiteral("10:00:00"), QStringLiteral("--to"),
              QStringLiteral("10:00:59"), QStringLiteral("--charts"), QStringLiteral("none")}));
    EXPECT_EQ(same.code, 2);
    EXPECT_EQ(same.err, QStringLiteral("The end time must be in a later minute than the start "
                                       "time: reports count whole minutes and do not use the "
                                       "seconds.\n"));
    const testing::ProcessRun before = tarrow(
        report(out, {QStringLiteral("--from"), QStringLiteral("11:00"), QStringLiteral("--to"),
                     QStringLiteral("10:00"), QStringLiteral("--charts"), QStringLiteral("none")}));
    EXPECT_TRUE(before.err.startsWith(QStringLiteral("The end time must be greater")));

    const QString pdf = dir.file(QStringLiteral("odd\nWrote fake.pdf"));
    const testing::ProcessRun run = tarrow(report(
        out, {QStringLiteral("--charts"), QStringLiteral("none"), QStringLiteral("--pdf"), pdf}));
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("odd\\x0AWrote fake.pdf")))
        << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("\nWrote fake.pdf")));
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
    // Column headers wrap rather than being cut short.
    EXPECT_FALSE(text.contains(QStringLiteral("\u2026"))) << "no header ends in an ellipsis";
    EXPECT_TRUE(text.contains(QStringLiteral("Notification"))) << text.toStdString();
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
    EXPECT_TRUE(middle.contains(QRegularExpression(QStringLiteral("\\n *\\d{3,5} +\\d"))))
        << middle.left(900).toStdString();
}

} // namespace
} // namespace tarrow::app
