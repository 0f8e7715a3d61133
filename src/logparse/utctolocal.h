#pragma once

#include <QTimeZone>

#include <cstdint>
#include <vector>

namespace tarrow::logparse {

// Converts UTC wall-clock seconds to local wall-clock seconds with the offset in
// force at each event's own instant, daylight saving included. The zone's
// offset is constant between two of its transitions, so each such stretch is
// looked up in the zone once and kept: lines in time order hit the last
// stretch, lines at scattered instants find theirs by a binary search.
class UtcToLocal {
public:
    explicit UtcToLocal(QTimeZone zone);
    [[nodiscard]] std::int64_t operator()(std::int64_t utcSeconds);

private:
    struct Stretch {
        std::int64_t from; // first UTC second
        std::int64_t to;   // first UTC second after it
        int offset;
    };
    const Stretch& stretchAt(std::int64_t utcSeconds);

    QTimeZone zone_;
    std::vector<Stretch> stretches_; // sorted, never overlapping
    std::size_t last_ = 0;           // the stretch used last
};

} // namespace tarrow::logparse
