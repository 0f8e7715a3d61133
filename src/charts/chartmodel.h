#pragma once

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarrow::charts {

// How a report's series are drawn; the report chooses, not the number of points.
enum class ChartStyle { Lines, Bars };

// How one series of a line chart is drawn: a plain line, a band stacked on the
// stacked series before it, or a dashed reference level. Charts over calendar
// days also draw points, a band between two edges, bars on the second axis
// and a shaded stretch the full height of the chart.
enum class SeriesKind { Plain, Stacked, Level, Points, Band, Bars, Shade };

struct ChartSeries {
    QString label;
    std::vector<double> values; // one per X value
    SeriesKind kind = SeriesKind::Plain;
    // Series over calendar days carry their own X values (and a band its
    // lower edge), their look and the name tests find them by.
    std::vector<double> xs{};
    std::vector<double> lower{};
    QString name{};
    QColor color{};
    double size = 0; // marker size, line width or half a bar's width
    bool dashed = false;
    bool secondAxis = false; // on the right-hand axis
};

// The colour a call type is drawn in, the same in every chart, by its type
// index (inbound blue, notification green, MWI red, TRAP orange, AMIS purple).
[[nodiscard]] inline QColor callTypeColour(std::size_t typeIndex) {
    static const QColor kColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c),
                                      QColor(0xd6, 0x27, 0x28), QColor(0xff, 0x7f, 0x0e),
                                      QColor(0x94, 0x67, 0xbd)};
    return kColours[typeIndex % 5];
}

// A shaded stretch of the X axis, such as a busy hour, named in the legend.
struct ChartBand {
    double from = 0;
    double to = 0;
    QString label;
};

// A report's chart without any drawing library: what the windows, the command
// line's pictures and printed reports all draw.
struct ChartModel {
    ChartStyle style = ChartStyle::Lines;
    QString header; // lines separated by CR LF
    QString xTitle;
    QString yTitle;
    QString legendTitle;
    std::vector<double> xs;
    std::vector<ChartSeries> series;
    QList<QPair<double, QString>> xLabels; // value labels along the X axis
    // The X range the whole chart shows; the Y range starts at 0 and ends at a
    // readable value above the highest point unless yMax is set.
    double xMin = 0;
    double xMax = 0;
    std::optional<double> yMax;
    std::optional<ChartBand> band;
    // Charts over calendar days: X values are milliseconds since 1970 (UTC),
    // shown in this format; the second axis's title and top.
    QString dateFormat{};
    int xTicks = 0;
    QString y2Title{};
    double y2Max = 0;
};

} // namespace tarrow::charts
