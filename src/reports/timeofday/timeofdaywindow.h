#pragma once

#include "reports/minutetable.h"
#include "reports/windowdesign.h"

#include <QMainWindow>
#include <QRect>

#include <functional>

class QCheckBox;
class QGroupBox;
class QScrollBar;

namespace tarrow::platform {
class Chart2D;
}

namespace tarrow::reports {

struct ReportContext;

// Where the Port Availability and Call Traffic windows differ.
struct TimeOfDayDesign {
    QString name;
    QString caption;
    QSize clientTwips;
    QString frameName;
    QString frameCaption;
    QRect frameTwips;
    QString checkName;
    struct Check {
        QString caption;
        QRect twips; // relative to the frame
        bool checked = true;
    };
    QList<Check> checks; // check box i switches chart series i + 1
    QRect chartTwips;
    QRect scrollTwips;
    QList<MenuDesign> menus;
    QString headerPrefix;   // followed by the data date in the long date form
    QStringList seriesLabels;
    QString yTitle;
    QString legendTitle;
    QString errorPrefix;    // the load's failure message
    QString drawCaption;    // status caption while drawing
    QList<int> seriesColumns; // result column drawn as each series
    QString bitmapPrefix;
    QString summaryName;    // the summary window's name
};

// A chart over the minutes of the day with zoom levels, a scroll bar and series
// check boxes. The X axis and the scroll position are minutes (60 is 1:00).
class TimeOfDayWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kZoomSpans[] = {1440, 720, 240, 60};
    static constexpr int kZoomSmallSteps[] = {0, 30, 10, 1};

    TimeOfDayWindow(TimeOfDayDesign design, ReportContext& context, QWidget* parent = nullptr);
    ~TimeOfDayWindow() override;

    // Computes (or reuses) the figures and draws them.
    void load();

    void applyZoom(int level);
    [[nodiscard]] platform::Chart2D& chart() const { return *chart_; }
    [[nodiscard]] QScrollBar& scrollBar() const { return *scrollBar_; }

protected:
    // The report's figures: the stored table, computed first when needed.
    virtual MinuteTable computeFigures() = 0;
    // Opens the report's summary window.
    virtual QWidget* createSummary() = 0;

    ReportContext& context() const { return context_; }
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void onMenu(MenuAction action, int index);
    void onScroll(int value);
    void onCheck(int index, bool checked);
    void setTimeLabels(int span);
    void draw(const MinuteTable& table);

    TimeOfDayDesign design_;
    ReportContext& context_;
    platform::Chart2D* chart_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QList<QCheckBox*> checks_;
    QList<QAction*> zoomItems_;
    bool resizing_ = false;
};

} // namespace tarrow::reports
