#include "reports/capacity/capacity.h"

#include "load/loadedday.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <numeric>
#include <vector>

namespace tarrow::reports {

namespace {

using logparse::CallLine;

// The part of a call leg on the day, from its start line to the disconnect
// line that closed it, in seconds from the day's first instant.
struct Leg {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int16_t port = 0;
    std::int8_t type = 0;
};

// What a port did on the day.
enum PortUse : std::uint8_t { TookCall = 1, TookInbound = 2 };

// Legs in progress over the day, second by second: each leg adds one from
// its start and takes it away at its end, so legs that end in the second
// another starts do not overlap.
class InProgress {
public:
    explicit InProgress(const DayClock& clock)
        : seconds_(
              static_cast<std::size_t>(std::max<std::int64_t>(clock.end() - clock.start(), 0))) {}

    // The table is made on the first leg: a day without legs costs nothing.
    void add(const Leg& leg) {
        if (change_.empty())
            change_.assign(seconds_ + 1, 0);
        ++change_[static_cast<std::size_t>(leg.from)];
        --change_[static_cast<std::size_t>(leg.to)];
        first_ = std::min(first_, static_cast<std::size_t>(leg.from));
        last_ = std::max(last_, static_cast<std::size_t>(leg.to));
    }
    // The most legs at once.
    [[nodiscard]] int most() const {
        std::int64_t now = 0;
        std::int64_t most = 0;
        for (std::size_t t = first_; t < last_; ++t) {
            now += change_[t];
            most = std::max(most, now);
        }
        return static_cast<int>(most);
    }
    // The seconds during which at least `count` legs were in progress.
    [[nodiscard]] qint64 secondsWithAtLeast(int count) const {
        std::int64_t now = 0;
        qint64 seconds = 0;
        for (std::size_t t = first_; t < last_; ++t) {
            now += change_[t];
            seconds += now >= count ? 1 : 0;
        }
        return seconds;
    }

private:
    std::size_t seconds_;
    std::vector<std::int32_t> change_;
    std::size_t first_ = SIZE_MAX; // the seconds any leg touched
    std::size_t last_ = 0;
};

// Where the legs go: each leg's seconds into its clock quarters, by type and
// by pool, and into the legs in progress. An inbound leg's port is an answer
// port, so it counts at once; other legs wait until every port is known.
class LegSink {
public:
    // At most one leg for every two lines waits.
    LegSink(const DayClock& clock, CapacityFigures& f, std::size_t lines)
        : clock_(clock), f_(f), calls_(clock), dialOuts_(clock) {
        pending_.reserve(lines / 2);
    }

    void take(const Leg& leg) {
        if (leg.type == store::Inbound)
            add(leg, true);
        else
            pending_.push_back(leg);
    }

    void finish(const std::vector<std::uint8_t>& uses) {
        for (const Leg& leg : pending_)
            add(leg, uses[static_cast<std::size_t>(leg.port)] & TookInbound);
        f_.peakConcurrentCalls = calls_.most();
        f_.dialOutAllBusySeconds =
            f_.dialOutPorts > 0 ? dialOuts_.secondsWithAtLeast(f_.dialOutPorts) : 0;
    }

private:
    void add(const Leg& leg, bool pool) {
        const std::size_t type = store::typeIndex(leg.type);
        clock_.spread(clock_.start() + leg.from, clock_.start() + leg.to,
                      [&](int quarter, std::int64_t s) {
                          const auto q = static_cast<std::size_t>(quarter);
                          (pool ? f_.poolSeconds : f_.dialOutSeconds)[q][type] += s;
                      });
        calls_.add(leg);
        if (!pool)
            dialOuts_.add(leg);
    }

    const DayClock& clock_;
    CapacityFigures& f_;
    InProgress calls_;
    InProgress dialOuts_;
    std::vector<Leg> pending_;
};

// The day's call lines in UTC order paired into legs: a start opens a leg on
// its port, leaving one still open there without end, and the port's next
// disconnect closes it. Only legs that overlap the day are kept.
class LegPairing {
public:
    LegPairing(const DayClock& clock, CapacityFigures& f, LegSink& legs)
        : clock_(clock), f_(f), legs_(legs) {}

    void lines(const std::vector<CallLine>& lines, bool onDay) {
        for (const CallLine& line : lines)
            this->line(line, onDay);
    }

    void line(const CallLine& line, bool onDay) {
        // The parser gives no negative port; a day put together otherwise
        // has none paired either.
        if (line.port < 0)
            return;
        const auto port = static_cast<std::size_t>(line.port);
        if (port >= open_.size()) {
            (void)logparse::atPort(open_, line.port); // grows the table
            uses_.resize(open_.size());               // every port met has its use too
        }
        Open& open = open_[port];
        if (line.type == store::Disconnect) {
            if (open.type != 0)
                closed(open, line.utc, line.port);
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
    void closed(const Open& open, std::int64_t end, std::int16_t port) {
        if (!open.onDay && (end <= clock_.start() || open.start >= clock_.end()))
            return;
        use(port, open.type);
        const std::int64_t from = std::max(open.start, clock_.start());
        const std::int64_t to = std::min(end, clock_.end());
        if (from < to)
            legs_.take({static_cast<std::int32_t>(from - clock_.start()),
                        static_cast<std::int32_t>(to - clock_.start()), port, open.type});
    }

    const DayClock& clock_;
    CapacityFigures& f_;
    // Both grow to the highest port met.
    std::vector<Open> open_ = std::vector<Open>(256);
    std::vector<std::uint8_t> uses_ = std::vector<std::uint8_t>(256);
    LegSink& legs_;
};

// What the server's own counts say: all ports busy, each call line sampling
// the lines available at its instant and holding until the next line's; the
// largest counts of lines in use and available on the day.
struct ServerCounts {
    QuarterSeconds atbSeconds{};
    qint64 atbTotalSeconds = 0;
    qint64 atbEpisodes = 0;
    qint64 atbLongestSeconds = 0;
    int peakLinesInUse = 0;
    int largestLinesAvailable = 0;
};

class AllPortsBusy {
public:
    AllPortsBusy(const DayClock& clock, ServerCounts& counts) : clock_(clock), c_(counts) {}

    void line(const CallLine& line) {
        if (held_ && previous_.available == 0)
            clock_.spread(previous_.utc, line.utc, [this](int q, std::int64_t s) {
                c_.atbSeconds[static_cast<std::size_t>(q)] += s;
                c_.atbTotalSeconds += s;
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
            ++c_.atbEpisodes;
            c_.atbLongestSeconds =
                std::max<qint64>(c_.atbLongestSeconds, std::max<qint64>(0, to - from));
        }
    }

    const DayClock& clock_;
    ServerCounts& c_;
    CallLine previous_;
    bool held_ = false;
    bool inRun_ = false;
    std::int64_t runStart_ = 0;
};

ServerCounts countServer(const logparse::DayLines& lines, const DayClock& clock) {
    ServerCounts counts;
    AllPortsBusy atb(clock, counts);
    for (const CallLine& line : lines.before)
        atb.line(line);
    for (const CallLine& line : lines.lines) {
        atb.line(line);
        counts.peakLinesInUse = std::max<int>(counts.peakLinesInUse, line.inUse);
        counts.largestLinesAvailable = std::max<int>(counts.largestLinesAvailable, line.available);
    }
    for (const CallLine& line : lines.after)
        atb.line(line);
    atb.finish();
    return counts;
}

template <typename Quarter> double overBusyHour(const CapacityFigures& f, Quarter&& seconds) {
    qint64 total = 0;
    for (int q = f.busyHourStart; q < f.busyHourStart + kBusyHourQuarters; ++q)
        total += seconds(static_cast<std::size_t>(q));
    return perReal(total, f.busyHourRealSeconds());
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
    return hourSeconds(realSeconds, busyHourStart);
}

double CapacityFigures::busyHourErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) { return sum(poolSeconds[q]); });
}

double CapacityFigures::busyHourErlangs(std::size_t typeIndex) const {
    return overBusyHour(*this, [&](std::size_t q) { return poolSeconds[q][typeIndex]; });
}

double CapacityFigures::dialOutBusyHourErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) { return sum(dialOutSeconds[q]); });
}

double CapacityFigures::overflowErlangs() const {
    return overBusyHour(*this, [this](std::size_t q) {
        return sum(poolSeconds[q]) - poolSeconds[q][store::typeIndex(store::Inbound)];
    });
}

qint64 CapacityFigures::atbBusyHourSeconds() const {
    return hourSeconds(atbSeconds, busyHourStart);
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

double perReal(qint64 seconds, qint64 real) {
    return real > 0 ? static_cast<double>(seconds) / static_cast<double>(real) : 0.0;
}

qint64 hourSeconds(const QuarterSeconds& seconds, int start) {
    const auto from = seconds.begin() + start;
    return std::accumulate(from, from + kBusyHourQuarters, qint64{0});
}

int busiestHour(const QuarterSeconds& seconds, const QuarterSeconds& real,
                const std::function<bool(int)>& usable) {
    int best = 0;
    qint64 bestSeconds = -1;
    qint64 bestReal = 1;
    for (int q = 0; q + kBusyHourQuarters <= kQuarterHours; ++q) {
        const qint64 s = hourSeconds(seconds, q);
        const qint64 r = hourSeconds(real, q);
        if (r < kHourSeconds || (usable && !usable(q)))
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
    // The server's counts and the call legs are apart: on a big day the
    // counts are read on the other core meanwhile.
    const bool big = day.lines.lines.size() > 100'000;
    std::future<ServerCounts> counting =
        std::async(big ? std::launch::async : std::launch::deferred,
                   [&day, &clock] { return countServer(day.lines, clock); });
    LegSink legs(clock, f, day.lines.lines.size());
    LegPairing pairing(clock, f, legs);
    pairing.lines(day.lines.before, false);
    pairing.lines(day.lines.lines, true);
    pairing.lines(day.lines.after, false);
    pairing.finish();
    const ServerCounts counts = counting.get();
    f.atbSeconds = counts.atbSeconds;
    f.atbTotalSeconds = counts.atbTotalSeconds;
    f.atbEpisodes = counts.atbEpisodes;
    f.atbLongestSeconds = counts.atbLongestSeconds;
    f.peakLinesInUse = counts.peakLinesInUse;
    f.largestLinesAvailable = counts.largestLinesAvailable;

    const std::vector<std::uint8_t>& uses = pairing.uses();
    for (const std::uint8_t use : uses) {
        f.answerPorts += (use & TookInbound) ? 1 : 0;
        f.dialOutPorts += (use == TookCall) ? 1 : 0;
    }
    legs.finish(uses);
    for (std::size_t q = 0; q < f.callSeconds.size(); ++q)
        for (std::size_t type = 0; type < store::kCallTypeCount; ++type)
            f.callSeconds[q][type] = f.poolSeconds[q][type] + f.dialOutSeconds[q][type];
    QuarterSeconds pool{};
    for (std::size_t q = 0; q < pool.size(); ++q)
        pool[q] = sum(f.poolSeconds[q]);
    f.busyHourStart = busiestHour(pool, f.realSeconds);
    return f;
}

} // namespace tarrow::reports
