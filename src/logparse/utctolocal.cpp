#include "logparse/utctolocal.h"

#include "platform/civiltime.h"

#include <QDateTime>

namespace tarrow::logparse {

UtcToLocal::UtcToLocal(QTimeZone zone) : zone_(std::move(zone)) {}

int UtcToLocal::offsetAt(std::int64_t utcSeconds) const {
    return zone_.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, QTimeZone::utc()));
}

std::int64_t UtcToLocal::operator()(std::int64_t utcSeconds) {
    constexpr std::int64_t kQuarter = 900;
    const std::int64_t key = civil::floorDiv(utcSeconds, kQuarter);
    Slot& slot = cache_[static_cast<std::size_t>(key) & (cache_.size() - 1)];
    if (slot.key == key)
        return utcSeconds + slot.offset;
    const int first = offsetAt(key * kQuarter);
    const int last = offsetAt(key * kQuarter + kQuarter - 1);
    if (first != last)
        return utcSeconds + offsetAt(utcSeconds);
    slot = Slot{key, first};
    return utcSeconds + first;
}

} // namespace tarrow::logparse
