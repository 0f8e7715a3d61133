#pragma once

#include "reports/widgets/windowdesign.h"

#include <QMainWindow>
#include <QRect>

class QCheckBox;
class QGroupBox;
class QScrollBar;

namespace tarrow::platform {
class Chart2D;
}

namespace tarrow::reports {

struct ReportContext;

// What every report chart window is made of; the windows differ in these data.
struct ChartWindowDesign {
    QString name;
    QString caption;
    QSize clientTwips;
    QSize minimumTwips; // the outer window is never smaller
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
    QString headerPrefix; // followed by the data date in the long date form
    QStringList seriesLabels;
    QString xTitle;
    QString yTitle;
    QString legendTitle;
    QString errorPrefix; // the load's failure message
    QString bitmapPrefix;
    QString summaryName; // the summary window's name
};

// The names and captions of a chart window's File and Help menus, which every
// chart window has in one shape: File holds print, save as bitmap, a
// separator, the summary, a separator and exit; Help holds help, a separator
// and about (about first where aboutFirst is set).
struct ChartMenuNames {
    QString file, fileCaption, print, bitmap, bitmapCaption, separator1, summary, summaryCaption,
        separator2, exit, exitCaption;
    QString help, helpCaption, helpItem, separator3, about;
    bool aboutFirst = false;
};

// File, the window's zoom menu, then Help.
[[nodiscard]] QList<MenuDesign> chartMenus(const ChartMenuNames& names, const MenuDesign& zoom);

// A report chart with series check boxes in a frame above it, a scroll bar
// below it and menus for printing, saving, the summary, zooming and help.
class ChartWindow : public QMainWindow {
    Q_OBJECT
public:
    ~ChartWindow() override;

    // Computes the report's figures and draws them.
    virtual void load() = 0;
    // Zoom level 0 shows the whole range; higher levels show less of it.
    virtual void applyZoom(int level) = 0;

    [[nodiscard]] platform::Chart2D& chart() const { return *chart_; }
    [[nodiscard]] QScrollBar& scrollBar() const { return *scrollBar_; }

protected:
    ChartWindow(ChartWindowDesign design, ReportContext& context, QWidget* parent);

    virtual void onScroll(int value) = 0;
    virtual QWidget* createSummary() = 0;
    // Places chart and scroll bar for the window's outer and inner sizes.
    virtual void layoutChart(QSize outer, QSize inner) = 0;

    // Places the window, prepares the chart, and shows the series as checked.
    void beginLoad();
    void endLoad();
    void reportFailure(const std::exception& e);
    [[nodiscard]] const ChartWindowDesign& design() const { return design_; }
    [[nodiscard]] ReportContext& context() const { return context_; }
    [[nodiscard]] QWidget* client() const { return centralWidget(); }
    [[nodiscard]] QList<QAction*> menuActions() const { return actions_; }
    [[nodiscard]] QRect frameGeometryInClient() const;
    [[nodiscard]] QFont frameFont() const;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildChecks();
    void onMenu(MenuAction action, int index);

    ChartWindowDesign design_;
    ReportContext& context_;
    platform::Chart2D* chart_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QList<QCheckBox*> checks_;
    QList<QAction*> actions_;
};

} // namespace tarrow::reports
