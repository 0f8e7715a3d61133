#include "reports/capacity/capacity.h"

#include "load/loadedday.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tarrow::reports {

namespace {

using logparse::CallLine;

// A call leg from its start line to the disconnect line that closed it.
struct Leg {
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int16_t port = 0;
    std::int8_t type = 0;
};

// What a port did on the day.
enum PortUse : std::uint8_t { TookCall = 1, TookInbound = 2 };

// The day's call lines in UTC order paired into legs: a start opens a leg on
// its port, leaving one still open there without end, and the port's next
// disconnect closes it. Only legs that overlap the day are kept.
class LegPairing {
public:
    LegPairing(const DayClock& clock, CapacityFigures& f) : clock_(clock), f_(f) {}

    void line(const CallLine& line, bool onDay) {
        const auto port = static_cast<std::size_t>(line.port);
        if (port >= open_.size()) {
            open_.resize(std::max<std::size_t>(port + 1, 2 * open_.size()));
            uses_.resize(open_.size());
        }
        Open& open = open_[port];
        if (line.type == store::Disconnect) {
            if (open.type != 0)
                closed(Leg{open.start, line.utc, line.port, open.type}, open.onDay);
            open.type = 0;
            return;
        }
        if (open.type != 0)
            withoutEnd(line.port, open);
        open = Open{line.utc, line.type, onDay};
    }

    // The legs still open: they have no recorded end.
    void finish() {
        for (std::size_t port = 0; port < open_.size(); ++port)
            if (open_[port].type != 0)
                withoutEnd(static_cast<std::int16_t>(port), open_[port]);
    }

    [[nodiscard]] const std::vector<Leg>& legs() const { return legs_; }
    [[nodiscard]] const std::vector<std::uint8_t>& uses() const { return uses_; }

private:
    struct Open {
        std::int64_t start = 0;
        std::int8_t type = 0; // 0: no leg open
        bool onDay = false;
    };

    void use(std::int16_t port, std::int8_t type) {
        auto& use = uses_[static_cast<std::size_t>(port)];
        use |= TookCall | (type == store::Inbound ? TookInbound : 0);
    }
    void withoutEnd(std::int16_t port, const Open& open) {
        if (!open.onDay)
            return;
        ++f_.callsWithoutEnd;
        use(port, open.type);
    }
    void closed(const Leg& leg, bool startedOnDay) {
        if (!startedOnDay && (leg.end <= clock_.start() || leg.start >= clock_.end()))
            return;
        use(leg.port, leg.type);
        if (leg.end > leg.start)
            legs_.push_back(leg);
    }

    const DayClock& clock_;
    CapacityFigures& f_;
    std::vector<Open> open_ = std::vector<Open>(256);
    std::vector<std::uint8_t> uses_ = std::vector<std::uint8_t>(256);
    std::vector<Leg> legs_;
};

// All ports busy from the server's own counts: each call line samples the
// lines available at its instant, and a sample holds until the next line's.
class AllPortsBusy {
public:
    AllPortsBusy(const DayClock& clock, CapacityFigures& f) : clock_(clock), f_(f) {}

    void line(const CallLine& line) {
        if (held_ && previous_.available == 0)
            clock_.spread(previous_.utc, line.utc, [this](int q, std::int64_t s) {
                f_.atbSeconds[static_cast<std::size_t>(q)] += s;
                f_.atbTotalSeconds += s;
            });
        if (line.available == 0 && !inRun_) {
            inRun_ = true;
            runStart_ = line.utc;
        } else if (line.available != 0 && inRun_) {
            endRun(line.utc);
        }
        previous_ = line;
        held_ = true;
    }

    // The last line holds for no time.
    void finish() {
        if (inRun_)
            endRun(previous_.utc);
    }

private:
    // A spell counts when it overlaps the day, clipped to it.
    void endRun(std::int64_t end) {
        inRun_ = false;
        const std::int64_t from = std::max(runStart_, clock_.start());
        const std::int64_t to = std::min(end, clock_.end());
        const bool starts = runStart_ >= clock_.start() && runStart_ < clock_.end();
        if (to > from || starts) {
            ++f_.atbEpisodes;
            f_.atbLongestSeconds =
                std::max<qint64>(f_.atbLongestSeconds, std::max<qint64>(0, to - from));
        }
    }

    const DayClock& clock_;
    CapacityFigures& f_;
    CallLine previous_;
    bool held_ = false;
    bool inRun_ = false;
    std::int64_t runStart_ = 0;
};

// The most legs in progress at one instant of the day; legs that end in the
// second another starts do not overlap.
int mostAtOnce(const std::vector<Leg>& legs, const DayClock& clock) {
    std::vector<std::int32_t> change(
        static_cast<std::size_t>(std::max<std::int64_t>(clock.end() - clock.start(), 0) + 1), 0);
    for (const Leg& leg : legs) {
        const std::int64_t from = std::max(leg.start, clock.start());
        const std::int64_t to = std::min(leg.end, clock.end());
        if (from < to) {
            ++change[static_cast<std::size_t>(from - clock.start())];
            --change[static_cast<std::size_t>(to - clock.start())];
        }
    }
    std::int64_t inProgress = 0;
    std::int64_t most = 0;
    for (std::int32_t delta : change) {
        inProgress += delta;
        most = std::max(most, inProgress);
    }
    return static_cast<int>(most);
}

// The seconds of the day during which `ports` dial-out legs were in progress.
qint64 secondsAllBusy(const std::vector<Leg>& legs, const std::vector<std::uint8_t>& uses,
                      const DayClock& clock, int ports) {
    if (ports == 0)
        return 0;
    std::vector<std::pair<std::int64_t, int>> changes;
    for (const Leg& leg : legs) {
        const std::int64_t from = std::max(leg.start, clock.start());
        const std::int64_t to = std::min(leg.end, clock.end());
        if (from < to && !(uses[static_cast<std::size_t>(leg.port)] & TookInbound)) {
            changes.emplace_back(from, 1);
            changes.emplace_back(to, -1);
        }
    }
    std::sort(changes.begin(), changes.end());
    qint64 seconds = 0;
    int busy = 0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        busy += changes[i].second;
        if (busy >= ports && i + 1 < changes.size())
            seconds += changes[i + 1].first - changes[i].first;
    }
    return seconds;
}

template <typename Quarter> double overBusyHour(const CapacityFigures& f, Quarter&& seconds) {
    qint64 total = 0;
    for (int q = f.busyHourStart; q < f.busyHourStart + kBusyHourQuarters; ++q)
        total += seconds(static_cast<std::size_t>(q));
    const qint64 real = f.busyHourRealSeconds();
    return real > 0 ? static_cast<double>(total) / static_cast<double>(real) : 0.0;
}

double perReal(qint64 seconds, qint64 real) {
    return real > 0 ? static_cast<double>(seconds) / static_cast<double>(real) : 0.0;
}

qint64 sum(const std::array<qint64, store::kCallTypeCount>& byType) {
    return std::accumulate(byType.begin(), byType.end(), qint64{0});
}

} // namespace

double CapacityFigures::erlangs(int quarter, std::size_t typeIndex) const {
    const auto q = static_cast<std::size_t>(quarter);
    return perReal(callSeconds[q][typeIndex], realSeconds[q]);
}

double CapacityFigures::erlangs(int quarter) const {
    const auto q = static_cast<std::size_t>(quarter);
    return perReal(sum(callSeconds[q]), realSeconds[q]);
}

double CapacityFigures::poolErlangs(int quarter) const {
    const auto q = static_cast<std::size_t>(quarter);
    return perReal(sum(poolSeconds[q]), realSeconds[q]);
}

double CapacityFigures::poolErlangs(int quarter, std::size_t typeIndex) const {
    const auto q = static_cast<std::size_t>(quarter);
    return perReal(poolSeconds[q][typeIndex], realSeconds[q]);
}

qint64 CapacityFigures::busyHourRealSeconds() const {
    qint64 total = 0;
    for (int q = busyHourStart; q < busyHourStart + kBusyHourQuarters; ++q)
        total += realSeconds[static_cast<std::size_t>(q)];
    return total;
}

double CapacityFigures::busyHourErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) { return sum(poolSeconds[q]); });
}

double CapacityFigures::busyHourErlangs(std::size_t typeIndex) const {
    return overBusyHour(*this, [&](std::size_t q) { return poolSeconds[q][typeIndex]; });
}

double CapacityFigures::dialOutBusyHourErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) { return dialOutSeconds[q]; });
}

double CapacityFigures::overflowErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) {
        return sum(poolSeconds[q]) - poolSeconds[q][store::typeIndex(store::Inbound)];
    });
}

qint64 CapacityFigures::atbBusyHourSeconds() const {
    qint64 total = 0;
    for (int q = busyHourStart; q < busyHourStart + kBusyHourQuarters; ++q)
        total += atbSeconds[static_cast<std::size_t>(q)];
    return total;
}

double CapacityFigures::measuredBlocking() const {
    return perReal(atbBusyHourSeconds(), busyHourRealSeconds());
}

bool CapacityFigures::hasTraffic() const {
    for (const auto& byType : callSeconds)
        if (sum(byType) > 0)
            return true;
    return false;
}

int busiestHour(const QuarterSeconds& seconds, const QuarterSeconds& real) {
    int best = 0;
    qint64 bestSeconds = -1;
    qint64 bestReal = 1;
    for (int q = 0; q + kBusyHourQuarters <= kQuarterHours; ++q) {
        const auto from = static_cast<std::size_t>(q);
        const qint64 s = std::accumulate(seconds.begin() + from,
                                         seconds.begin() + from + kBusyHourQuarters, qint64{0});
        const qint64 r = std::accumulate(real.begin() + from,
                                         real.begin() + from + kBusyHourQuarters, qint64{0});
        if (r < kHourSeconds)
            continue;
        // s / r > bestSeconds / bestReal, without rounding.
        if (bestSeconds < 0 || s * bestReal > bestSeconds * r) {
            best = q;
            bestSeconds = s;
            bestReal = r;
        }
    }
    return best;
}

QString quarterStart(int quarter) {
    const int minutes = quarter * (kQuarterSeconds / 60);
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

CapacityFigures computeCapacityFigures(const load::LoadedDay& day) {
    CapacityFigures f;
    f.day = day.day.isValid() ? day.day : day.dataDate.date();
    const DayClock clock(f.day, day.zone);
    f.realSeconds = clock.realSeconds();
    LegPairing pairing(clock, f);
    AllPortsBusy atb(clock, f);
    for (const CallLine& line : day.lines.before) {
        pairing.line(line, false);
        atb.line(line);
    }
    for (const CallLine& line : day.lines.lines) {
        pairing.line(line, true);
        atb.line(line);
        f.peakLinesInUse = std::max<int>(f.peakLinesInUse, line.inUse);
        f.largestLinesAvailable = std::max<int>(f.largestLinesAvailable, line.available);
    }
    for (const CallLine& line : day.lines.after) {
        pairing.line(line, false);
        atb.line(line);
    }
    pairing.finish();
    atb.finish();

    const std::vector<std::uint8_t>& uses = pairing.uses();
    for (const std::uint8_t use : uses) {
        f.answerPorts += (use & TookInbound) ? 1 : 0;
        f.dialOutPorts += (use == TookCall) ? 1 : 0;
    }
    for (const Leg& leg : pairing.legs()) {
        const std::size_t type = store::typeIndex(leg.type);
        const bool pool = uses[static_cast<std::size_t>(leg.port)] & TookInbound;
        clock.spread(leg.start, leg.end, [&](int quarter, std::int64_t s) {
            const auto q = static_cast<std::size_t>(quarter);
            f.callSeconds[q][type] += s;
            (pool ? f.poolSeconds[q][type] : f.dialOutSeconds[q]) += s;
        });
    }
    f.peakConcurrentCalls = mostAtOnce(pairing.legs(), clock);
    f.dialOutAllBusySeconds = secondsAllBusy(pairing.legs(), uses, clock, f.dialOutPorts);
    QuarterSeconds pool{};
    for (std::size_t q = 0; q < pool.size(); ++q)
        pool[q] = sum(f.poolSeconds[q]);
    f.busyHourStart = busiestHour(pool, f.realSeconds);
    return f;
}

} // namespace tarrow::reports
