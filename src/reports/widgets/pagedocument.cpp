#include "reports/widgets/pagedocument.h"

#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace tarrow::reports {

namespace {

// Page geometry in points (the device works at 72 dots per inch).
constexpr double kMargin = 42.0;
constexpr double kFooterSpace = 34.0;
// A chart is drawn at the size of a report window's chart and scaled.
constexpr QSize kChartPixels(700, 420);

const QColor kWarningColour(180, 20, 20);

// Each column as wide as in the grid (twips are twentieths of a point), its
// header or its widest cell, narrowed together when the page is too narrow.
std::vector<double> columnWidths(const SummaryTable& table, const QFontMetricsF& header,
                                 const QFontMetricsF& cell, double pageWidth) {
    std::vector<double> widths;
    for (const SummaryColumn& column : table.layout.columns) {
        // A header wraps at its blanks, so its longest word is what must fit.
        double word = 0;
        for (const QString& part : column.header.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            word = std::max(word, header.horizontalAdvance(part));
        widths.push_back(std::max(column.widthTwips / 20.0, word + 8));
    }
    for (const QStringList& cells : table.rows)
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(
                widths[c],
                cell.horizontalAdvance(cells.value(static_cast<qsizetype>(c)).trimmed()) + 8);
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (total > pageWidth)
        for (double& width : widths)
            width *= pageWidth / total;
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

} // namespace

QFont pageFace(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without shaping there are no ligatures, so "Traffic" is found and
    // copied as the letters it is, not with an "ffi" sign.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

PageDocument::PageDocument(QPagedPaintDevice& device, QPainter& painter, QString footer)
    : device_(device), painter_(painter), footer_(std::move(footer)), pageWidth_(device.width()),
      pageHeight_(device.height()), contentWidth_(pageWidth_ - 2 * kMargin),
      contentBottom_(pageHeight_ - kMargin - kFooterSpace), y_(kMargin) {}

void PageDocument::finishPage() {
    painter_.setFont(pageFace(8));
    painter_.setPen(Qt::darkGray);
    const QRectF line(kMargin, pageHeight_ - kMargin - 12, contentWidth_, 12);
    painter_.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, footer_);
    painter_.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                      QStringLiteral("Page %1").arg(page_));
    painter_.setPen(Qt::black);
}

bool PageDocument::newPage() {
    if (!ok_)
        return false;
    finishPage();
    ok_ = device_.newPage();
    ++page_;
    y_ = kMargin;
    return ok_;
}

void PageDocument::text(const QString& line, const QFont& font, const QColor& colour) {
    if (!ok_)
        return;
    painter_.setFont(font);
    painter_.setPen(colour);
    const QFontMetricsF metrics(font, &device_);
    const QRectF box = metrics.boundingRect(QRectF(kMargin, y_, contentWidth_, pageHeight_),
                                            Qt::TextWordWrap, line);
    if (!fits(box.height()))
        newPage();
    painter_.drawText(QRectF(kMargin, y_, contentWidth_, box.height()), Qt::TextWordWrap, line);
    painter_.setPen(Qt::black);
    y_ += box.height() + 4;
}

void PageDocument::block(double height, const std::function<void(QPainter&, const QRectF&)>& draw) {
    if (!fits(height))
        newPage();
    if (!ok_)
        return;
    draw(painter_, QRectF(kMargin, y_, contentWidth_, height));
    y_ += height + 10;
}

double PageDocument::chartHeight() const {
    // On a landscape page the chart leaves room above it for a verdict.
    return std::min(contentWidth_ * kChartPixels.height() / kChartPixels.width(),
                    (contentBottom_ - kMargin) * 0.6);
}

void PageDocument::chart(const charts::ChartModel& model) {
    const auto drawn = charts::offscreenChart(model, kChartPixels);
    block(chartHeight(),
          [&](QPainter& painter, const QRectF& area) { drawn->renderVector(painter, area); });
}

void PageDocument::verdict(const QList<VerdictLine>& lines) {
    for (const VerdictLine& line : lines)
        text(line.label + QStringLiteral(": ") + line.value, pageFace(9),
             line.warning ? kWarningColour : QColor(Qt::black));
    advance(6);
}

void PageDocument::tableRow(const QStringList& cells, const std::vector<double>& widths,
                            bool header, double height) {
    const QFont font = pageFace(7.5, header);
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    const QRectF row(kMargin, y_, std::min(total, contentWidth_), height);
    if (header)
        painter_.fillRect(row, QColor(225, 228, 235));
    painter_.setFont(font);
    const QFontMetricsF metrics(font, &device_);
    double x = kMargin;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const QRectF cell(x + 2, y_, widths[c] - 4, height);
        const QString text = cells.value(static_cast<qsizetype>(c)).trimmed();
        if (header)
            painter_.drawText(cell, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
        else
            painter_.drawText(cell, Qt::AlignVCenter | Qt::AlignRight,
                              metrics.elidedText(text, Qt::ElideRight, cell.width()));
        x += widths[c];
    }
    painter_.setPen(QColor(200, 200, 200));
    painter_.drawLine(QPointF(row.left(), row.bottom()), QPointF(row.right(), row.bottom()));
    painter_.setPen(Qt::black);
    y_ += height;
}

void PageDocument::table(const SummaryTable& table) {
    if (table.layout.columns.isEmpty() || !ok_)
        return;
    const QFontMetricsF body(pageFace(7.5), &device_);
    const QFontMetricsF bold(pageFace(7.5, true), &device_);
    const std::vector<double> widths = columnWidths(table, bold, body, contentWidth_);
    const double rowHeight = body.height() + 3;
    QStringList headers;
    for (const SummaryColumn& column : table.layout.columns)
        headers << column.header;
    // Headers wrap within their columns rather than being cut ("Inbound Call
    // Seconds" in a narrow column): the header row is as high as its tallest.
    const double headerHeight = std::max(rowHeight, wrappedHeight(headers, widths, bold) + 3);
    if (!fits(headerHeight + rowHeight))
        newPage();
    if (!ok_)
        return;
    tableRow(headers, widths, true, headerHeight);
    for (const QStringList& cells : table.rows) {
        if (!fits(rowHeight)) {
            if (!newPage())
                return;
            tableRow(headers, widths, true, headerHeight);
        }
        tableRow(cells, widths, false, rowHeight);
    }
}

} // namespace tarrow::reports
