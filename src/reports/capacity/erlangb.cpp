#include "reports/capacity/erlangb.h"

#include <cmath>

namespace tarrow::reports::erlang {

namespace {

constexpr double kPrecision = 1e-9;
constexpr int kMostPorts = 1'000'000;

// The largest x in [lo, hi] for which fits(x) holds, fits being true at lo and
// false past some point, to one part in a thousand million.
template <typename Fits> double largestFitting(double lo, double hi, Fits&& fits) {
    while (hi - lo > kPrecision * hi) {
        const double mid = (lo + hi) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return lo;
}

} // namespace

double blocking(double erlangs, int ports) {
    if (!(erlangs > 0))
        return ports > 0 ? 0.0 : 1.0;
    double b = 1.0;
    for (int n = 1; n <= ports; ++n)
        b = erlangs * b / (n + erlangs * b);
    return b;
}

double carried(double erlangs, int ports) {
    return erlangs > 0 ? erlangs * (1 - blocking(erlangs, ports)) : 0.0;
}

std::optional<double> offeredFromCarried(double carriedErlangs, int ports) {
    if (!(carriedErlangs > 0))
        return carriedErlangs == 0 ? std::optional<double>(0.0) : std::nullopt;
    if (!(carriedErlangs < ports))
        return std::nullopt;
    // Carried traffic rises with the offered traffic towards the port count:
    // widen until it is passed, then halve.
    double lo = carriedErlangs;
    double hi = 2 * carriedErlangs;
    while (carried(hi, ports) < carriedErlangs) {
        lo = hi;
        hi *= 2;
        if (!std::isfinite(hi))
            return std::nullopt;
    }
    return largestFitting(lo, hi, [&](double a) { return carried(a, ports) < carriedErlangs; });
}

double freshOf(double offered, int ports, double retryShare) {
    return retryShare > 0 ? offered * (1 - retryShare * blocking(offered, ports)) : offered;
}

double totalOffered(double fresh, int ports, double retryShare) {
    if (!(retryShare > 0) || !(fresh > 0))
        return fresh;
    double total = fresh;
    // Each step adds less than the one before (the share is below 1), so the
    // iteration settles; the bound only guards against a share near 1.
    for (int i = 0; i < 100000; ++i) {
        const double next = fresh + retryShare * total * blocking(total, ports);
        const bool settled = std::abs(next - total) <= 1e-12 * next;
        total = next;
        if (settled)
            break;
    }
    return total;
}

double blocking(double fresh, int ports, double retryShare) {
    return blocking(totalOffered(fresh, ports, retryShare), ports);
}

int portsNeeded(double fresh, double gos, double retryShare) {
    if (!(fresh > 0) || !std::isfinite(fresh))
        return 0;
    // Plain Erlang B first: retries only ever add traffic, so it is a floor.
    double b = 1.0;
    int n = 0;
    while (b > gos && n < kMostPorts) {
        ++n;
        b = fresh * b / (n + fresh * b);
    }
    while (retryShare > 0 && n < kMostPorts && blocking(fresh, n, retryShare) > gos)
        ++n;
    return n;
}

double capacity(int ports, double gos, double retryShare) {
    if (ports <= 0 || blocking(0, ports) > gos)
        return 0.0;
    // Blocking rises with traffic: widen until the target is passed, then halve.
    double lo = 0.0;
    double hi = static_cast<double>(ports);
    const auto fits = [&](double a) { return blocking(a, ports, retryShare) <= gos; };
    while (fits(hi)) {
        lo = hi;
        hi *= 2;
    }
    return largestFitting(lo, hi, fits);
}

} // namespace tarrow::reports::erlang
