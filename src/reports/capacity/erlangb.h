#pragma once

#include <optional>

// Erlang B: the blocking a group of ports gives a traffic offered to it, and
// the sizing questions built on it. Computed by the recursion
// B(A, 0) = 1, B(A, n) = A·B(A, n−1) / (n + A·B(A, n−1)), whose every step
// stays between 0 and 1, so it is exact enough for tens of thousands of ports
// where factorials would overflow.
//
// Blocked callers may try again: with a retry share r, the traffic offered to
// n ports is the fresh traffic F plus the retries it causes, the fixed point
// T = F + r·T·B(T, n) (Extended Erlang B). With r = 0, T = F and every
// function below is plain Erlang B.
namespace tarrow::reports::erlang {

inline constexpr double kMaxRetryShare = 0.95;

// The blocking probability of ports ports offered erlangs of traffic.
[[nodiscard]] double blocking(double erlangs, int ports);

// The traffic ports carry when offered erlangs: A·(1 − B(A, n)).
[[nodiscard]] double carried(double erlangs, int ports);

// The traffic that, offered to ports, leaves carried erlangs carried: what
// callers asked for, lost calls included. None when carried ≥ ports (the
// ports were saturated: any demand would give it). A pool that carried
// nothing was offered nothing, whatever its size.
[[nodiscard]] std::optional<double> offeredFromCarried(double carried, int ports);

// The fresh traffic in traffic offered to ports ports: what is left once the
// share of blocked callers who try again is taken out, A·(1 − r·B(A, n)).
[[nodiscard]] double freshOf(double offered, int ports, double retryShare);

// T(F, n): fresh traffic with the retries it causes on ports ports.
[[nodiscard]] double totalOffered(double fresh, int ports, double retryShare);

// The blocking fresh traffic meets on ports ports when a share of the blocked
// callers tries again: B(T(F, n), n).
[[nodiscard]] double blocking(double fresh, int ports, double retryShare);

// The smallest number of ports whose blocking at the fresh traffic is at most
// gos; 0 for no traffic.
[[nodiscard]] int portsNeeded(double fresh, double gos, double retryShare = 0);

// The largest fresh traffic that ports carry at a blocking of at most gos, to
// one part in a thousand million.
[[nodiscard]] double capacity(int ports, double gos, double retryShare = 0);

} // namespace tarrow::reports::erlang
