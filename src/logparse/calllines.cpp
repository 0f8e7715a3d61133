#include "logparse/calllines.h"

#include <algorithm>

namespace tarrow::logparse {

namespace {

CallLine& slot(std::vector<CallLine>& byPort, std::int16_t port) {
    const auto p = static_cast<std::size_t>(port);
    if (p >= byPort.size())
        byPort.resize(
            std::max<std::size_t>(p + 1, std::min<std::size_t>(2 * byPort.size(), 32768)));
    return byPort[p];
}

bool byInstant(const CallLine& a, const CallLine& b) {
    return a.utc < b.utc;
}

std::vector<CallLine> sortedLines(const std::vector<CallLine>& byPort) {
    std::vector<CallLine> out;
    for (const CallLine& line : byPort)
        if (line.type != 0)
            out.push_back(line);
    std::stable_sort(out.begin(), out.end(), byInstant);
    return out;
}

} // namespace

void DayEdges::before(const CallLine& line) {
    CallLine& last = slot(lastBefore, line.port);
    if (last.type == 0 || line.utc >= last.utc)
        last = line;
}

void DayEdges::after(const CallLine& line) {
    CallLine& first = slot(firstAfter, line.port);
    if (first.type == 0 || line.utc < first.utc)
        first = line;
}

void DayEdges::merge(const DayEdges& other) {
    for (const CallLine& line : other.lastBefore)
        if (line.type != 0)
            before(line);
    for (const CallLine& line : other.firstAfter)
        if (line.type != 0)
            after(line);
}

void DayLinesBuilder::add(std::vector<CallLine>&& lines, const DayEdges& edges) {
    if (lines_.empty())
        lines_ = std::move(lines);
    else
        lines_.insert(lines_.end(), lines.begin(), lines.end());
    edges_.merge(edges);
}

DayLines DayLinesBuilder::finish() {
    return orderDayLines(std::move(lines_), edges_);
}

DayLines orderDayLines(std::vector<CallLine> lines, const DayEdges& edges) {
    if (!std::is_sorted(lines.begin(), lines.end(), byInstant))
        std::stable_sort(lines.begin(), lines.end(), byInstant);
    return {sortedLines(edges.lastBefore), std::move(lines), sortedLines(edges.firstAfter)};
}

} // namespace tarrow::logparse
