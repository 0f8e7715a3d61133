#include "charts/axisticks.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tarrow::charts {

namespace {

// Whether a step is 1, 2, 2.5 or 5 times a power of ten.
bool readableStep(double step) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / magnitude;
    for (double nice : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (std::abs(mantissa - nice) < 1e-9 * nice)
            return true;
    return false;
}

// The fewest decimals that write the step (and so every line) exactly.
int decimalsOf(double step) {
    for (int d = 0; d < 3; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::abs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
            return d;
    }
    return 3;
}

} // namespace

AxisTicks readableTicks(double lo, double hi) {
    const double span = hi - lo;
    if (!(span > 0) || !std::isfinite(span))
        return {};
    for (int steps : {5, 4, 6, 8, 10, 7, 9})
        if (readableStep(span / steps))
            return {steps, decimalsOf(span / steps)};
    return {5, decimalsOf(span / 5)};
}

} // namespace tarrow::charts
