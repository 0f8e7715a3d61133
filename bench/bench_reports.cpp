// Measures each report computation and the first drawing of a chart window on
// a loaded day. Usage: tarrow_bench_reports LOGDIR YYYY-MM-DD DATADIR [SHOTDIR]
// With SHOTDIR, a picture of every report window is saved there to look at.
#include "app/reportrun.h"
#include "app/startup.h"
#include "app/widgets/frmmain.h"
#include "charts/widgets/chart2d.h"
#include "logparse/logfiles.h"
#include "platform/collectingdialogs.h"
#include "platform/statusdisplay.h"
#include "reports/reporttable.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "reports/widgets/standalonehost.h"
#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"
#include "store/workingdatabase.h"

#include <QApplication>
#include <QElapsedTimer>

#include <SQLiteCpp/Database.h>

#include <cstdio>
#include <functional>

namespace {

using namespace tarrow;

// Best of five runs, in milliseconds.
double best(const std::function<void()>& prepare, const std::function<void()>& work) {
    double fastest = 1e9;
    for (int run = 0; run < 5; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, timer.nsecsElapsed() / 1e6);
    }
    return fastest;
}

// Each report of the report table computed from scratch (its stored table
// emptied first, so the per-minute reports cannot reuse it), and stored.
void computations(load::AppState& state) {
    for (const reports::ReportEntry& report : reports::reportTable()) {
        const auto clear = [&] {
            if (!report.resultTable.isEmpty())
                state.database.db().exec("DELETE FROM " + report.resultTable.toStdString());
        };
        const double pure = best([] {}, [&] { (void)report.compute(state.day, {}); });
        const double ms = best(clear, [&] { (void)app::runReport(state, report, {}); });
        std::printf("%s computation (table, summary and chart model): %.1f ms, stored: %.1f ms\n",
                    qPrintable(report.tabCaption), pure, ms);
    }
}

// A chart window created, filled and drawn for the first time; a picture of
// every report window when shots names a folder.
void windows(load::AppState& state, const QString& shots) {
    platform::CollectingDialogs dialogs;
    platform::NoStatusDisplay status;
    reports::StandaloneHost host(dialogs, status);
    const auto documentOf = [&state](reports::ReportId report) {
        return *app::runReport(state, reports::reportEntry(report), {}).document;
    };
    for (const auto report : {reports::ReportId::CallTraffic, reports::ReportId::CallDistribution,
                              reports::ReportId::Capacity}) {
        const double ms = best([] {},
                               [&] {
                                   auto window =
                                       reports::createReportWindow(documentOf(report), host);
                                   window->setAttribute(Qt::WA_DontShowOnScreen);
                                   window->show();
                                   (void)window->chart().grab();
                               });
        std::printf("%s window, fill and first draw: %.1f ms\n",
                    qPrintable(reports::reportEntry(report).tabCaption), ms);
    }
    if (shots.isEmpty())
        return;
    for (const reports::ReportEntry& report : reports::reportTable()) {
        auto window = reports::createReportWindow(documentOf(report.id), host);
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        QApplication::processEvents();
        window->grab().save(shots + QLatin1Char('/') + report.windowName + QStringLiteral(".png"));
    }
}

// The main window constructed, started up and shown (off screen), as at a
// program start after the toolkit is up.
void startUp(const QString& dataFolder) {
    const double ms = best([] {},
                           [&] {
                               load::AppState state;
                               state.programFolder = QApplication::applicationDirPath();
                               state.dataFolder = dataFolder;
                               platform::CollectingDialogs dialogs;
                               serverprobe::MapRegistry registry;
                               const auto config = serverprobe::makeSystemConfigDatabase();
                               app::frmMain window(state, dialogs, registry, *config);
                               window.show();
                               window.startUp();
                               QApplication::processEvents();
                           });
    std::printf("start-up to a shown main window: %.1f ms\n", ms);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: tarrow_bench_reports LOGDIR YYYY-MM-DD DATADIR [SHOTDIR]\n");
        return 2;
    }
    load::AppState state;
    state.programFolder = QApplication::applicationDirPath();
    state.dataFolder = QString::fromLocal8Bit(argv[3]);
    serverprobe::MapRegistry registry;
    (void)app::startUp(state, registry);
    const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
    const auto loaded = app::loadDay(state, QString::fromLocal8Bit(argv[1]), day,
                                     logparse::dayEntryText(day, state.locale));
    std::printf("loaded %lld calls, peak port %d\n", static_cast<long long>(loaded.calls),
                state.day.peakPort);
    computations(state);
    windows(state, argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString());
    startUp(QString::fromLocal8Bit(argv[3]) + QStringLiteral("/startup"));
    return 0;
}
