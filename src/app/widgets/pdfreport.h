#pragma once

#include "app/reportfiles.h"
#include "platform/result.h"
#include "reports/history/historyoutput.h"

#include <QString>

namespace tarrow::app {

// The management report as an A4 PDF: the capacity verdict and its chart
// first, then each report's chart and summary table (split over pages with
// the header row repeated), every page with a footer naming the day, the page
// and the tool's version. Text stays text and charts stay drawings. Written
// through the atomic save, so a failure leaves any older file whole.
// A history run, when given, closes the report with its own page.
using PdfHistory = reports::HistoryRun;
platform::Result writePdfReport(const ComputedReports& reports, const QString& path,
                                const PdfHistory* history = nullptr);

// "TarrowReport_<M>_<D>_<YYYY>.pdf".
[[nodiscard]] QString pdfReportFileName(const QDate& day);

} // namespace tarrow::app
