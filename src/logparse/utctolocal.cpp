#include "logparse/utctolocal.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace tarrow::logparse {

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kAlways = std::numeric_limits<std::int64_t>::min();
// Far more stretches than sixty years of two changes a year; past it the
// kept ones are dropped and found again.
constexpr std::size_t kMostKept = 4096;

QDateTime utc(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

} // namespace

UtcToLocal::UtcToLocal(QTimeZone zone) : zone_(std::move(zone)) {}

const UtcToLocal::Stretch& UtcToLocal::stretchAt(std::int64_t t) {
    if (last_ < stretches_.size() && stretches_[last_].from <= t && t < stretches_[last_].to)
        return stretches_[last_];
    auto it = std::upper_bound(stretches_.begin(), stretches_.end(), t,
                               [](std::int64_t v, const Stretch& s) { return v < s.from; });
    if (it != stretches_.begin() && t < std::prev(it)->to) {
        last_ = static_cast<std::size_t>(std::prev(it) - stretches_.begin());
        return stretches_[last_];
    }
    // The stretch holding t: from the last transition at or before t to the
    // first one after it.
    Stretch found{kAlways, kNever, zone_.offsetFromUtc(utc(t))};
    if (zone_.hasTransitions()) {
        const QTimeZone::OffsetData before = zone_.previousTransition(utc(t + 1));
        const QTimeZone::OffsetData after = zone_.nextTransition(utc(t));
        if (before.atUtc.isValid())
            found.from = before.atUtc.toSecsSinceEpoch();
        if (after.atUtc.isValid())
            found.to = after.atUtc.toSecsSinceEpoch();
        // A zone's data may not reach t; then only t itself is known.
        if (found.from > t || found.to <= t) {
            found.from = t;
            found.to = t + 1;
        }
    }
    if (stretches_.size() >= kMostKept)
        stretches_.clear();
    it = std::upper_bound(stretches_.begin(), stretches_.end(), found.from,
                          [](std::int64_t v, const Stretch& s) { return v < s.from; });
    it = stretches_.insert(it, found);
    last_ = static_cast<std::size_t>(it - stretches_.begin());
    return stretches_[last_];
}

std::int64_t UtcToLocal::operator()(std::int64_t utcSeconds) {
    return utcSeconds + stretchAt(utcSeconds).offset;
}

} // namespace tarrow::logparse
