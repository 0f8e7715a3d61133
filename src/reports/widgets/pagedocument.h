#pragma once

#include "charts/chartmodel.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/summarytable.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace tarrow::reports {

// A text face of the printed documents at a size in points.
[[nodiscard]] QFont pageFace(double points, bool bold = false);

// Pages of a printed document (a PDF or a printer set to 72 dots per inch):
// a running position, a footer with the page number on each page, and the
// blocks a report is made of. A failed new page is remembered, and every later
// drawing call does nothing, so a caller checks `ok()` once at the end.
class PageDocument {
public:
    PageDocument(QPagedPaintDevice& device, QPainter& painter, QString footer);

    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] double width() const { return contentWidth_; }
    [[nodiscard]] double y() const { return y_; }
    [[nodiscard]] bool fits(double height) const { return y_ + height <= contentBottom_; }
    void advance(double height) { y_ += height; }
    // The footer of the last page; call once the document is drawn.
    void finishPage();
    bool newPage();

    // A paragraph wrapped to the page's width.
    void text(const QString& line, const QFont& font, const QColor& colour = Qt::black);
    // A drawing the page's width and `height` high, on a new page when it does
    // not fit on this one.
    void block(double height, const std::function<void(QPainter&, const QRectF&)>& draw);
    // A chart at the proportions of a report window's chart, at most a page high.
    void chart(const charts::ChartModel& model);
    [[nodiscard]] double chartHeight() const;
    // Verdict lines, the warnings in red.
    void verdict(const QList<VerdictLine>& lines);
    // A grid as a table: columns as wide as their widest cell (narrowed
    // together to the page), headers wrapped, split over pages with the header
    // row repeated on each.
    void table(const SummaryTable& table);

    QPainter& painter() { return painter_; }
    QPagedPaintDevice& device() { return device_; }

private:
    void tableRow(const QStringList& cells, const std::vector<double>& widths, bool header,
                  double height);

    QPagedPaintDevice& device_;
    QPainter& painter_;
    QString footer_;
    double pageWidth_;
    double pageHeight_;
    double contentWidth_;
    double contentBottom_;
    int page_ = 1;
    double y_;
    bool ok_ = true;
};

} // namespace tarrow::reports
