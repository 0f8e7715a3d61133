#pragma once

#include <QRect>
#include <QSize>
#include <QtMath>

// Window designs are measured in twips: 15 twips are one pixel at 96 DPI. Every
// conversion goes through here so the resize rules work in whole pixels.
namespace tarrow::platform {

[[nodiscard]] inline int twips(int t) {
    return qRound(t / 15.0);
}
[[nodiscard]] inline QSize twips(int w, int h) {
    return QSize(twips(w), twips(h));
}
[[nodiscard]] inline QRect twips(const QRect& r) {
    return QRect(twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height()));
}

} // namespace tarrow::platform
