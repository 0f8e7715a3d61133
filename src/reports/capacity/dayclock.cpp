#include "reports/capacity/dayclock.h"

#include "platform/civiltime.h"

#include <QDateTime>

namespace tarrow::reports {

namespace {

constexpr std::int64_t kDay = 86400;

QDateTime utcTime(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

} // namespace

DayClock::DayClock(const QDate& day, const QTimeZone& zone) {
    const std::int64_t midnight =
        day.isValid() ? civil::daysFromCivil(day.year(), day.month(), day.day()) * kDay : 0;
    // Every offset in force from two days before to two days after the day:
    // no zone is that far from UTC.
    const std::int64_t last = midnight + 3 * kDay;
    for (std::int64_t from = midnight - 2 * kDay; from < last;) {
        int offset = 0;
        std::int64_t to = last;
        if (zone.isValid()) {
            offset = zone.offsetFromUtc(utcTime(from));
            if (zone.hasTransitions()) {
                const QTimeZone::OffsetData next = zone.nextTransition(utcTime(from));
                if (next.atUtc.isValid())
                    to = std::clamp<std::int64_t>(next.atUtc.toSecsSinceEpoch(), from + 1, last);
            }
        }
        // The stretch [from, to) reads local times [from + offset, to + offset).
        const std::int64_t localFrom = std::max(from + offset, midnight);
        const std::int64_t localTo = std::min(to + offset, midnight + kDay);
        for (std::int64_t local = localFrom; local < localTo;) {
            const int quarter = static_cast<int>((local - midnight) / kQuarterSeconds);
            const std::int64_t quarterEnd =
                std::min(localTo, midnight + (quarter + 1) * std::int64_t{kQuarterSeconds});
            pieces_.push_back({local - offset, quarterEnd - offset, quarter});
            realSeconds_[static_cast<std::size_t>(quarter)] += quarterEnd - local;
            local = quarterEnd;
        }
        from = to;
    }
    std::sort(pieces_.begin(), pieces_.end(),
              [](const Piece& a, const Piece& b) { return a.from < b.from; });
    if (pieces_.empty())
        return;
    start_ = pieces_.front().from;
    end_ = pieces_.back().to;
    ordinary_ = pieces_.size() == kQuarterHours && end_ - start_ == 86400;
    std::uint32_t piece = 0;
    for (std::int64_t t = start_; t < end_; t += kQuarterSeconds) {
        while (pieces_[piece].to <= t)
            ++piece;
        firstPiece_.push_back(piece);
    }
}

} // namespace tarrow::reports
