#include "app/reportcharts.h"

#include "platform/chart2d.h"
#include "platform/collectingdialogs.h"
#include "platform/statusdisplay.h"
#include "reports/perport/frmcalldistribution.h"
#include "reports/perport/frmporttimeuse.h"
#include "reports/reportcontext.h"
#include "reports/timeofday/frmcalltraffic.h"
#include "reports/timeofday/frmportavailability.h"
#include "reports/timeofday/timeofdaywindow.h"

#include <QApplication>

#include <memory>

namespace tarrow::app {

ChartWriter windowChartWriter(AppState& state) {
    return [&state](const QString& window, const ReportFilesRequest& request,
                    const QString& path) -> QString {
        platform::CollectingDialogs dialogs;
        platform::NoStatusDisplay status;
        reports::ReportContext context(state.database, state.dataDate, state.totals, dialogs,
                                       status);
        context.workFolder = state.dataFolder;
        context.pickers = [&request](const QString&) {
            return std::make_pair(request.from, request.to);
        };
        std::unique_ptr<reports::ChartWindow> chartWindow;
        if (window == QLatin1String("frmPortAvailability") ||
            window == QLatin1String("frmCallTraffic")) {
            std::unique_ptr<reports::TimeOfDayWindow> timeOfDay;
            if (window == QLatin1String("frmPortAvailability"))
                timeOfDay = std::make_unique<reports::frmPortAvailability>(context);
            else
                timeOfDay = std::make_unique<reports::frmCallTraffic>(context);
            timeOfDay->load();
            // The whole day, as the chart's picture in a report should show it.
            timeOfDay->applyZoom(0);
            chartWindow = std::move(timeOfDay);
        } else if (window == QLatin1String("frmCallDistribution") ||
                   window == QLatin1String("frmPortTimeUse")) {
            std::unique_ptr<reports::PortAxisWindow> perPort;
            if (window == QLatin1String("frmCallDistribution"))
                perPort = std::make_unique<reports::frmCallDistribution>(context);
            else
                perPort = std::make_unique<reports::frmPortTimeUse>(context);
            perPort->load();
            chartWindow = std::move(perPort);
        } else {
            return QStringLiteral("No chart window named %1.").arg(window);
        }
        chartWindow->setAttribute(Qt::WA_DontShowOnScreen);
        chartWindow->show();
        QApplication::processEvents();
        if (!chartWindow->chart().DrawToFile(path, request.chartFormat))
            return chartWindow->chart().lastError();
        return {};
    };
}

} // namespace tarrow::app
