// Measures the report computations and the first drawing of a chart window on a
// loaded day. Usage: tarrow_bench_reports LOGDIR YYYY-MM-DD DATADIR
#include "app/startup.h"
#include "charts/widgets/chart2d.h"
#include "logparse/logfiles.h"
#include "platform/collectingdialogs.h"
#include "platform/statusdisplay.h"
#include "reports/perport/perportreport.h"
#include "reports/perport/widgets/frmcalldistribution.h"
#include "reports/timeofday/calltraffic.h"
#include "reports/timeofday/portavailability.h"
#include "reports/timeofday/widgets/frmcalltraffic.h"
#include "reports/timeofday/widgets/frmportavailability.h"
#include "reports/widgets/standalonehost.h"
#include "serverprobe/registryapi.h"
#include "store/workingdatabase.h"

#include <QApplication>
#include <QElapsedTimer>

#include <SQLiteCpp/Database.h>

#include <cstdio>
#include <functional>

namespace {

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

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarrow_bench_reports LOGDIR YYYY-MM-DD DATADIR\n");
        return 2;
    }
    using namespace tarrow;
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

    auto& db = state.database.db();
    const auto clear = [&db](const char* table) {
        return [&db, table] { db.exec(std::string("DELETE FROM ") + table); };
    };
    std::printf("Port Availability computation: %.1f ms\n", best(clear("PortAvailability"), [&] {
                    (void)reports::computePortAvailability(state.database, state.day);
                }));
    std::printf("Call Traffic computation: %.1f ms\n", best(clear("CallTraffic"), [&] {
                    (void)reports::computeCallTraffic(state.database, state.day);
                }));

    for (const auto report :
         {reports::PerPortReport::CallDistribution, reports::PerPortReport::PortTimeUse})
        std::printf("%s computation (whole day, %d ports): %.1f ms\n",
                    report == reports::PerPortReport::CallDistribution ? "Call Distribution"
                                                                       : "Port Time Use",
                    state.day.peakPort,
                    best([] {},
                         [&] {
                             (void)reports::computePerPort(state.database, state.day, report, 0,
                                                           1439);
                         }));

    platform::CollectingDialogs dialogs;
    platform::NoStatusDisplay status;
    reports::StandaloneHost context(state.database, state.day, dialogs, status);
    std::printf("Call Traffic window, fill and first draw (1440 points, 5 series): %.1f ms\n",
                best([] {},
                     [&] {
                         reports::frmCallTraffic window(context);
                         window.setAttribute(Qt::WA_DontShowOnScreen);
                         window.show();
                         window.load();
                         (void)window.chart().grab();
                     }));
    std::printf("Call Distribution window, fill and first draw (%d ports, 5 series): %.1f ms\n",
                state.day.peakPort,
                best([] {},
                     [&] {
                         reports::frmCallDistribution window(context);
                         window.setAttribute(Qt::WA_DontShowOnScreen);
                         window.show();
                         window.load();
                         (void)window.chart().grab();
                     }));
    return 0;
}
