#pragma once

#include "platform/result.h"
#include "store/calltypes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tarrow::store {

class WorkingDatabase;

// One row of RawPortData: a call leg (types 1 to 5) or a disconnect sample (99).
// Every row of a loaded day starts and ends on that day, so its times are kept
// as local seconds of the day (see platform/civiltime.h). A loaded day keeps
// hundreds of thousands of these in memory and every report reads them all,
// so the row is packed into 20 bytes.
struct RawRow {
    std::int32_t startSecond = 0; // StartTime
    std::int32_t endSecond = 0;   // EndTime, when closed
    std::int32_t seconds = 0;
    std::int16_t port = 0;
    std::int16_t linesAvailable = 0;
    std::int16_t linesInUse = 0;
    std::int8_t callType = 0;
    bool closed = false; // a closed call leg has the three end columns set

    [[nodiscard]] int startMinute() const { return startSecond / 60; }
    [[nodiscard]] int endMinute() const { return endSecond / 60; }
    // Local wall-clock seconds since 1970 of StartTime and EndTime, on day
    // dayNumber (days since 1970-01-01).
    [[nodiscard]] std::int64_t startTime(std::int64_t dayNumber) const {
        return dayNumber * 86400 + startSecond;
    }
    [[nodiscard]] std::int64_t endTime(std::int64_t dayNumber) const {
        return dayNumber * 86400 + endSecond;
    }
};
static_assert(sizeof(RawRow) == 20);

// Appends the rows of day dayNumber (days since 1970-01-01) in order, in one
// transaction; nothing is written when it fails. stored, when given, hears now
// and then how many rows are written so far, and answers whether to go on:
// when it says no, nothing is written and the result says "cancelled".
platform::Result appendRawRows(WorkingDatabase& wdb, std::int64_t dayNumber,
                               const std::vector<RawRow>& rows,
                               const std::function<bool(std::size_t)>& stored = {});

// Writes a table in stored order as CSV: a header of the column names, then
// one line per row, nulls as empty fields (RawPortData times read
// "YYYY-MM-DD HH:MM:SS"), through the atomic save.
platform::Result writeTableCsv(WorkingDatabase& wdb, const QString& table, const QString& path);

} // namespace tarrow::store
