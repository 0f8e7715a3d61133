#include "app/widgets/reportcharts.h"

#include "charts/widgets/chart2d.h"
#include "platform/collectingdialogs.h"
#include "platform/statusdisplay.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportcontext.h"
#include "reports/widgets/reportwindows.h"

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
        std::unique_ptr<reports::ChartWindow> chartWindow(
            reports::createReportWindow(window, context));
        if (!chartWindow)
            return QStringLiteral("No chart window named %1.").arg(window);
        // The whole range, as the chart's picture in a report should show it.
        chartWindow->applyZoom(0);
        chartWindow->setAttribute(Qt::WA_DontShowOnScreen);
        chartWindow->show();
        QApplication::processEvents();
        if (!chartWindow->chart().DrawToFile(path, request.chartFormat))
            return chartWindow->chart().lastError();
        return {};
    };
}

} // namespace tarrow::app
