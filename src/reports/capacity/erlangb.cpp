#include "reports/capacity/erlangb.h"

#include <cmath>

namespace tarrow::reports::erlang {

double blocking(double erlangs, int ports) {
    if (!(erlangs > 0))
        return ports > 0 ? 0.0 : 1.0;
    double b = 1.0;
    for (int n = 1; n <= ports; ++n)
        b = erlangs * b / (n + erlangs * b);
    return b;
}

int portsNeeded(double erlangs, double gos) {
    if (!(erlangs > 0) || !std::isfinite(erlangs))
        return 0;
    // The same recursion, stopped at the first port count that meets the target.
    double b = 1.0;
    int n = 0;
    while (b > gos) {
        ++n;
        b = erlangs * b / (n + erlangs * b);
    }
    return n;
}

double capacity(int ports, double gos) {
    if (ports <= 0 || blocking(0, ports) > gos)
        return 0.0;
    // Blocking rises with traffic: widen until the target is passed, then halve.
    double lo = 0.0;
    double hi = static_cast<double>(ports);
    while (blocking(hi, ports) <= gos) {
        lo = hi;
        hi *= 2;
    }
    while (hi - lo > 1e-6 * hi) {
        const double mid = (lo + hi) / 2;
        (blocking(mid, ports) <= gos ? lo : hi) = mid;
    }
    return lo;
}

} // namespace tarrow::reports::erlang
