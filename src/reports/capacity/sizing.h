#pragma once

#include "reports/capacity/capacity.h"

#include <optional>

namespace tarrow::reports {

inline constexpr double kDefaultGos = 0.01;
inline constexpr double kMinGos = 0.001;
inline constexpr double kMaxGos = 0.2;
inline constexpr int kMaxPorts = 32768;
// Below this share of the capacity left, the ports are "near" full.
inline constexpr double kNearHeadroom = 0.10;
// Offered traffic from the model and from the server's counts further apart
// than this share: the pool model does not fit the day.
inline constexpr double kMisfit = 0.25;

// What the user asks of the figures: how many ports take calls (0: the pool
// the logs show), the target blocking, a growth of the demand and the share
// of blocked callers who try again.
struct SizingChoice {
    int ports = 0;
    double gos = kDefaultGos;
    double growthPercent = 0;
    double retryShare = 0;
};

enum class PortsFrom { User, AnswerPorts, LineCounts };
enum class Verdict { Enough, Near, NotEnough };

// The answer to "do I have enough ports?" at a choice. Where the pool was
// saturated the demand cannot be known, and every figure built on it is
// empty.
struct Sizing {
    int ports = 0; // N, the ports that take calls
    PortsFrom portsFrom = PortsFrom::AnswerPorts;
    double gos = kDefaultGos;
    double growthPercent = 0;
    double retryShare = 0;
    double carriedErlangs = 0;               // Y, the pool's busy-hour traffic
    std::optional<double> offeredErlangs;    // what callers asked for
    std::optional<double> offeredFromCounts; // Y / (1 − measured blocking)
    bool modelMisfit = false;                // the two differ by more than a quarter
    std::optional<double> freshErlangs;      // offered less the retries it holds
    std::optional<double> demandErlangs;     // fresh with the growth
    std::optional<int> portsNeeded;
    double capacityErlangs = 0; // fresh traffic N ports carry at the target
    std::optional<double> headroomErlangs;
    std::optional<double> headroomPercent; // of the capacity
    std::optional<int> portsToAdd;
    std::optional<double> predictedBlocking;
    double measuredBlocking = 0;
    Verdict verdict = Verdict::Enough;

    [[nodiscard]] bool saturated() const { return !offeredErlangs.has_value(); }
};

// Whether a choice's figures are in range: ports 0 to 32768, a target from
// 0.1 % to 20 %, a retry share from 0 to 0.95 and a growth from 0 (NaN and
// infinity are never in range).
[[nodiscard]] bool validGos(double gos);
[[nodiscard]] bool validRetryShare(double share);

[[nodiscard]] Sizing sizeCapacity(const CapacityFigures& figures, const SizingChoice& choice);

// "enough", "near" or "notEnough", as Capacity.json writes it.
[[nodiscard]] QString verdictKey(Verdict verdict);

} // namespace tarrow::reports
