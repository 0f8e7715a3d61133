#include "logparse/parselogfile.h"

#include "logparse/utctolocal.h"
#include "platform/civiltime.h"

#include <algorithm>
#include <cstring>

namespace tarrow::logparse {

namespace {

constexpr qint64 kProgressEvery = 16384;

bool equalsUpper(std::string_view field, std::string_view upper) {
    if (field.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

bool isCallEventCode(std::string_view code) {
    return code == "1162" || code == "1163" || code == "1164" || code == "30300" || code == "1165";
}

// Call type of an event text, or 0 for a text that is not a call event.
std::int16_t classify(std::string_view text) {
    if (equalsUpper(text, store::kDisconnectEventText))
        return store::Disconnect;
    for (const store::CallTypeInfo& type : store::kCallTypes)
        if (equalsUpper(text, type.eventText))
            return type.type;
    return 0;
}

// Walks the lines of a text in one pass over its bytes, handing each line's
// first N comma-separated fields and the number of fields it has (counted up
// to N + 1). CR, CR LF and LF end a line.
template <std::size_t N, typename Fn> void forEachLine(std::string_view bytes, Fn&& fn) {
    std::array<std::string_view, N> fields;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        std::size_t count = 0;
        const char* start = p;
        for (; p < end; ++p) {
            const char c = *p;
            if (c == ',') {
                if (count < N)
                    fields[count] = std::string_view(start, static_cast<std::size_t>(p - start));
                count += count <= N ? 1 : 0;
                start = p + 1;
            } else if (c == '\n' || c == '\r') {
                break;
            }
        }
        if (count < N)
            fields[count] = std::string_view(start, static_cast<std::size_t>(p - start));
        fn(fields, count + 1);
        if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        ++p;
    }
}

struct LineFields {
    std::int16_t port = 0;
    std::int16_t inUse = 0;
    std::int16_t available = 0;
};

// Reads the port token and the two line counts; records a problem when the line
// cannot be used (problems may be null for lines of other days, which are
// not the day's problems).
std::optional<LineFields> readCallFields(const std::array<std::string_view, 7>& f,
                                         ProblemLog* problems, const QString& file, qint64 line) {
    const auto fail = [&](ProblemKind kind) {
        if (problems)
            problems->add(kind, file, line);
        return std::nullopt;
    };
    if (f[4].size() < 4)
        return fail(ProblemKind::ShortPortToken);
    const auto port = readInt16(f[4].substr(4));
    const auto inUse = readInt16(f[5]);
    const auto available = readInt16(f[6]);
    if (!port || !inUse || !available)
        return fail(ProblemKind::NumberTooLarge);
    if (*port < 0)
        return fail(ProblemKind::NegativePort);
    return LineFields{*port, *inUse, *available};
}

CallLine callLine(std::int64_t utc, const LineFields& fields, std::int16_t type) {
    return CallLine{utc, fields.port, fields.available, fields.inUse,
                    static_cast<std::int8_t>(type)};
}

// A port's open call leg: its row, and the UTC instant it started, so that its
// length is true across a change of the clock.
struct OpenLeg {
    std::int32_t row = -1;
    std::int64_t utcStart = 0;
};

// Adds a call start as an open leg of its port, or closes the port's open leg
// with a disconnect and adds the disconnect as a sample; a disconnect without
// an open leg is not kept.
void recordEvent(ParseResult& result, std::vector<OpenLeg>& openLeg, const LineFields& fields,
                 std::int16_t type, int secondOfDay, std::int64_t utc) {
    store::RawRow row;
    row.startSecond = secondOfDay;
    row.port = fields.port;
    row.callType = static_cast<std::int8_t>(type);
    row.linesAvailable = fields.available;
    row.linesInUse = fields.inUse;
    OpenLeg& open = atPort(openLeg, fields.port);
    if (type == store::Disconnect) {
        if (open.row < 0)
            return;
        store::RawRow& leg = result.rows[static_cast<std::size_t>(open.row)];
        leg.closed = true;
        leg.endSecond = row.startSecond;
        // The time between the two instants, not between the two local clock
        // readings: a call across a clock change keeps its real length.
        leg.seconds = static_cast<std::int32_t>(utc - open.utcStart);
        open.row = -1;
        result.rows.push_back(row);
        return;
    }
    ++result.calls[store::typeIndex(type)];
    open = {static_cast<std::int32_t>(result.rows.size()), utc};
    result.rows.push_back(row);
    result.peakPort = std::max(result.peakPort, fields.port);
    result.peakAvailable = std::max(result.peakAvailable, fields.available);
}

} // namespace

void LineCounter::add(const char* data, std::size_t size) {
    // One branch-free pass the compiler turns into vector instructions.
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    qint64 lines = 0;
    for (std::size_t i = counted_; i + 1 < size; ++i)
        lines += static_cast<qint64>((b[i] == '\n') | ((b[i] == '\r') & (b[i + 1] != '\n')));
    ends_ += lines;
    counted_ = size > 0 ? size - 1 : 0;
}

qint64 countLines(std::string_view bytes) {
    LineCounter counter;
    counter.add(bytes.data(), bytes.size());
    return counter.lines(bytes.size());
}

namespace {

// The line loop of every parse, written once. `dayOf(local)` gives the result
// and open legs of the day a line's local time falls on, or nulls for a line
// of another day; `fileProblem` records what concerns the whole file.
template <typename DayOf, typename FileProblem, typename Edge>
void parseLines(std::string_view bytes, const ParseOptions& options, qint64 lineCount,
                DayOf&& dayOf, FileProblem&& fileProblem, Edge&& edge) {
    if (options.counted)
        options.counted(lineCount);
    UtcToLocal toLocal(options.zone);
    qint64 lineNo = 0;
    forEachLine<7>(bytes, [&](const std::array<std::string_view, 7>& f, std::size_t fieldCount) {
        ++lineNo;
        if (options.progress && lineNo % kProgressEvery == 0)
            options.progress(lineNo);
        if (fieldCount < 7)
            return;
        const auto utc = readDateTime(f[0], options.dateOrder);
        if (!utc) {
            fileProblem(ProblemKind::NotADate, lineNo);
            return;
        }
        const std::int64_t local = toLocal(*utc);
        const std::int64_t day = civil::dayOf(local);
        const auto [result, openLeg] = dayOf(day);
        if (!isCallEventCode(f[2]))
            return;
        const std::int16_t type = classify(f[3]);
        if (!result) {
            // A line of another day still tells where legs and line counts
            // stand around the day.
            if (type == 0)
                return;
            if (const auto fields = readCallFields(f, nullptr, options.fileName, lineNo))
                edge(day, callLine(*utc, *fields, type));
            return;
        }
        if (type == 0) {
            // Other events of these codes only move the data date on.
            result->lastEventTime = local;
            return;
        }
        const auto fields = readCallFields(f, &result->problems, options.fileName, lineNo);
        if (!fields)
            return;
        result->lastEventTime = local;
        recordEvent(*result, *openLeg, *fields, type, civil::secondOfDay(local), *utc);
        result->callLines.push_back(callLine(*utc, *fields, type));
        edge(day, result->callLines.back());
    });
    if (options.progress)
        options.progress(lineCount);
}

using DayParts = std::pair<ParseResult*, std::vector<OpenLeg>*>;

// Adds a line of day `day` to the edges of the day `of`.
void addEdge(DayEdges& edges, std::int64_t of, std::int64_t day, const CallLine& line) {
    if (day < of)
        edges.before(line);
    else if (day > of)
        edges.after(line);
}

} // namespace

ParseResult ParseLogFile(std::string_view bytes, const ParseOptions& options) {
    ParseResult result;
    result.lineCount = options.knownLines >= 0 ? options.knownLines : countLines(bytes);
    if (result.lineCount > kMaxLinesPerFile) {
        result.tooManyLines = true;
        result.problems.add(ProblemKind::TooManyLines, options.fileName, 0);
        return result;
    }
    std::vector<OpenLeg> openLeg(256);
    result.rows.reserve(static_cast<std::size_t>(result.lineCount));
    result.callLines.reserve(static_cast<std::size_t>(result.lineCount));
    parseLines(
        bytes, options, result.lineCount,
        [&](std::int64_t day) {
            return day == options.chosenDay ? DayParts{&result, &openLeg}
                                            : DayParts{nullptr, nullptr};
        },
        [&](ProblemKind kind, qint64 line) { result.problems.add(kind, options.fileName, line); },
        [&](std::int64_t day, const CallLine& line) {
            addEdge(result.edges, options.chosenDay, day, line);
        });
    return result;
}

std::vector<ParseResult> ParseLogFileDays(std::string_view bytes, const ParseOptions& options,
                                          int dayCount) {
    const auto days = static_cast<std::size_t>(std::max(dayCount, 1));
    std::vector<ParseResult> results(days);
    const qint64 lineCount = options.knownLines >= 0 ? options.knownLines : countLines(bytes);
    for (ParseResult& result : results)
        result.lineCount = lineCount;
    // What concerns the whole file is told in each day's result, as a parse
    // of that day alone would tell it.
    const auto fileProblem = [&](ProblemKind kind, qint64 line) {
        for (ParseResult& result : results)
            result.problems.add(kind, options.fileName, line);
    };
    if (lineCount > kMaxLinesPerFile) {
        for (ParseResult& result : results)
            result.tooManyLines = true;
        fileProblem(ProblemKind::TooManyLines, 0);
        return results;
    }
    // Each day pairs its own call legs: a disconnect on the next day does not
    // close a leg of this one.
    std::vector<std::vector<OpenLeg>> openLegs(days, std::vector<OpenLeg>(256));
    parseLines(
        bytes, options, lineCount,
        [&](std::int64_t day) {
            const std::int64_t offset = day - options.chosenDay;
            if (offset < 0 || offset >= static_cast<std::int64_t>(days))
                return DayParts{nullptr, nullptr};
            const auto i = static_cast<std::size_t>(offset);
            return DayParts{&results[i], &openLegs[i]};
        },
        fileProblem,
        [&](std::int64_t day, const CallLine& line) {
            for (std::size_t i = 0; i < days; ++i)
                addEdge(results[i].edges, options.chosenDay + static_cast<std::int64_t>(i), day,
                        line);
        });
    return results;
}

} // namespace tarrow::logparse
