#pragma once

#include "logparse/calllines.h"
#include "logparse/problems.h"
#include "store/calltypes.h"
#include "store/rawportdata.h"

#include <QDateTime>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <vector>

namespace tarrow::load {

// One loaded day as every report reads it: RawPortData's rows in stored order
// and what the load counted. It is a value: the rows are stored in RawPortData
// too, but nothing keeps the two in step after the load that made both.
struct LoadedDay {
    std::vector<store::RawRow> rows;
    std::array<qint64, store::kCallTypeCount> calls{}; // call starts by call type
    // The highest port and lines-available value of any call start since the
    // program started: they only ever rise from one load to the next.
    std::int16_t peakPort = 0;
    std::int16_t peakAvailable = 0;
    // The local time of the last line kept, or the start-up time when no load
    // has found one.
    QDateTime dataDate = QDateTime::currentDateTime();
    logparse::ProblemLog problems;
    // The day loaded (invalid before the first load) and the zone its lines
    // were read in, and its call lines on real time, the lines around it
    // included, for the figures that follow calls across midnight and clock
    // changes.
    QDate day;
    QTimeZone zone;
    logparse::DayLines lines;

    [[nodiscard]] qint64 totalCalls() const {
        qint64 total = 0;
        for (qint64 n : calls)
            total += n;
        return total;
    }

    // A day with no rows that carries over what the next load goes on from:
    // the peaks and the data date.
    [[nodiscard]] LoadedDay carriedOver() const {
        LoadedDay next;
        next.peakPort = peakPort;
        next.peakAvailable = peakAvailable;
        next.dataDate = dataDate;
        return next;
    }
};

} // namespace tarrow::load
