#include "reports/timeofday/timeofdaywindow.h"

#include "platform/chart2d.h"
#include "platform/statusdisplay.h"
#include "platform/twips.h"
#include "platform/userdialogs.h"
#include "reports/reportcontext.h"
#include "support/chartoutput.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLocale>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <numeric>

namespace tarrow::reports {

using platform::Chart2D;
using platform::twips;

TimeOfDayWindow::TimeOfDayWindow(TimeOfDayDesign design, ReportContext& context, QWidget* parent)
    : QMainWindow(parent), design_(std::move(design)), context_(context) {
    setObjectName(design_.name);
    setWindowTitle(design_.caption);
    buildControls();
}

TimeOfDayWindow::~TimeOfDayWindow() = default;

void TimeOfDayWindow::buildControls() {
    const QList<QAction*> actions = buildMenus(menuBar(), design_.menus, [this](MenuAction a, int i) {
        onMenu(a, i);
    });
    for (QAction* action : actions)
        if (action->objectName().contains(QStringLiteral("mnuZoom_"))) {
            action->setCheckable(true);
            zoomItems_.append(action);
        }

    auto* client = new QWidget;
    setCentralWidget(client);
    frame_ = new QGroupBox(design_.frameCaption, client);
    frame_->setObjectName(design_.frameName);
    frame_->setGeometry(twips(design_.frameTwips));
    for (int i = 0; i < design_.checks.size(); ++i) {
        auto* box = new QCheckBox(design_.checks[i].caption, frame_);
        box->setObjectName(arrayName(design_.checkName, i));
        box->setChecked(design_.checks[i].checked);
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { onCheck(i, on); });
        checks_.append(box);
    }
    // The boxes stand in their designed order from left to right; captions are
    // never cut, so a box wider than designed pushes the ones after it along.
    QList<int> order(checks_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        return design_.checks[a].twips.x() < design_.checks[b].twips.x();
    });
    int frameRight = 0;
    int frameBottom = 0;
    for (int i : order) {
        QRect geometry = twips(design_.checks[i].twips);
        geometry.moveLeft(std::max(geometry.left(), frameRight));
        geometry.setWidth(std::max(geometry.width(), checks_[i]->sizeHint().width()));
        geometry.setHeight(std::max(geometry.height(), checks_[i]->sizeHint().height()));
        checks_[i]->setGeometry(geometry.translated(0, 4));
        frameRight = checks_[i]->geometry().right() + twips(120);
        frameBottom = std::max(frameBottom, checks_[i]->geometry().bottom() + 6);
    }
    frameRight += twips(120);
    frame_->resize(std::max(frame_->width(), frameRight), std::max(frame_->height(), frameBottom));
    chart_ = new Chart2D(client);
    chart_->setGeometry(twips(design_.chartTwips));
    chart_->setSeriesLabels(design_.seriesLabels);
    chart_->setAxisTitle(Chart2D::X, QStringLiteral("Time"));
    chart_->setAxisTitle(Chart2D::Y, design_.yTitle);
    chart_->setLegendTitle(design_.legendTitle);
    scrollBar_ = new QScrollBar(Qt::Horizontal, client);
    scrollBar_->setObjectName(QStringLiteral("ScrollBar"));
    scrollBar_->setGeometry(twips(design_.scrollTwips));
    connect(scrollBar_, &QScrollBar::valueChanged, this, &TimeOfDayWindow::onScroll);
    resize(twips(design_.clientTwips.width(), design_.clientTwips.height()) +
           QSize(0, menuBar()->sizeHint().height()));
}

void TimeOfDayWindow::load() {
    if (context_.mainWindow)
        move(context_.mainWindow->pos());
    chart_->SetBatchMode(true);
    chart_->SetChartTypeCode(1, 4);
    chart_->SetGridAuto(Chart2D::X);
    chart_->SetGridAuto(Chart2D::Y);
    scrollBar_->setRange(0, kMinutesPerDay);
    applyZoom(1);
    scrollBar_->setValue(360);
    chart_->SetHeaderText(design_.headerPrefix +
                          QLocale().toString(context_.dataDate.date(), QLocale::LongFormat));
    chart_->ShowHeader(true);
    chart_->SetBatchMode(true);
    try {
        draw(computeFigures());
    } catch (const std::exception& e) {
        context_.status.hideStatus();
        context_.dialogs.message(design_.errorPrefix + QString::fromUtf8(e.what()));
    }
    for (int i = 0; i < checks_.size(); ++i)
        chart_->SetSeriesDisplay(i + 1, checks_[i]->isChecked() ? 1 : 3);
    context_.status.hideStatus();
    chart_->SetBatchMode(false);
}

void TimeOfDayWindow::draw(const MinuteTable& table) {
    context_.status.showStatus(design_.drawCaption, kMinutesPerDay);
    const auto series = static_cast<int>(design_.seriesColumns.size());
    chart_->SetDataLayout(1);
    chart_->SetSeriesCount(series);
    for (int s = 1; s <= series; ++s)
        chart_->SetPointCount(s, kMinutesPerDay);
    for (int k = 1; k <= kMinutesPerDay; ++k) {
        chart_->SetX(1, k, k);
        for (int s = 1; s <= series; ++s)
            chart_->SetY(s, k, static_cast<double>(table.at(design_.seriesColumns[s - 1], k)));
    }
    context_.status.setStatusValue(kMinutesPerDay);
}

void TimeOfDayWindow::applyZoom(int level) {
    for (int i = 0; i < zoomItems_.size(); ++i)
        zoomItems_[i]->setChecked(i == level);
    const int v = scrollBar_->value();
    const int span = kZoomSpans[level];
    scrollBar_->setPageStep(span);
    if (level > 0)
        scrollBar_->setSingleStep(kZoomSmallSteps[level]);
    scrollBar_->setEnabled(level > 0);
    const int start = v + span < kMinutesPerDay + 1 ? v : kMinutesPerDay - span;
    scrollBar_->setValue(start); // runs the scroll handler when the value changes
    setTimeLabels(span);
    chart_->SetAxisMin(Chart2D::X, start);
    chart_->SetAxisMax(Chart2D::X, start + span);
    scrollBar_->update();
}

void TimeOfDayWindow::onScroll(int value) {
    chart_->SetBatchMode(true);
    if (value > kMinutesPerDay)
        value = kMinutesPerDay;
    int start = value;
    int end = value + scrollBar_->pageStep() - 1;
    if (end > kMinutesPerDay) {
        end = kMinutesPerDay;
        start = kMinutesPerDay - scrollBar_->pageStep();
    }
    chart_->SetAxisMin(Chart2D::X, start - 1);
    chart_->SetAxisMax(Chart2D::X, end - 1);
    chart_->SetBatchMode(false);
}

void TimeOfDayWindow::setTimeLabels(int span) {
    // Every three hours over the whole day; closer together when zoomed in, so
    // a one-hour view still reads its times.
    const int step = span >= 1440 ? 180 : span >= 720 ? 60 : span >= 240 ? 30 : 10;
    chart_->ClearValueLabels(Chart2D::X);
    for (int m = 0; m <= kMinutesPerDay; m += step)
        chart_->AddValueLabel(Chart2D::X, m,
                              QStringLiteral("%1:%2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0')));
}

void TimeOfDayWindow::onCheck(int index, bool checked) {
    chart_->SetSeriesDisplay(index + 1, checked ? 1 : 3);
}

void TimeOfDayWindow::onMenu(MenuAction action, int index) {
    switch (action) {
    case MenuAction::Zoom:
        applyZoom(index);
        break;
    case MenuAction::Print:
        support::PrintChart(*chart_, context_.dialogs, context_.workFolder);
        break;
    case MenuAction::SaveBitmap:
        support::SaveChartToBitmap(*chart_, context_.dialogs, design_.bitmapPrefix,
                                   context_.dataDate.date());
        break;
    case MenuAction::Summary:
        context_.openOnce(design_.summaryName, [this] { return createSummary(); });
        break;
    case MenuAction::Exit:
        close();
        break;
    case MenuAction::Help:
        if (context_.showHelp)
            context_.showHelp();
        break;
    case MenuAction::About:
        if (context_.showAbout)
            context_.showAbout();
        break;
    default:
        break;
    }
}

void TimeOfDayWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (resizing_ || isMinimized())
        return;
    // The rule works on the outer window size: the frame around the client.
    const QSize frame = frameGeometry().size() - geometry().size();
    QSize outer = size() + frame;
    const QSize least(twips(7005), twips(5414));
    if (outer.width() < least.width() || outer.height() < twips(5415)) {
        outer = outer.expandedTo(least);
        resizing_ = true;
        resize(outer - frame);
        resizing_ = false;
    }
    const int chartWidth = outer.width() - twips(400);
    const int chartHeight = outer.height() - twips(1863);
    chart_->resize(chartWidth, chartHeight);
    scrollBar_->setGeometry(scrollBar_->x(), chart_->y() + chartHeight + twips(40), chartWidth,
                            scrollBar_->height());
}

} // namespace tarrow::reports
