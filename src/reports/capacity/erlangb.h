#pragma once

// Erlang B: the blocking a group of ports gives a traffic offered to it, and
// the two sizing questions built on it. Computed by the recursion
// B(A, 0) = 1, B(A, n) = A·B(A, n−1) / (n + A·B(A, n−1)), whose every step
// stays between 0 and 1, so it is exact enough for tens of thousands of ports
// where factorials would overflow.
namespace tarrow::reports::erlang {

// The blocking probability of ports ports offered erlangs of traffic.
[[nodiscard]] double blocking(double erlangs, int ports);

// The smallest number of ports whose blocking at erlangs is at most gos; 0 for
// no traffic.
[[nodiscard]] int portsNeeded(double erlangs, double gos);

// The largest traffic that ports carry at a blocking of at most gos, to one
// part in a million.
[[nodiscard]] double capacity(int ports, double gos);

} // namespace tarrow::reports::erlang
