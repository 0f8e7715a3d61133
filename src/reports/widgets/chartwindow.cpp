#include "reports/widgets/chartwindow.h"

#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"
#include "platform/statusdisplay.h"
#include "platform/userdialogs.h"
#include "platform/widgets/twips.h"
#include "platform/widgets/windowsize.h"
#include "reports/widgets/reporthost.h"
#include "support/widgets/chartoutput.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <numeric>

namespace tarrow::reports {

using charts::Chart2D;
using platform::twips;

QList<MenuDesign> chartMenus(const ChartMenuNames& n, const MenuDesign& zoom) {
    const MenuItemDesign help{n.helpItem, QStringLiteral("Help"), MenuAction::Help};
    const MenuItemDesign about{n.about, QStringLiteral("About"), MenuAction::About};
    const MenuItemDesign gap{n.separator3, QStringLiteral("-")};
    return {{n.file,
             n.fileCaption,
             {{n.print, QStringLiteral("Print Chart"), MenuAction::Print},
              {n.bitmap, n.bitmapCaption, MenuAction::SaveBitmap},
              {QStringLiteral("SaveChartSvg"), QStringLiteral("Save Chart as SVG..."),
               MenuAction::SaveSvg},
              {n.separator1, QStringLiteral("-")},
              {n.summary, n.summaryCaption, MenuAction::Summary},
              {n.separator2, QStringLiteral("-")},
              {n.exit, n.exitCaption, MenuAction::Exit}}},
            zoom,
            {n.help, n.helpCaption,
             n.aboutFirst ? QList<MenuItemDesign>{about, gap, help}
                          : QList<MenuItemDesign>{help, gap, about}}};
}

ChartWindow::ChartWindow(ChartWindowDesign design, ReportHost& host, QWidget* parent)
    : QMainWindow(parent, Qt::Window), design_(std::move(design)), host_(host) {
    setObjectName(entry().windowName);
    setWindowTitle(design_.caption);
    actions_ = buildMenus(menuBar(), design_.menus, [this](MenuAction a, int i) { onMenu(a, i); });
    auto* area = new QWidget;
    setCentralWidget(area);
    frame_ = new QGroupBox(design_.frameCaption, area);
    frame_->setObjectName(design_.frameName);
    // The series boxes were designed for a small 8-point face; keep them compact.
    QFont small = frame_->font();
    small.setPointSize(8);
    frame_->setFont(small);
    frame_->setGeometry(twips(design_.frameTwips));
    buildChecks();
    chart_ = new Chart2D(area);
    chart_->setGeometry(twips(design_.chartTwips));
    chart_->installEventFilter(this);
    scrollBar_ = new QScrollBar(Qt::Horizontal, area);
    scrollBar_->setObjectName(QStringLiteral("ScrollBar"));
    scrollBar_->setGeometry(twips(design_.scrollTwips));
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) { onScroll(value); });
    resize(twips(design_.clientTwips.width(), design_.clientTwips.height()) +
           QSize(0, menuBar()->sizeHint().height()));
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes the window, as it closes a dialog; the arrow keys, Page
    // Up and Page Down move a zoomed chart along.
    const std::pair<int, QAbstractSlider::SliderAction> moves[] = {
        {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
        {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd}};
    if (event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        for (const auto& [key, move] : moves)
            if (event->key() == key && scrollBar_->isEnabled()) {
                scrollBar_->triggerAction(move);
                return;
            }
    }
    QMainWindow::keyPressEvent(event);
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over the chart moves a zoomed chart along, as over its bar.
    if (watched == chart_ && event->type() == QEvent::Wheel && scrollBar_->isEnabled()) {
        QCoreApplication::sendEvent(scrollBar_, event);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::buildChecks() {
    for (int i = 0; i < design_.checks.size(); ++i) {
        auto* box = new QCheckBox(design_.checks[i].caption, frame_);
        box->setObjectName(arrayName(design_.checkName, i));
        box->setChecked(design_.checks[i].checked);
        connect(box, &QCheckBox::clicked, this,
                [this, i](bool on) { chart_->SetSeriesDisplay(i + 1, on ? 1 : 3); });
        checks_.append(box);
    }
    // The boxes stand in their designed order from left to right; captions are
    // never cut, so a box wider than designed pushes the ones after it along.
    QList<int> order(checks_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        return design_.checks[a].twips.x() < design_.checks[b].twips.x();
    });
    int right = 0;
    int bottom = 0;
    for (int i : order) {
        QRect geometry = twips(design_.checks[i].twips);
        geometry.moveLeft(std::max(geometry.left(), right));
        geometry.setWidth(std::max(geometry.width(), checks_[i]->sizeHint().width()));
        geometry.setHeight(std::max(geometry.height(), checks_[i]->sizeHint().height()));
        checks_[i]->setGeometry(geometry.translated(0, 4));
        right = checks_[i]->geometry().right() + twips(120);
        bottom = std::max(bottom, checks_[i]->geometry().bottom() + 6);
    }
    frame_->resize(std::max(frame_->width(), right + twips(120)),
                   std::max(frame_->height(), bottom));
}

QRect ChartWindow::frameGeometryInClient() const {
    return frame_->geometry();
}
QFont ChartWindow::frameFont() const {
    return frame_->font();
}

QWidget* ChartWindow::summaryParent() {
    return host_.mainWindow() ? host_.mainWindow() : this;
}

void ChartWindow::showDocument(const ReportDocument& document) {
    const bool first = !day_.isValid();
    if (QWidget* main = host_.mainWindow(); main && first)
        move(main->pos());
    // A summary of the figures replaced would show figures no longer drawn.
    if (!first)
        if (QWidget* summary = host_.windows().find(design_.summaryName))
            summary->close();
    chart_->SetBatchMode(true);
    chart_->SetGridAuto(Chart2D::X);
    chart_->SetGridAuto(Chart2D::Y);
    beforeDraw();
    day_ = document.day;
    params_ = document.params;
    for (const QString& note : document.notes)
        host_.dialogs().message(note);
    figures_ = document.summary;
    charts::applyChartModel(*chart_, document.chart);
    draw(document);
    for (int i = 0; i < checks_.size(); ++i)
        chart_->SetSeriesDisplay(i + 1, checks_[i]->isChecked() ? 1 : 3);
    host_.status().hideStatus();
    chart_->SetBatchMode(false);
}

void ChartWindow::onMenu(MenuAction action, int index) {
    switch (action) {
    case MenuAction::Zoom:
        applyZoom(index);
        break;
    case MenuAction::Print:
        support::PrintChart(*chart_, host_.dialogs(), host_.workFolder(), printHeading());
        break;
    case MenuAction::SaveBitmap:
        support::SaveChartToBitmap(*chart_, host_.dialogs(), entry().chartPrefix, day_);
        break;
    case MenuAction::SaveSvg:
        support::SaveChartToSvg(*chart_, host_.dialogs(), entry().chartPrefix, day_);
        break;
    case MenuAction::Summary:
        host_.windows().openOnce(design_.summaryName, [this] {
            return design_.summary(host_, figures_, day_, summaryParent());
        });
        break;
    default:
        if (!runOwnMenuItem(action, index))
            runCommonMenuItem(action, *this, host_);
        break;
    }
}

void ChartWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    const QSize outer = platform::snapToMinimum(
        *this, twips(design_.minimumTwips.width(), design_.minimumTwips.height()));
    layoutChart(outer, centralWidget()->size());
}

} // namespace tarrow::reports
