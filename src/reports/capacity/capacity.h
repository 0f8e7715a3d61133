#pragma once

#include "store/calltypes.h"

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>

namespace tarrow::load {
struct LoadedDay;
}

namespace tarrow::reports {

inline constexpr int kQuarterHours = 96;
inline constexpr int kQuarterSeconds = 900;
inline constexpr int kBusyHourQuarters = 4;

// What a day's call records and the server's line counts say about its ports,
// independent of how many ports the user counts or which blocking they aim at.
struct CapacityFigures {
    QDate day;
    // Call-seconds carried in each quarter-hour of the day, by call type
    // (indexed by store::typeIndex).
    std::array<std::array<qint64, store::kCallTypeCount>, kQuarterHours> callSeconds{};
    // Seconds in each quarter-hour during which the server had no line left to
    // take a call.
    std::array<qint64, kQuarterHours> atbSeconds{};
    int busyHourStart = 0; // first quarter-hour of the busy hour
    int portsWithCalls = 0;
    qint64 atbTotalSeconds = 0;
    qint64 atbEpisodes = 0;
    qint64 atbLongestSeconds = 0;
    int peakLinesInUse = 0;
    int peakConcurrentCalls = 0;
    qint64 callsWithoutEnd = 0;

    // Carried traffic of a quarter-hour in Erlangs, of one type or of all.
    [[nodiscard]] double erlangs(int quarter, std::size_t typeIndex) const;
    [[nodiscard]] double erlangs(int quarter) const;
    [[nodiscard]] qint64 quarterSeconds(int quarter) const;
    // The busy hour's call-seconds (all types or one) and its mean traffic.
    [[nodiscard]] qint64 busyHourSeconds() const;
    [[nodiscard]] double busyHourErlangs() const;
    [[nodiscard]] double busyHourErlangs(std::size_t typeIndex) const;
    [[nodiscard]] qint64 atbBusyHourSeconds() const;
    [[nodiscard]] bool hasTraffic() const { return busyHourSeconds() > 0; }
};

// Reads the day's rows once and sweeps the calls once.
[[nodiscard]] CapacityFigures computeCapacityFigures(const load::LoadedDay& day);

// The first quarter-hour of the four in a row with the most call-seconds;
// ties go to the earliest.
[[nodiscard]] int busiestHour(const std::array<qint64, kQuarterHours>& seconds);

// "hh:mm" of a quarter-hour's start (96 gives "24:00").
[[nodiscard]] QString quarterStart(int quarter);

inline constexpr double kDefaultGos = 0.01;
inline constexpr double kMinGos = 0.001;
inline constexpr double kMaxGos = 0.2;

// What the user asks of the figures: how many ports (0 counts the ports that
// took calls), the target blocking, and a growth of the busy-hour traffic.
struct SizingChoice {
    int ports = 0;
    double gos = kDefaultGos;
    double growthPercent = 0;
};

// The answer to "do I have enough ports?" at a choice.
struct Sizing {
    int ports = 0;
    bool portsFromUser = false;
    double gos = kDefaultGos;
    double growthPercent = 0;
    double erlangs = 0; // the busy-hour traffic with the growth applied
    int portsNeeded = 0;
    double capacityErlangs = 0;
    double headroomErlangs = 0;
    double headroomPercent = 0; // of the capacity; 0 when the ports carry nothing
    int portsToAdd = 0;
    double predictedBlocking = 0;
    double measuredBlocking = 0;
};

[[nodiscard]] Sizing sizeCapacity(const CapacityFigures& figures, const SizingChoice& choice);

} // namespace tarrow::reports
