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
        if (ordinary_) {
            // Every quarter is 900 real seconds in a row from the start.
            for (std::int64_t t = from; t < to;) {
                const auto quarter = static_cast<int>((t - start_) / kQuarterSeconds);
                const std::int64_t stop =
                    std::min(to, start_ + (quarter + 1) * std::int64_t{kQuarterSeconds});
                add(quarter, stop - t);
                t = stop;
            }
            return;
        }
        // No piece is longer than a quarter: the piece at the start of the
        // quarter-long stretch holding `from` is at most a few pieces before it.
        auto piece = pieces_.begin() +
                     firstPiece_[static_cast<std::size_t>((from - start_) / kQuarterSeconds)];
        while (piece->to <= from)
            ++piece;
        for (; piece != pieces_.end() && piece->from < to; ++piece) {
            const std::int64_t a = std::max(from, piece->from);
            const std::int64_t b = std::min(to, piece->to);
            if (a < b)
                add(piece->quarter, b - a);
        }
    }

private:
    struct Piece {
        std::int64_t from; // UTC, inclusive
        std::int64_t to;   // UTC, exclusive
        int quarter;
    };
    std::vector<Piece> pieces_; // in time order, never overlapping
    // For each quarter-long stretch of real time from the start, the first
    // piece that ends after the stretch begins.
    std::vector<std::uint32_t> firstPiece_;
    std::array<qint64, kQuarterHours> realSeconds_{};
    std::int64_t start_ = 0;
    std::int64_t end_ = 0;
    bool ordinary_ = false; // no clock change: 96 quarters of 900 s in a row
};

} // namespace tarrow::reports
