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
// Times are local wall-clock seconds (see platform/civiltime.h).
struct RawRow {
    std::int16_t port = 0;
    std::int16_t callType = 0;
    std::int64_t startTime = 0;
    std::int16_t linesAvailable = 0;
    std::int16_t linesInUse = 0;
    std::int16_t startMinute = 0;
    bool closed = false; // a closed call leg has the three end columns set
    std::int64_t endTime = 0;
    std::int32_t seconds = 0;
    std::int32_t endMinute = 0;
};

// Appends the rows in order, in one transaction; nothing is written when it
// fails. stored, when given, hears now and then how many rows are written so far.
platform::Result appendRawRows(WorkingDatabase& wdb, const std::vector<RawRow>& rows,
                               const std::function<void(std::size_t)>& stored = {});

// Writes a table in stored order as CSV: a header of the column names, then
// one line per row, nulls as empty fields (RawPortData times read
// "YYYY-MM-DD HH:MM:SS"), through the atomic save.
platform::Result writeTableCsv(WorkingDatabase& wdb, const QString& table, const QString& path);

} // namespace tarrow::store
