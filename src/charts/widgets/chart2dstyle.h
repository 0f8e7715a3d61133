#pragma once

#include <QColor>
#include <QFont>

#include <cstddef>

// What the chart adapter's files share: its fonts, colours and one-based
// indices.
namespace tarrow::charts::chart2d {

inline QFont arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    // No ligatures: a chart saved as SVG or PDF keeps "Traffic" searchable.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

inline std::size_t index(int oneBased) {
    return static_cast<std::size_t>(oneBased - 1);
}

// Each series keeps its colour whether drawn as a line or a bar, and whether or
// not the series before it are shown.
inline QColor seriesColor(std::size_t series) {
    static const QColor kColors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};
    return kColors[series % (sizeof kColors / sizeof kColors[0])];
}

} // namespace tarrow::charts::chart2d
