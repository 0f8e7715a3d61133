#pragma once

#include <QDate>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace tarrow::reports {

inline constexpr int kQuarterHours = 96;
inline constexpr int kQuarterSeconds = 900;

// A day on real time: the UTC instants whose local clock reads that day, cut
// into clock quarters. A clock quarter is every instant whose local time lies
// in [hh:mm, hh:mm + 15 min); it lasts 900 s on an ordinary day, 1800 s when
// an autumn night repeats it and 0 s when a spring night skips it.
class DayClock {
public:
    DayClock(const QDate& day, const QTimeZone& zone);

    // The first instant of the day and the first one after it (UTC seconds).
    [[nodiscard]] std::int64_t start() const { return start_; }
    [[nodiscard]] std::int64_t end() const { return end_; }
    // The real length of each clock quarter, in seconds.
    [[nodiscard]] const std::array<qint64, kQuarterHours>& realSeconds() const {
        return realSeconds_;
    }
    // The real seconds of [from, to) that fall on the day, quarter by quarter:
    // add(quarter, seconds) for each piece, in time order.
    template <typename Add> void spread(std::int64_t from, std::int64_t to, Add&& add) const {
        from = std::max(from, start_);
        to = std::min(to, end_);
        if (from >= to)
            return;
        auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), from,
                                      [](std::int64_t t, const Piece& p) { return t < p.from; });
        if (piece != pieces_.begin())
            --piece;
        for (; piece != pieces_.end() && piece->from < to; ++piece) {
            const std::int64_t a = std::max(from, piece->from);
            const std::int64_t b = std::min(to, piece->to);
            if (a < b)
                add(piece->quarter, b - a);
        }
    }
    // The clock quarter an instant of the day falls in; -1 off the day.
    [[nodiscard]] int quarterAt(std::int64_t utc) const;

private:
    struct Piece {
        std::int64_t from; // UTC, inclusive
        std::int64_t to;   // UTC, exclusive
        int quarter;
    };
    std::vector<Piece> pieces_; // in time order, never overlapping
    std::array<qint64, kQuarterHours> realSeconds_{};
    std::int64_t start_ = 0;
    std::int64_t end_ = 0;
};

} // namespace tarrow::reports
