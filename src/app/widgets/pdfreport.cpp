#include "app/widgets/pdfreport.h"

#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"
#include "platform/fileoutput.h"
#include "platform/isodate.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/history/historyoutput.h"
#include "reports/history/widgets/historychart.h"
#include "reports/history/widgets/historyheatmap.h"

#include <QChart>
#include <QChartView>

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>
#include <numeric>

namespace tarrow::app {

namespace {

// Red for a figure that says the ports fall short.
const QColor kWarningColour(180, 20, 20);

// Page geometry in points (the writer works at 72 dots per inch).
constexpr double kPageWidth = 595.0;
constexpr double kPageHeight = 842.0;
constexpr double kMargin = 42.0;
constexpr double kFooterSpace = 34.0;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kContentBottom = kPageHeight - kMargin - kFooterSpace;
// The chart is drawn at the size of a report window's chart and scaled.
constexpr QSize kChartPixels(700, 420);
constexpr double kChartHeight = kContentWidth * 420.0 / 700.0;

QFont face(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without shaping there are no ligatures, so "Traffic" is found and
    // copied as the letters it is, not with an "ffi" sign.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Pages with a running position, a footer on each and a page count.
class Pages {
public:
    Pages(QPdfWriter& writer, QPainter& painter, QString footer)
        : writer_(writer), painter_(painter), footer_(std::move(footer)) {}

    [[nodiscard]] double y() const { return y_; }
    void advance(double height) { y_ += height; }
    [[nodiscard]] bool fits(double height) const { return y_ + height <= kContentBottom; }

    void finishPage() {
        painter_.setFont(face(8));
        painter_.setPen(Qt::darkGray);
        painter_.drawText(QRectF(kMargin, kPageHeight - kMargin - 12, kContentWidth, 12),
                          Qt::AlignLeft | Qt::AlignVCenter, footer_);
        painter_.drawText(QRectF(kMargin, kPageHeight - kMargin - 12, kContentWidth, 12),
                          Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1").arg(page_));
        painter_.setPen(Qt::black);
    }
    bool newPage() {
        finishPage();
        if (!writer_.newPage())
            return false;
        ++page_;
        y_ = kMargin;
        return true;
    }

    // A line of text the width of the page; returns its height.
    void text(const QString& line, const QFont& font, const QColor& colour = Qt::black) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QFontMetricsF metrics(font, &writer_);
        const QRectF box = metrics.boundingRect(QRectF(kMargin, y_, kContentWidth, kPageHeight),
                                                Qt::TextWordWrap, line);
        painter_.drawText(QRectF(kMargin, y_, kContentWidth, box.height()), Qt::TextWordWrap, line);
        painter_.setPen(Qt::black);
        y_ += box.height() + 4;
    }

    QPainter& painter() { return painter_; }
    QPdfWriter& writer() { return writer_; }

private:
    QPdfWriter& writer_;
    QPainter& painter_;
    QString footer_;
    int page_ = 1;
    double y_ = kMargin;
};

// A drawing the width of the page and `height` high, on a new page when it
// does not fit on this one.
void drawBlock(Pages& pages, double height,
               const std::function<void(QPainter&, const QRectF&)>& draw) {
    if (!pages.fits(height))
        pages.newPage();
    draw(pages.painter(), QRectF(kMargin, pages.y(), kContentWidth, height));
    pages.advance(height + 10);
}

// A report's chart, drawn as lines and text into the next part of the page.
void drawChart(Pages& pages, const charts::ChartModel& model) {
    const auto chart = charts::offscreenChart(model, kChartPixels);
    drawBlock(pages, kChartHeight,
              [&](QPainter& painter, const QRectF& area) { chart->renderVector(painter, area); });
}

// Verdict lines, the warnings in red.
void drawVerdict(Pages& pages, const QList<reports::VerdictLine>& lines) {
    for (const reports::VerdictLine& line : lines)
        pages.text(line.label + QStringLiteral(": ") + line.value, face(9),
                   line.warning ? kWarningColour : QColor(Qt::black));
    pages.advance(6);
}

// A summary grid as a table: columns at their grid widths (narrowed to the
// page when wider), split over pages with the header row on each.
// Each column as wide as in the grid (twips are twentieths of a point), its
// header or its widest cell, narrowed together when the page is too narrow.
std::vector<double> columnWidths(const reports::SummaryTable& table, const QFontMetricsF& header,
                                 const QFontMetricsF& cell) {
    std::vector<double> widths;
    for (const reports::SummaryColumn& column : table.layout.columns)
        widths.push_back(std::max(column.widthTwips / 20.0,
                                  header.horizontalAdvance(column.header.trimmed()) + 8));
    for (const QStringList& cells : table.rows)
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(
                widths[c],
                cell.horizontalAdvance(cells.value(static_cast<qsizetype>(c)).trimmed()) + 8);
    double total = 0;
    for (const double width : widths)
        total += width;
    if (total > kContentWidth)
        for (double& width : widths)
            width *= kContentWidth / total;
    return widths;
}

// The height of the tallest text wrapped within its column.
double wrappedHeight(const QStringList& texts, const std::vector<double>& widths,
                     const QFontMetricsF& metrics) {
    double tallest = 0;
    for (std::size_t c = 0; c < widths.size(); ++c)
        tallest =
            std::max(tallest, metrics
                                  .boundingRect(QRectF(0, 0, widths[c] - 4, 1000), Qt::TextWordWrap,
                                                texts.value(static_cast<qsizetype>(c)).trimmed())
                                  .height());
    return tallest;
}

bool drawTable(Pages& pages, const reports::SummaryTable& table) {
    const auto& columns = table.layout.columns;
    if (columns.isEmpty())
        return true;
    const QFont body = face(7.5);
    const QFont bold = face(7.5, true);
    const std::vector<double> widths = columnWidths(table, QFontMetricsF(bold, &pages.writer()),
                                                    QFontMetricsF(body, &pages.writer()));
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    const double rowHeight = QFontMetricsF(body, &pages.writer()).height() + 3;
    QStringList headers;
    for (const reports::SummaryColumn& column : columns)
        headers << column.header;
    // Headers wrap within their columns rather than being cut ("Inbound Call
    // Seconds" in a narrow column): the header row is as high as its tallest.
    const double headerHeight = std::max(
        rowHeight, wrappedHeight(headers, widths, QFontMetricsF(bold, &pages.writer())) + 3);
    QPainter& p = pages.painter();
    const auto drawRow = [&](const QStringList& cells, bool header) {
        double x = kMargin;
        const double height = header ? headerHeight : rowHeight;
        const QRectF row(kMargin, pages.y(), std::min(total, kContentWidth), height);
        if (header)
            p.fillRect(row, QColor(225, 228, 235));
        p.setFont(header ? bold : body);
        const QFontMetricsF metrics(header ? bold : body, &pages.writer());
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell(x + 2, pages.y(), widths[c] - 4, height);
            const QString text = cells.value(static_cast<qsizetype>(c)).trimmed();
            if (header)
                p.drawText(cell, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
            else
                p.drawText(cell, Qt::AlignVCenter | Qt::AlignRight,
                           metrics.elidedText(text, Qt::ElideRight, cell.width()));
            x += widths[c];
        }
        p.setPen(QColor(200, 200, 200));
        p.drawLine(QPointF(row.left(), row.bottom()), QPointF(row.right(), row.bottom()));
        p.setPen(Qt::black);
        pages.advance(height);
    };
    if (!pages.fits(headerHeight + rowHeight) && !pages.newPage())
        return false;
    drawRow(headers, true);
    for (const QStringList& cells : table.rows) {
        if (!pages.fits(rowHeight)) {
            if (!pages.newPage())
                return false;
            drawRow(headers, true);
        }
        drawRow(cells, false);
    }
    return true;
}

const ComputedReport* find(const ComputedReports& computed, reports::ReportId id) {
    for (const ComputedReport& report : computed.reports)
        if (report.entry->id == id)
            return &report;
    return nullptr;
}

// The history's page: its verdict, its chart over the days and its heat map.
bool drawHistory(Pages& pages, const PdfHistory& history) {
    if (history.days.empty())
        return true;
    if (!pages.newPage())
        return false;
    pages.text(QStringLiteral("History from %1 to %2")
                   .arg(platform::isoDate(history.days.front().day),
                        platform::isoDate(history.days.back().day)),
               face(14, true));
    pages.text(reports::historyHeadline(history.summary), face(13, true),
               reports::historyColour(history.summary));
    drawVerdict(pages, reports::historyVerdict(history.summary));
    QChartView view(
        reports::historyChart(history.days, history.summary, reports::percentText(history.gos)));
    view.setRenderHint(QPainter::Antialiasing);
    charts::layOutOffscreen(view, kChartPixels);
    drawBlock(pages, kChartHeight, [&](QPainter& painter, const QRectF& area) {
        view.render(&painter, area, view.rect(), Qt::KeepAspectRatio);
    });
    drawBlock(pages, 190, [&](QPainter& painter, const QRectF& area) {
        // The heat map sizes its own text; the family is the report's.
        painter.setFont(face(7));
        reports::paintHeatMap(painter, area, history.summary.heatmap);
    });
    return true;
}

bool drawReport(Pages& pages, const ComputedReports& computed) {
    pages.text(QStringLiteral("Port usage report for %1")
                   .arg(QLocale().toString(computed.day, QLocale::LongFormat)),
               face(16, true));
    // The report with a verdict leads the first page: the capacity verdict.
    const auto lead = std::find_if(
        computed.reports.begin(), computed.reports.end(),
        [](const ComputedReport& report) { return report.document.capacity != nullptr; });
    if (lead != computed.reports.end()) {
        const reports::CapacityFigures& figures = *lead->document.capacity;
        const reports::Sizing sizing = reports::sizeCapacity(figures, computed.sizing);
        pages.text(reports::capacityHeadline(figures, sizing), face(13, true),
                   reports::verdictColour(sizing.verdict));
        drawVerdict(pages, reports::capacityVerdict(figures, sizing));
        drawChart(pages, lead->document.chart);
    }
    // Every other report on pages of its own, in the order of the report table.
    for (const reports::ReportEntry& entry : reports::reportTable()) {
        const ComputedReport* report = find(computed, entry.id);
        if (!report || (lead != computed.reports.end() && report == &*lead))
            continue;
        if (!pages.newPage())
            return false;
        pages.text(report->entry->tabCaption, face(14, true));
        drawChart(pages, report->document.chart);
        if (!drawTable(pages, report->document.summary))
            return false;
    }
    return true;
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
        Pages pages(
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
