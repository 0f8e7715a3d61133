#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarrow::logparse {

// One call line as the server wrote it, on real time: a call start (types 1 to
// 5) or a disconnect (99), at its UTC instant, with the server's own counts.
// The capacity figures pair legs and hold line counts on these, across files
// and across midnight, without touching the stored rows.
struct CallLine {
    std::int64_t utc = 0; // seconds since 1970, UTC
    std::int16_t port = 0;
    std::int16_t available = 0; // LinesAvailableToTakeCalls
    std::int16_t inUse = 0;     // LinesInUse
    std::int8_t type = 0;       // 1 to 5, 99 for a disconnect; 0 for none
};
static_assert(sizeof(CallLine) == 16);

// The entry of a table kept by port number (0 to 32767). The table grows to
// the highest port met, doubling, so a day of a few ports does not clear room
// for all 32,768.
template <typename T> T& atPort(std::vector<T>& table, std::int16_t port) {
    const auto p = static_cast<std::size_t>(port);
    if (p >= table.size())
        table.resize(std::max<std::size_t>(p + 1, std::min<std::size_t>(2 * table.size(), 32768)));
    return table[p];
}

// What a file holds around one day: for each port, its last call line before
// the day and its first call line after it (type 0 where there is none). That
// is all that decides the legs open at either midnight and the line counts
// that hold across them.
struct DayEdges {
    std::vector<CallLine> lastBefore; // indexed by port
    std::vector<CallLine> firstAfter; // indexed by port

    void before(const CallLine& line);
    void after(const CallLine& line);
    // Takes another file's edges in: the later line before, the earlier line
    // after; on equal instants the file later in folder order comes later.
    void merge(const DayEdges& other);
};

// The call lines of a loaded day on real time: the lines whose local day is
// the day, and the edges around it, each in UTC order.
struct DayLines {
    std::vector<CallLine> before; // the last line of each port before the day
    std::vector<CallLine> lines;  // the day's own lines
    std::vector<CallLine> after;  // the first line of each port after the day
};

// Gathers the call lines and edges of a day's files, in folder order.
class DayLinesBuilder {
public:
    void add(std::vector<CallLine>&& lines, const DayEdges& edges);
    // The day's lines in UTC order (see orderDayLines).
    [[nodiscard]] DayLines finish();

private:
    std::vector<std::vector<CallLine>> files_; // each file's lines, in folder order
    DayEdges edges_;
};

// Puts the day's lines in UTC order (a stable sort, only when they are not
// already) and turns the edges into their sorted lists. Lines of several files
// are merged, a file earlier in folder order first on equal instants.
[[nodiscard]] DayLines orderDayLines(std::vector<CallLine> lines, const DayEdges& edges);
[[nodiscard]] DayLines orderDayLines(std::vector<std::vector<CallLine>> files,
                                     const DayEdges& edges);

} // namespace tarrow::logparse
