#include "reports/history/widgets/historypages.h"

#include "charts/widgets/chartbuilder.h"
#include "platform/isodate.h"
#include "reports/history/widgets/historychart.h"
#include "reports/history/widgets/historyheatmap.h"
#include "reports/widgets/pagedocument.h"

#include <QChartView>
#include <QPagedPaintDevice>
#include <QPainter>

namespace tarrow::reports {

void drawHistoryPages(PageDocument& pages, const HistoryRun& run) {
    if (run.days.empty())
        return;
    pages.text(
        QStringLiteral("History from %1 to %2")
            .arg(platform::isoDate(run.days.front().day), platform::isoDate(run.days.back().day)),
        pageFace(14, true));
    pages.text(historyHeadline(run.summary), pageFace(13, true), historyColour(run.summary));
    pages.verdict(historyVerdict(run.summary));
    // Laid out at the page's proportions and a width its legend fits in.
    QChartView view(historyChart(run.days, run.summary, percentText(run.gos)));
    view.setRenderHint(QPainter::Antialiasing);
    constexpr int kLayoutWidth = 1100;
    charts::layOutOffscreen(
        view,
        QSize(kLayoutWidth, static_cast<int>(kLayoutWidth * pages.chartHeight() / pages.width())));
    pages.block(pages.chartHeight(), [&](QPainter& painter, const QRectF& area) {
        view.render(&painter, area, view.rect(), Qt::KeepAspectRatio);
    });
    pages.block(160, [&](QPainter& painter, const QRectF& area) {
        // The heat map sizes its own text; the family is the report's.
        painter.setFont(pageFace(7));
        paintHeatMap(painter, area, run.summary.heatmap);
    });
    pages.table(historyDaysTable(run.days, run.summary));
}

QString printHistory(QPagedPaintDevice& printer, const HistoryRun& run) {
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("The printer could not be started.");
    const QString footer = run.days.empty() ? QStringLiteral("Tarrow History")
                                            : QStringLiteral("Tarrow History %1 to %2")
                                                  .arg(platform::isoDate(run.days.front().day),
                                                       platform::isoDate(run.days.back().day));
    PageDocument pages(printer, painter, footer);
    drawHistoryPages(pages, run);
    if (pages.ok())
        pages.finishPage();
    if (!painter.end() || !pages.ok())
        return QStringLiteral("The page could not be sent to the printer.");
    return {};
}

} // namespace tarrow::reports
