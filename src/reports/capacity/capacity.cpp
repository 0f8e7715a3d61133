#include "reports/capacity/capacity.h"

#include "load/loadedday.h"
#include "reports/capacity/erlangb.h"

#include <algorithm>
#include <bitset>
#include <numeric>
#include <vector>

namespace tarrow::reports {

namespace {

constexpr int kDaySeconds = 86400;

// Adds the seconds of [start, end) to the quarter-hours they fall in.
template <typename Add> void spreadOverQuarters(std::int64_t start, std::int64_t end, Add add) {
    for (std::int64_t t = start; t < end;) {
        const std::int64_t quarter = t / kQuarterSeconds;
        const std::int64_t stop = std::min(end, (quarter + 1) * kQuarterSeconds);
        add(static_cast<int>(quarter), stop - t);
        t = stop;
    }
}

// All ports busy from the server's own counts: each row samples the lines
// available at its start, and a sample holds until the next one.
void measureAllPortsBusy(const std::vector<store::RawRow>& rows, bool sorted, CapacityFigures& f) {
    std::vector<std::uint32_t> order;
    if (!sorted) {
        order.resize(rows.size());
        std::iota(order.begin(), order.end(), 0U);
        std::stable_sort(order.begin(), order.end(), [&rows](std::uint32_t a, std::uint32_t b) {
            return rows[a].startSecond < rows[b].startSecond;
        });
    }
    const auto at = [&](std::size_t i) -> const store::RawRow& {
        return sorted ? rows[i] : rows[order[i]];
    };
    bool inEpisode = false;
    std::int64_t episodeStart = 0;
    const auto endEpisode = [&](std::int64_t when) {
        if (!inEpisode)
            return;
        f.atbLongestSeconds = std::max<qint64>(f.atbLongestSeconds, when - episodeStart);
        inEpisode = false;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const store::RawRow& sample = at(i);
        const std::int64_t time = std::clamp(sample.startSecond, 0, kDaySeconds);
        if (sample.linesAvailable != 0) {
            endEpisode(time);
            continue;
        }
        if (!inEpisode) {
            inEpisode = true;
            episodeStart = time;
            ++f.atbEpisodes;
        }
        if (i + 1 == rows.size())
            break; // the last sample holds for no time
        const std::int64_t next = std::clamp(at(i + 1).startSecond, 0, kDaySeconds);
        f.atbTotalSeconds += next - time;
        spreadOverQuarters(time, next, [&f](int q, std::int64_t s) { f.atbSeconds[q] += s; });
    }
    if (inEpisode)
        endEpisode(std::clamp(at(rows.size() - 1).startSecond, 0, kDaySeconds));
}

} // namespace

double CapacityFigures::erlangs(int quarter, std::size_t typeIndex) const {
    return static_cast<double>(callSeconds[static_cast<std::size_t>(quarter)][typeIndex]) /
           kQuarterSeconds;
}

qint64 CapacityFigures::quarterSeconds(int quarter) const {
    const auto& byType = callSeconds[static_cast<std::size_t>(quarter)];
    return std::accumulate(byType.begin(), byType.end(), qint64{0});
}

double CapacityFigures::erlangs(int quarter) const {
    return static_cast<double>(quarterSeconds(quarter)) / kQuarterSeconds;
}

qint64 CapacityFigures::busyHourSeconds() const {
    qint64 total = 0;
    for (int q = busyHourStart; q < busyHourStart + kBusyHourQuarters; ++q)
        total += quarterSeconds(q);
    return total;
}

double CapacityFigures::busyHourErlangs() const {
    return static_cast<double>(busyHourSeconds()) / (kBusyHourQuarters * kQuarterSeconds);
}

double CapacityFigures::busyHourErlangs(std::size_t typeIndex) const {
    qint64 total = 0;
    for (int q = busyHourStart; q < busyHourStart + kBusyHourQuarters; ++q)
        total += callSeconds[static_cast<std::size_t>(q)][typeIndex];
    return static_cast<double>(total) / (kBusyHourQuarters * kQuarterSeconds);
}

qint64 CapacityFigures::atbBusyHourSeconds() const {
    qint64 total = 0;
    for (int q = busyHourStart; q < busyHourStart + kBusyHourQuarters; ++q)
        total += atbSeconds[static_cast<std::size_t>(q)];
    return total;
}

int busiestHour(const std::array<qint64, kQuarterHours>& seconds) {
    int best = 0;
    qint64 bestSum = -1;
    for (int q = 0; q + kBusyHourQuarters <= kQuarterHours; ++q) {
        const auto first = seconds.begin() + q;
        const qint64 sum = std::accumulate(first, first + kBusyHourQuarters, qint64{0});
        if (sum > bestSum) {
            bestSum = sum;
            best = q;
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
    f.day = day.dataDate.date();
    // Calls starting and ending at each second; a running sum gives the calls
    // in progress.
    std::vector<std::int32_t> change(kDaySeconds + 1, 0);
    std::bitset<65536> ports;
    bool sorted = true;
    std::int32_t previousStart = INT32_MIN;
    for (const store::RawRow& row : day.rows) {
        sorted = sorted && row.startSecond >= previousStart;
        previousStart = row.startSecond;
        f.peakLinesInUse = std::max<int>(f.peakLinesInUse, row.linesInUse);
        if (!store::isCallType(row.callType))
            continue;
        ports.set(static_cast<std::uint16_t>(row.port));
        if (!row.closed) {
            ++f.callsWithoutEnd;
            continue;
        }
        if (row.seconds < 0)
            continue;
        const std::int64_t start = std::clamp(row.startSecond, 0, kDaySeconds);
        const std::int64_t end = std::min<std::int64_t>(
            static_cast<std::int64_t>(row.startSecond) + row.seconds, kDaySeconds);
        if (end <= start)
            continue;
        auto& quarters = f.callSeconds;
        const std::size_t type = store::typeIndex(row.callType);
        spreadOverQuarters(start, end, [&quarters, type](int q, std::int64_t s) {
            quarters[static_cast<std::size_t>(q)][type] += s;
        });
        ++change[static_cast<std::size_t>(start)];
        --change[static_cast<std::size_t>(end)];
    }
    std::int64_t inProgress = 0;
    for (std::int32_t delta : change) {
        inProgress += delta;
        f.peakConcurrentCalls = std::max<int>(f.peakConcurrentCalls, static_cast<int>(inProgress));
    }
    f.portsWithCalls = static_cast<int>(ports.count());
    measureAllPortsBusy(day.rows, sorted, f);
    std::array<qint64, kQuarterHours> totals{};
    for (int q = 0; q < kQuarterHours; ++q)
        totals[static_cast<std::size_t>(q)] = f.quarterSeconds(q);
    f.busyHourStart = busiestHour(totals);
    return f;
}

Sizing sizeCapacity(const CapacityFigures& figures, const SizingChoice& choice) {
    Sizing s;
    s.portsFromUser = choice.ports > 0;
    s.ports = s.portsFromUser ? choice.ports : figures.portsWithCalls;
    s.gos = std::clamp(choice.gos, kMinGos, kMaxGos);
    s.growthPercent = std::max(0.0, choice.growthPercent);
    s.erlangs = figures.busyHourErlangs() * (1 + s.growthPercent / 100);
    s.portsNeeded = erlang::portsNeeded(s.erlangs, s.gos);
    s.capacityErlangs = erlang::capacity(s.ports, s.gos);
    s.headroomErlangs = s.capacityErlangs - s.erlangs;
    s.headroomPercent = s.capacityErlangs > 0 ? 100 * s.headroomErlangs / s.capacityErlangs : 0;
    s.portsToAdd = std::max(0, s.portsNeeded - s.ports);
    s.predictedBlocking = erlang::blocking(s.erlangs, s.ports);
    s.measuredBlocking = static_cast<double>(figures.atbBusyHourSeconds()) / 3600.0;
    return s;
}

} // namespace tarrow::reports
