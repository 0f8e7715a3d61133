#pragma once

#include <QTimeZone>

#include <array>
#include <cstdint>

namespace tarrow::logparse {

// Converts UTC wall-clock seconds to local wall-clock seconds with the offset in
// force at each event's own instant, daylight saving included. Offsets are cached
// per quarter hour of UTC time: zones change offset only on quarter hours, and a
// quarter hour that holds a change is never cached.
class UtcToLocal {
public:
    explicit UtcToLocal(QTimeZone zone);
    [[nodiscard]] std::int64_t operator()(std::int64_t utcSeconds);

private:
    int offsetAt(std::int64_t utcSeconds) const;

    struct Slot {
        std::int64_t key = INT64_MIN;
        int offset = 0;
    };
    QTimeZone zone_;
    std::array<Slot, 256> cache_{};
};

} // namespace tarrow::logparse
