#pragma once

namespace tarrow::charts {

// How a value axis from lo to hi is divided: the number of steps between its
// lines and the decimals its labels need so that no two labels read alike.
struct AxisTicks {
    int steps = 5;
    int decimals = 0;
};

// Steps of 1, 2, 2.5 or 5 times a power of ten where the range allows (four
// to ten of them, five preferred), else five equal steps; decimals as many as
// a step needs (at most three).
[[nodiscard]] AxisTicks readableTicks(double lo, double hi);

} // namespace tarrow::charts
