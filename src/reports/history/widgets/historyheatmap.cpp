#include "reports/history/widgets/historyheatmap.h"

#include "reports/capacity/capacityoutput.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

namespace {

const QString kWeekdays[7] = {QStringLiteral("Monday"),    QStringLiteral("Tuesday"),
                              QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                              QStringLiteral("Friday"),    QStringLiteral("Saturday"),
                              QStringLiteral("Sunday")};

// The parts of the drawing: weekday names on the left, hour numbers above,
// the cells, and the legend strip below them.
struct HeatMapLayout {
    QRectF cells;
    QRectF legend;
    double labelWidth = 0;
    double cellWidth = 0;
    double cellHeight = 0;
};

HeatMapLayout layoutOf(const QRectF& area) {
    HeatMapLayout l;
    l.labelWidth = std::min(80.0, area.width() * 0.18);
    const double top = 16;    // the hour numbers
    const double bottom = 34; // the legend and its numbers
    l.cells = QRectF(area.left() + l.labelWidth, area.top() + top,
                     std::max(1.0, area.width() - l.labelWidth - 4),
                     std::max(1.0, area.height() - top - bottom));
    l.cellWidth = l.cells.width() / 24;
    l.cellHeight = l.cells.height() / 7;
    l.legend = QRectF(l.cells.left(), l.cells.bottom() + 8, l.cells.width() * 0.5, 10);
    return l;
}

double largest(const HeatMap& map) {
    double most = 0;
    for (const auto& row : map)
        for (double value : row)
            most = std::max(most, value);
    return most;
}

// White for none, through orange, to dark red for the largest value.
QColor shade(double share) {
    share = std::clamp(share, 0.0, 1.0);
    const auto mix = [](int a, int b, double t) {
        return static_cast<int>(std::lround(a + (b - a) * t));
    };
    if (share < 0.5) {
        const double t = share * 2;
        return QColor(255, mix(255, 170, t), mix(255, 60, t));
    }
    const double t = (share - 0.5) * 2;
    return QColor(mix(255, 140, t), mix(170, 0, t), mix(60, 0, t));
}

} // namespace

void paintHeatMap(QPainter& painter, const QRectF& area, const HeatMap& map) {
    const HeatMapLayout l = layoutOf(area);
    const double most = largest(map);
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(std::max(5.0, std::min(8.0, l.cellHeight * 0.5)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int hour = 0; hour < 24; hour += 2)
        painter.drawText(
            QRectF(l.cells.left() + hour * l.cellWidth, area.top(), 2 * l.cellWidth, 14),
            Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
    for (int day = 0; day < 7; ++day) {
        const double y = l.cells.top() + day * l.cellHeight;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y, l.labelWidth - 4, l.cellHeight),
                         Qt::AlignRight | Qt::AlignVCenter, kWeekdays[day]);
        for (int hour = 0; hour < 24; ++hour) {
            const double value = map[static_cast<std::size_t>(day)][static_cast<std::size_t>(hour)];
            const QRectF cell(l.cells.left() + hour * l.cellWidth, y, l.cellWidth, l.cellHeight);
            painter.fillRect(cell, shade(most > 0 ? value / most : 0));
            painter.setPen(QColor(0xd0, 0xd0, 0xd0));
            painter.drawRect(cell);
        }
    }
    // The legend: the colour scale from no traffic to the largest mean.
    constexpr int kSteps = 40;
    for (int i = 0; i < kSteps; ++i)
        painter.fillRect(QRectF(l.legend.left() + i * l.legend.width() / kSteps, l.legend.top(),
                                l.legend.width() / kSteps + 0.5, l.legend.height()),
                         shade(i / double(kSteps - 1)));
    painter.setPen(Qt::black);
    painter.drawRect(l.legend);
    const QRectF numbers(l.legend.left(), l.legend.bottom() + 1, l.legend.width(), 14);
    painter.drawText(numbers, Qt::AlignLeft | Qt::AlignVCenter, erlangText(0));
    painter.drawText(numbers, Qt::AlignRight | Qt::AlignVCenter, erlangText(most));
    painter.drawText(
        QRectF(l.legend.right() + 8, l.legend.top() - 3, l.cells.width() * 0.5 - 8, 16),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("mean traffic per weekday and hour"));
    painter.restore();
}

std::pair<int, int> heatMapCellAt(const QRectF& area, QPointF point) {
    const HeatMapLayout l = layoutOf(area);
    if (!l.cells.contains(point))
        return {-1, -1};
    const int hour = std::min(23, static_cast<int>((point.x() - l.cells.left()) / l.cellWidth));
    const int day = std::min(6, static_cast<int>((point.y() - l.cells.top()) / l.cellHeight));
    return {day, hour};
}

QString heatMapCellText(const HeatMap& map, int weekday, int hour) {
    return QStringLiteral("%1 %2:00–%3:00: %4")
        .arg(kWeekdays[weekday])
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg((hour + 1) % 24 == 0 ? 24 : hour + 1, 2, 10, QLatin1Char('0'))
        .arg(erlangText(map[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)]));
}

HistoryHeatMap::HistoryHeatMap(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HeatMap"));
    setMouseTracking(true);
    setMinimumSize(420, 170);
}

void HistoryHeatMap::setHeatMap(const HeatMap& map) {
    map_ = map;
    update();
}

QSize HistoryHeatMap::sizeHint() const {
    return {620, 220};
}

void HistoryHeatMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintHeatMap(painter, QRectF(rect()).adjusted(4, 4, -4, -4), map_);
}

bool HistoryHeatMap::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto [day, hour] = heatMapCellAt(QRectF(rect()).adjusted(4, 4, -4, -4), help->pos());
    if (day < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), heatMapCellText(map_, day, hour), this);
    return true;
}

} // namespace tarrow::reports
