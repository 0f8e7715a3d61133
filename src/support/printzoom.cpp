#include "support/printzoom.h"

#include <cmath>

namespace tarrow::support {

std::optional<int> printZoomPercent(double pageWidth, double pageHeight, double pictureWidth,
                                    double pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return std::nullopt;
    const double heightRatio = pageHeight / static_cast<float>(pictureHeight);
    const double widthRatio = pageWidth / static_cast<float>(pictureWidth);
    const double ratio = widthRatio < heightRatio ? widthRatio : heightRatio;
    if (ratio >= 1.0)
        return std::nullopt;
    return static_cast<int>(std::nearbyint(ratio * 100.0));
}

} // namespace tarrow::support
