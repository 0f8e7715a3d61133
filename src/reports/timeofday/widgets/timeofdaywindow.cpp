#include "reports/timeofday/widgets/timeofdaywindow.h"

#include "charts/widgets/chart2d.h"
#include "platform/statusdisplay.h"
#include "platform/widgets/twips.h"
#include "reports/widgets/reportcontext.h"

#include <QAction>
#include <QLocale>
#include <QScrollBar>

namespace tarrow::reports {

using platform::Chart2D;
using platform::twips;

MenuDesign timeOfDayZoomMenu(const QString& menuName, const QString& noZoom) {
    const QString item = QStringLiteral("mnuZoom");
    return {menuName,
            QStringLiteral("Zoom"),
            {{item, noZoom, MenuAction::Zoom, 0},
             {item, QStringLiteral("Show 12 Hours"), MenuAction::Zoom, 1},
             {item, QStringLiteral("Show 4 Hours"), MenuAction::Zoom, 2},
             {item, QStringLiteral("Show 1 Hour"), MenuAction::Zoom, 3}}};
}

TimeOfDayWindow::TimeOfDayWindow(TimeOfDayDesign design, ReportContext& context, QWidget* parent)
    : ChartWindow(design.window, context, parent), timeDesign_(std::move(design)) {
    for (QAction* action : menuActions())
        if (action->objectName().startsWith(QStringLiteral("mnuZoom_"))) {
            action->setCheckable(true);
            zoomItems_.append(action);
        }
}

void TimeOfDayWindow::load() {
    beginLoad();
    scrollBar().setRange(0, kMinutesPerDay);
    applyZoom(1);
    scrollBar().setValue(360);
    chart().SetHeaderText(design().headerPrefix +
                          QLocale().toString(context().dataDate.date(), QLocale::LongFormat));
    chart().ShowHeader(true);
    chart().SetBatchMode(true);
    try {
        draw(computeFigures());
    } catch (const std::exception& e) {
        reportFailure(e);
    }
    endLoad();
}

void TimeOfDayWindow::draw(const MinuteTable& table) {
    context().status.showStatus(timeDesign_.drawCaption, kMinutesPerDay);
    const auto series = static_cast<int>(timeDesign_.seriesColumns.size());
    Chart2D& c = chart();
    c.SetDataLayout(1);
    c.SetSeriesCount(series);
    for (int s = 1; s <= series; ++s)
        c.SetPointCount(s, kMinutesPerDay);
    for (int k = 1; k <= kMinutesPerDay; ++k) {
        c.SetX(1, k, k);
        for (int s = 1; s <= series; ++s)
            c.SetY(s, k, static_cast<double>(table.at(timeDesign_.seriesColumns[s - 1], k)));
    }
    context().status.setStatusValue(kMinutesPerDay);
}

void TimeOfDayWindow::applyZoom(int level) {
    for (int i = 0; i < zoomItems_.size(); ++i)
        zoomItems_[i]->setChecked(i == level);
    QScrollBar& bar = scrollBar();
    const int v = bar.value();
    const int span = kZoomSpans[level];
    bar.setPageStep(span);
    if (level > 0)
        bar.setSingleStep(kZoomSmallSteps[level]);
    bar.setEnabled(level > 0);
    const int start = v + span < kMinutesPerDay + 1 ? v : kMinutesPerDay - span;
    bar.setValue(start); // runs the scroll handler when the value changes
    setTimeLabels(span);
    chart().SetAxisMin(Chart2D::X, start);
    chart().SetAxisMax(Chart2D::X, start + span);
    bar.update();
}

void TimeOfDayWindow::onScroll(int value) {
    Chart2D& c = chart();
    c.SetBatchMode(true);
    const int span = scrollBar().pageStep();
    value = std::min(value, kMinutesPerDay);
    int start = value;
    int end = value + span - 1;
    if (end > kMinutesPerDay) {
        end = kMinutesPerDay;
        start = kMinutesPerDay - span;
    }
    c.SetAxisMin(Chart2D::X, start - 1);
    c.SetAxisMax(Chart2D::X, end - 1);
    c.SetBatchMode(false);
}

void TimeOfDayWindow::setTimeLabels(int span) {
    // Every three hours over the whole day; closer together when zoomed in, so
    // a one-hour view still reads its times.
    const int step = span >= 1440 ? 180 : span >= 720 ? 60 : span >= 240 ? 30 : 10;
    chart().ClearValueLabels(Chart2D::X);
    for (int m = 0; m <= kMinutesPerDay; m += step)
        chart().AddValueLabel(
            Chart2D::X, m,
            QStringLiteral("%1:%2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0')));
}

void TimeOfDayWindow::layoutChart(QSize outer, QSize) {
    const int width = outer.width() - twips(400);
    const int height = outer.height() - twips(1863);
    chart().resize(width, height);
    scrollBar().setGeometry(scrollBar().x(), chart().y() + height + twips(40), width,
                            scrollBar().height());
}

} // namespace tarrow::reports
