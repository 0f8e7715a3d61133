#pragma once

#include <QWidget>

#include <array>

class QPainter;

namespace tarrow::reports {

using HeatMap = std::array<std::array<double, 24>, 7>; // Erlangs by weekday (Monday first) and hour

// Draws the weekday × hour heat map into a rectangle: one row per weekday,
// one column per clock hour, white for no traffic up to dark red for the
// largest mean, with a colour legend below. The window and the PDF draw it.
void paintHeatMap(QPainter& painter, const QRectF& area, const HeatMap& map);

// The cell under a point of a heat map drawn into `area`: weekday (0 is
// Monday) and hour, or -1, -1 outside the cells.
[[nodiscard]] std::pair<int, int> heatMapCellAt(const QRectF& area, QPointF point);

// What hovering over a cell says, for example "Tuesday 14:00–15:00: 12.345 E".
[[nodiscard]] QString heatMapCellText(const HeatMap& map, int weekday, int hour);

// The heat map as a widget that tells each cell's value on hover.
class HistoryHeatMap : public QWidget {
    Q_OBJECT
public:
    explicit HistoryHeatMap(QWidget* parent = nullptr);
    void setHeatMap(const HeatMap& map);
    [[nodiscard]] const HeatMap& heatMap() const { return map_; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    HeatMap map_{};
};

} // namespace tarrow::reports
