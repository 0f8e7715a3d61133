#include "reports/capacity/sizing.h"

#include "reports/capacity/erlangb.h"

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

bool validGos(double gos) {
    return gos >= kMinGos && gos <= kMaxGos; // false for NaN
}

bool validRetryShare(double share) {
    return share >= 0 && share <= erlang::kMaxRetryShare;
}

namespace {

void choosePorts(const CapacityFigures& f, const SizingChoice& choice, Sizing& s) {
    if (choice.ports > 0) {
        s.ports = choice.ports;
        s.portsFrom = PortsFrom::User;
    } else {
        s.ports = f.poolPorts();
        s.portsFrom = f.largestLinesAvailable > f.answerPorts ? PortsFrom::LineCounts
                                                              : PortsFrom::AnswerPorts;
    }
}

void sizeDemand(Sizing& s) {
    const double offered = *s.offeredErlangs;
    const double fresh = erlang::freshOf(offered, s.ports, s.retryShare);
    const double demand = fresh * (1 + s.growthPercent / 100);
    s.freshErlangs = fresh;
    s.demandErlangs = demand;
    s.portsNeeded = erlang::portsNeeded(demand, s.gos, s.retryShare);
    s.portsToAdd = std::max(0, *s.portsNeeded - s.ports);
    s.headroomErlangs = s.capacityErlangs - demand;
    s.headroomPercent = s.capacityErlangs > 0 ? 100 * *s.headroomErlangs / s.capacityErlangs : 0.0;
    s.predictedBlocking = erlang::blocking(demand, s.ports, s.retryShare);
}

Verdict judge(const Sizing& s) {
    if (s.saturated() || *s.portsNeeded > s.ports || s.measuredBlocking > s.gos)
        return Verdict::NotEnough;
    if (*s.headroomErlangs < kNearHeadroom * s.capacityErlangs)
        return Verdict::Near;
    return Verdict::Enough;
}

} // namespace

Sizing sizeCapacity(const CapacityFigures& f, const SizingChoice& choice) {
    Sizing s;
    choosePorts(f, choice, s);
    s.gos = validGos(choice.gos) ? choice.gos : kDefaultGos;
    s.growthPercent = choice.growthPercent > 0 ? choice.growthPercent : 0.0;
    s.retryShare = validRetryShare(choice.retryShare) ? choice.retryShare : 0.0;
    s.carriedErlangs = f.busyHourErlangs();
    s.measuredBlocking = f.measuredBlocking();
    s.capacityErlangs = erlang::capacity(s.ports, s.gos, s.retryShare);
    s.offeredErlangs = erlang::offeredFromCarried(s.carriedErlangs, s.ports);
    if (s.measuredBlocking < 1)
        s.offeredFromCounts = s.carriedErlangs / (1 - s.measuredBlocking);
    if (s.offeredErlangs) {
        sizeDemand(s);
        s.modelMisfit = !s.offeredFromCounts || std::abs(*s.offeredFromCounts - *s.offeredErlangs) >
                                                    kMisfit * *s.offeredErlangs;
    }
    s.verdict = judge(s);
    return s;
}

QString verdictKey(Verdict verdict) {
    switch (verdict) {
    case Verdict::Enough:
        return QStringLiteral("enough");
    case Verdict::Near:
        return QStringLiteral("near");
    case Verdict::NotEnough:
        break;
    }
    return QStringLiteral("notEnough");
}

} // namespace tarrow::reports
