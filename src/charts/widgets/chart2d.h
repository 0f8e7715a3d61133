#pragma once

#include "charts/chartmodel.h"
#include "platform/result.h"

#include <QChartView>
#include <QList>
#include <QPair>
#include <QStringList>

#include <optional>
#include <vector>

class QAreaSeries;
class QBarSeries;
class QCategoryAxis;
class QValueAxis;

namespace tarrow::charts {

// The chart every report window draws through: one group of series sharing one
// array of X values, an X and a Y axis, a header and a legend. Windows drive it
// only through its operations, and its state stays readable for tests.
// The report chooses whether its series are lines or grouped bars.
class Chart2D : public QChartView {
    Q_OBJECT
public:
    enum Axis { X, Y };

    explicit Chart2D(QWidget* parent = nullptr);
    ~Chart2D() override;

    // Design-time content.
    void setSeriesLabels(const QStringList& labels);
    // Colours of the series in order; an invalid colour (or none) keeps the
    // series' place in the palette.
    void setSeriesColors(const std::vector<QColor>& colors);
    [[nodiscard]] QColor seriesColorOf(std::size_t series) const;
    // Renames one series in place (1-based), without rebuilding the chart.
    void setSeriesLabel(int series, const QString& label);
    void setAxisTitle(Axis axis, const QString& title);
    void setLegendTitle(const QString& title);
    // How a series of a line chart is drawn (plain by default).
    void setSeriesKind(int series, SeriesKind kind);
    // A shaded stretch of the X axis behind the series; none when not set.
    void setBand(const std::optional<ChartBand>& band);
    [[nodiscard]] QString legendTitle() const;

    // The operations the windows use.
    // While on, changes are collected and drawn once when the outermost batch ends.
    void SetBatchMode(bool on);
    void setStyle(ChartStyle style);
    void SetSeriesCount(int count);
    void SetPointCount(int series, int count);
    void SetX(int series, int point, double value);
    void SetY(int series, int point, double value);
    void SetSeriesDisplay(int series, int code); // 1 drawn, 3 hidden with data kept
    void SetAxisMin(Axis axis, double value);
    void SetAxisMax(Axis axis, double value);
    [[nodiscard]] double GetAxisMax(Axis axis) const;
    void SetGridAuto(Axis axis);
    void SetAnnotationMode(Axis axis, int code); // 2: annotated by value labels
    void AddValueLabel(Axis axis, double position, const QString& text);
    void ClearValueLabels(Axis axis);
    void SetHeaderText(const QString& text);
    void ShowHeader(bool on);
    // Writes a picture of the chart: format 1 a Windows bitmap, 2 a PNG image,
    // 3 an SVG drawing (vector: lines and text stay sharp at any size). The
    // file is replaced only by a complete new one.
    static constexpr int kBitmap = 1;
    static constexpr int kPng = 2;
    static constexpr int kSvg = 3;
    platform::Result DrawToFile(const QString& path, int format = kBitmap);
    // The chart as a picture, and such a picture written as a bitmap or PNG
    // file; the writing may run on any thread.
    [[nodiscard]] QImage picture();
    static platform::Result savePicture(const QImage& image, const QString& path, int format);
    // Draws the chart as lines and text onto a painter (a PDF page, an SVG).
    void renderVector(QPainter& painter, const QRectF& target);

    // Readable state.
    [[nodiscard]] double axisMin(Axis axis) const;
    [[nodiscard]] double axisMax(Axis axis) const { return GetAxisMax(axis); }
    [[nodiscard]] int seriesCount() const { return static_cast<int>(ys_.size()); }
    [[nodiscard]] int pointCount() const { return static_cast<int>(xs_.size()); }
    [[nodiscard]] double xValue(int point) const;
    [[nodiscard]] double yValue(int series, int point) const;
    [[nodiscard]] bool seriesShown(int series) const;
    [[nodiscard]] QString headerText() const { return header_; }
    [[nodiscard]] QString seriesLabel(int series) const { return labels_.value(series - 1); }
    [[nodiscard]] QList<QPair<double, QString>> valueLabels(Axis axis) const;
    [[nodiscard]] QStringList visibleXLabels() const; // after thinning, for the current range
    [[nodiscard]] bool drawsBars() const;
    [[nodiscard]] SeriesKind seriesKind(int series) const;
    [[nodiscard]] std::optional<ChartBand> band() const { return band_; }
    // The top of a stacked series at a point: its value plus those of the
    // shown stacked series before it (its own value for other series).
    [[nodiscard]] double stackedTop(int series, int point) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void changed(bool structure = false);
    void flush();
    void rebuildSeries();
    void updateData();
    void updateAxes();
    void updateXLabels();
    [[nodiscard]] double autoYMax() const;
    [[nodiscard]] double barOffset() const;
    void addLegendTitle();
    void addBand();
    void updateBand();
    [[nodiscard]] QAbstractSeries* lineOrArea(std::size_t series);

    // Model.
    std::vector<double> xs_;
    std::vector<std::vector<double>> ys_;
    std::vector<bool> shown_;
    std::vector<SeriesKind> kinds_;
    std::vector<QColor> colors_;
    std::optional<ChartBand> band_;
    QStringList labels_;
    std::optional<double> xMin_, xMax_, yMin_, yMax_;
    QList<QPair<double, QString>> xValueLabels_;
    bool annotateX_ = false;
    QString header_;
    bool headerShown_ = false;
    int batch_ = 0; // depth of nested batches
    bool structureDirty_ = true;
    bool dataDirty_ = true;
    ChartStyle style_ = ChartStyle::Lines;

    // Qt Charts objects.
    QChart* chart_;
    QCategoryAxis* axisX_;
    QValueAxis* axisY_;
    QString legendTitle_;
    QList<QAbstractSeries*> series_;
    QAreaSeries* bandSeries_ = nullptr;
    bool bars_ = false;
};

} // namespace tarrow::charts
