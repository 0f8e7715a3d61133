#pragma once

#include "reports/capacity/dayclock.h"
#include "store/calltypes.h"

#include <QDate>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>

namespace tarrow::load {
struct LoadedDay;
}

namespace tarrow::reports {

inline constexpr int kBusyHourQuarters = 4;
inline constexpr int kHourSeconds = 3600;

using QuarterSeconds = std::array<qint64, kQuarterHours>;
using QuarterSecondsByType = std::array<std::array<qint64, store::kCallTypeCount>, kQuarterHours>;

// What a day's call records and the server's line counts say about its ports,
// on real time, independent of how many ports the user counts or which
// blocking they aim at.
//
// Answer ports are the ports that took an inbound call on the day: inbound
// callers can only reach those, and the server's count of lines available to
// take calls counts them. Dial-out ports placed calls and took none.
struct CapacityFigures {
    QDate day;
    QuarterSeconds realSeconds{}; // the real length of each clock quarter
    // Call-seconds in each clock quarter by call type (store::typeIndex): on
    // all ports, and on the answer ports (the pool).
    QuarterSecondsByType callSeconds{};
    QuarterSecondsByType poolSeconds{};
    QuarterSecondsByType dialOutSeconds{}; // call-seconds on the dial-out ports
    // Seconds in each clock quarter during which the server had no line left
    // to take a call.
    QuarterSeconds atbSeconds{};
    int busyHourStart = 0; // first clock quarter of the busy hour
    int answerPorts = 0;
    int dialOutPorts = 0;
    int largestLinesAvailable = 0; // of the day's call lines
    qint64 atbTotalSeconds = 0;
    qint64 atbEpisodes = 0;
    qint64 atbLongestSeconds = 0;
    qint64 dialOutAllBusySeconds = 0; // every dial-out port busy at once
    int peakLinesInUse = 0;
    int peakConcurrentCalls = 0;
    qint64 callsWithoutEnd = 0;

    // Carried traffic of a clock quarter in Erlangs: of one type or of all on
    // every port, and of the pool (0 for a quarter a spring night skips).
    [[nodiscard]] double erlangs(int quarter, std::size_t typeIndex) const;
    [[nodiscard]] double erlangs(int quarter) const;
    [[nodiscard]] double poolErlangs(int quarter) const;
    [[nodiscard]] double poolErlangs(int quarter, std::size_t typeIndex) const;

    // The busy hour: its real length, the pool's traffic in it (Y), of all
    // types and of each, the dial-out ports' and the dial-outs the pool
    // carried (what dial-outs take from callers).
    [[nodiscard]] qint64 busyHourRealSeconds() const;
    [[nodiscard]] double busyHourErlangs() const;
    [[nodiscard]] double busyHourErlangs(std::size_t typeIndex) const;
    [[nodiscard]] double dialOutBusyHourErlangs() const;
    [[nodiscard]] double overflowErlangs() const;
    [[nodiscard]] qint64 atbBusyHourSeconds() const;
    // All ports busy in the busy hour as a share of it: the blocking callers met.
    [[nodiscard]] double measuredBlocking() const;
    [[nodiscard]] bool hasTraffic() const;
    // The ports that take calls as the logs show them: the answer ports, or
    // the server's count of lines available when that is larger.
    [[nodiscard]] int poolPorts() const { return std::max(answerPorts, largestLinesAvailable); }
};

// Sweeps the day's call lines once, on real time.
[[nodiscard]] CapacityFigures computeCapacityFigures(const load::LoadedDay& day);

// Seconds over real seconds: Erlangs, or a share of the time (0 for no time).
[[nodiscard]] double perReal(qint64 seconds, qint64 real);

// The seconds of the four clock quarters from `start` on.
[[nodiscard]] qint64 hourSeconds(const QuarterSeconds& seconds, int start);

// The first clock quarter of the four in a row whose call-seconds over real
// seconds are largest, compared exactly; windows shorter than an hour (across
// the skipped hour of a spring night), and those `usable` refuses, are passed
// over; ties go to the earliest.
[[nodiscard]] int busiestHour(const QuarterSeconds& callSeconds, const QuarterSeconds& realSeconds,
                              const std::function<bool(int)>& usable = {});

// "hh:mm" of a quarter-hour's start (96 gives "24:00").
[[nodiscard]] QString quarterStart(int quarter);

} // namespace tarrow::reports
