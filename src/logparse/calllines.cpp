#include "logparse/calllines.h"

#include <algorithm>

namespace tarrow::logparse {

namespace {

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
    if (line.port < 0)
        return; // no port of a table
    CallLine& last = atPort(lastBefore, line.port);
    if (last.type == 0 || line.utc >= last.utc)
        last = line;
}

void DayEdges::after(const CallLine& line) {
    if (line.port < 0)
        return;
    CallLine& first = atPort(firstAfter, line.port);
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
    if (!lines.empty())
        files_.push_back(std::move(lines));
    edges_.merge(edges);
}

DayLines DayLinesBuilder::finish() {
    return orderDayLines(std::move(files_), edges_);
}

DayLines orderDayLines(std::vector<CallLine> lines, const DayEdges& edges) {
    std::vector<std::vector<CallLine>> files;
    files.push_back(std::move(lines));
    return orderDayLines(std::move(files), edges);
}

DayLines orderDayLines(std::vector<std::vector<CallLine>> files, const DayEdges& edges) {
    DayLines day{sortedLines(edges.lastBefore), {}, sortedLines(edges.firstAfter)};
    std::size_t total = 0;
    for (std::vector<CallLine>& file : files) {
        if (!std::is_sorted(file.begin(), file.end(), byInstant))
            std::stable_sort(file.begin(), file.end(), byInstant);
        total += file.size();
    }
    if (files.size() == 1) {
        day.lines = std::move(files.front());
        return day;
    }
    // Each file is in order: take the earliest head each time, the first
    // file's on equal instants. A day has a few files, so a scan of the heads
    // is enough.
    day.lines.reserve(total);
    std::vector<std::size_t> next(files.size(), 0);
    while (day.lines.size() < total) {
        std::size_t from = files.size();
        for (std::size_t f = 0; f < files.size(); ++f)
            if (next[f] < files[f].size() &&
                (from == files.size() || files[f][next[f]].utc < files[from][next[from]].utc))
                from = f;
        day.lines.push_back(files[from][next[from]++]);
    }
    return day;
}

} // namespace tarrow::logparse
