#pragma once

#include <optional>

namespace tarrow::support {

// The zoom, in whole percent, that fits a picture on a page keeping its
// proportions: the smaller of the height and width ratios times 100, halves to
// the even percent. Nothing when the picture already fits (it is never enlarged).
[[nodiscard]] std::optional<int> printZoomPercent(double pageWidth, double pageHeight,
                                                  double pictureWidth, double pictureHeight);

} // namespace tarrow::support
