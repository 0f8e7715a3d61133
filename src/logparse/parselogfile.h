#pragma once

#include "logparse/calllines.h"
#include "logparse/fieldreaders.h"
#include "logparse/problems.h"
#include "store/rawportdata.h"

#include <QString>
#include <QTimeZone>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tarrow::logparse {

inline constexpr qint64 kMaxLinesPerFile = 1'000'000;

struct ParseOptions {
    std::int64_t chosenDay = 0;                    // days since 1970-01-01 of the day to keep
    QTimeZone zone;                                // the local zone that UTC log times convert to
    DateOrder dateOrder = DateOrder::MonthDayYear; // the locale's short-date order
    QString fileName;                              // for problem places
    // The file's line count when its reader counted them already (else -1).
    qint64 knownLines = -1;
    // Called once with the file's line count, before its lines are read.
    std::function<void(qint64)> counted;
    // Called now and then with the number of lines read so far.
    std::function<void(qint64)> progress;
};

// What one log file contributed to the loaded day.
struct ParseResult {
    std::vector<store::RawRow> rows;           // appended in log order
    std::array<qint64, 5> calls{};             // call starts by call type 1 to 5
    std::int16_t peakPort = 0;                 // highest port of a call start (0 when none)
    std::int16_t peakAvailable = 0;            // highest lines-available value of a call start
    std::optional<std::int64_t> lastEventTime; // local time of the last line kept
    qint64 lineCount = 0;
    bool tooManyLines = false; // over the limit: nothing of the file is kept
    ProblemLog problems;
    // Every call line of the day on real time, in file order, the disconnects
    // that close no leg of this file included; and the file's lines around the day.
    std::vector<CallLine> callLines;
    DayEdges edges;
};

// Counts lines as bytes arrive, piece by piece: every LF ends a line, and
// every CR that no LF follows; a last line without an ending counts too. The
// last byte seen waits for the next piece, which tells what follows it.
class LineCounter {
public:
    // `size` bytes from `data` are the file so far (earlier pieces included).
    void add(const char* data, std::size_t size);
    [[nodiscard]] qint64 lines(std::size_t size) const { return size == 0 ? 0 : ends_ + 1; }

private:
    std::size_t counted_ = 0;
    qint64 ends_ = 0;
};

// Number of lines in a text; CR, CR LF and LF each end a line, and a last line
// without an ending counts too.
[[nodiscard]] qint64 countLines(std::string_view bytes);

// Turns the bytes of one log file into call legs and disconnect samples of the
// chosen day. A call leg is closed by the next disconnect of its port within the
// same file; lines that cannot be read are skipped and recorded as problems.
[[nodiscard]] ParseResult ParseLogFile(std::string_view bytes, const ParseOptions& options);

// The same for `dayCount` days in a row from the chosen day, in one pass over
// the bytes: element i is what ParseLogFile gives for the chosen day + i.
[[nodiscard]] std::vector<ParseResult> ParseLogFileDays(std::string_view bytes,
                                                        const ParseOptions& options, int dayCount);

} // namespace tarrow::logparse
