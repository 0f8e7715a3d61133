#pragma once

#include "reports/history/historyoutput.h"

class QPagedPaintDevice;

namespace tarrow::reports {

class PageDocument;

// A history run on pages of its own: its range, headline and verdict, its
// chart over the days, the weekday × hour heat map, then the days as a table
// over as many pages as it needs.
void drawHistoryPages(PageDocument& pages, const HistoryRun& run);

// The History window's print: the pages above as a document on the printer
// the user chose. Returns a message when the printer failed, else empty.
[[nodiscard]] QString printHistory(QPagedPaintDevice& printer, const HistoryRun& run);

} // namespace tarrow::reports
