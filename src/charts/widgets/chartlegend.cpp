#include "charts/widgets/chartlegend.h"

namespace tarrow::charts {

ChartLegend::ChartLegend(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("ChartLegend"));
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void ChartLegend::setModel(const ChartModel& model) {
    QStringList entries;
    for (const ChartSeries& series : model.series) {
        if (series.label.isEmpty())
            continue;
        // A no-break space inside an entry, so the label wraps between entries.
        entries << QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                       .arg(series.color.name(QColor::HexArgb),
                            series.label.toHtmlEscaped().replace(QLatin1Char(' '),
                                                                 QStringLiteral("&nbsp;")));
    }
    setText(entries.join(QStringLiteral(" &nbsp; ")));
}

} // namespace tarrow::charts
