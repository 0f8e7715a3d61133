#include "app/widgets/pdfreport.h"

#include "platform/fileoutput.h"
#include "platform/isodate.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/history/widgets/historypages.h"
#include "reports/widgets/pagedocument.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace tarrow::app {

namespace {

using reports::PageDocument;
using reports::pageFace;

const ComputedReport* find(const ComputedReports& computed, reports::ReportId id) {
    for (const ComputedReport& report : computed.reports)
        if (report.entry->id == id)
            return &report;
    return nullptr;
}

// The history on pages of its own.
bool drawHistory(PageDocument& pages, const PdfHistory& history) {
    if (history.days.empty())
        return true;
    if (!pages.newPage())
        return false;
    reports::drawHistoryPages(pages, history);
    return pages.ok();
}

bool drawReport(PageDocument& pages, const ComputedReports& computed) {
    pages.text(QStringLiteral("Port usage report for %1")
                   .arg(QLocale().toString(computed.day, QLocale::LongFormat)),
               pageFace(16, true));
    // The report with a verdict leads the first page: the capacity verdict.
    const auto lead = std::find_if(
        computed.reports.begin(), computed.reports.end(),
        [](const ComputedReport& report) { return report.document.capacity != nullptr; });
    if (lead != computed.reports.end()) {
        const reports::CapacityFigures& figures = *lead->document.capacity;
        const reports::Sizing sizing = reports::sizeCapacity(figures, computed.sizing);
        pages.text(reports::capacityHeadline(figures, sizing), pageFace(13, true),
                   reports::verdictColour(sizing.verdict));
        pages.verdict(reports::capacityVerdict(figures, sizing));
        pages.chart(lead->document.chart);
    }
    // Every other report on pages of its own, in the order of the report table.
    for (const reports::ReportEntry& entry : reports::reportTable()) {
        const ComputedReport* report = find(computed, entry.id);
        if (!report || (lead != computed.reports.end() && report == &*lead))
            continue;
        if (!pages.newPage())
            return false;
        pages.text(report->entry->tabCaption, pageFace(14, true));
        pages.chart(report->document.chart);
        pages.table(report->document.summary);
    }
    return pages.ok();
}

} // namespace

QString pdfReportFileName(const QDate& day) {
    return platform::dateFileName(QStringLiteral("TarrowReport_"), day, QStringLiteral(".pdf"));
}

platform::Result writePdfReport(const ComputedReports& computed, const QString& path,
                                const PdfHistory* history) {
    return platform::saveDrawnAtomically(path, [&computed, history](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        writer.setTitle(
            QStringLiteral("Tarrow port usage report %1").arg(platform::isoDate(computed.day)));
        writer.setCreator(QStringLiteral("Tarrow " TARROW_VERSION_STRING));
        QPainter painter;
        if (!painter.begin(&writer))
            return platform::Result::failure(QStringLiteral("The PDF could not be started."));
        PageDocument pages(
            writer, painter,
            QStringLiteral("Tarrow %1 \u2014 %2")
                .arg(QStringLiteral(TARROW_VERSION_STRING), platform::isoDate(computed.day)));
        const bool drawn =
            drawReport(pages, computed) && (!history || drawHistory(pages, *history));
        if (drawn)
            pages.finishPage();
        if (!painter.end() || !drawn)
            return platform::Result::failure(QStringLiteral("The PDF could not be written."));
        return platform::Result();
    });
}

} // namespace tarrow::app
