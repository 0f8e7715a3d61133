#pragma once

#include "charts/chartmodel.h"

#include <QLabel>

namespace tarrow::charts {

// A chart's legend as a label that wraps its entries onto more lines when the
// window is narrow, where the chart's own legend would cut its texts short
// ("Run out: 20…"). Each entry is a swatch of the series' colour and its label.
class ChartLegend : public QLabel {
    Q_OBJECT
public:
    explicit ChartLegend(QWidget* parent = nullptr);
    void setModel(const ChartModel& model);
};

} // namespace tarrow::charts
