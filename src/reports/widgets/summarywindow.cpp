#include "reports/widgets/summarywindow.h"

#include "platform/fileoutput.h"
#include "platform/userdialogs.h"
#include "platform/widgets/twips.h"
#include "platform/widgets/windowsize.h"
#include "reports/widgets/reporthost.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace tarrow::reports {

using platform::twips;

QList<MenuDesign> summaryMenus(const SummaryMenuNames& n) {
    return {{QStringLiteral("mnuFile"),
             QStringLiteral("File"),
             {{n.save, n.saveCaption, MenuAction::SaveCsv},
              {n.separator, QStringLiteral("-")},
              {QStringLiteral("mnuExit"), QStringLiteral("Exit"), MenuAction::Exit}}},
            {n.helpMenu,
             QStringLiteral("Help"),
             {{n.help, QStringLiteral("Help"), MenuAction::Help},
              {n.separator2, QStringLiteral("-")},
              {n.about, QStringLiteral("About"), MenuAction::About}}}};
}

SummaryWindow::SummaryWindow(SummaryDesign design, ReportHost& host, SummaryTable figures,
                             const QDate& day, QWidget* parent)
    : QMainWindow(parent, Qt::Window), design_(std::move(design)), host_(host),
      table_(std::move(figures)), day_(day) {
    setObjectName(design_.name);
    setWindowTitle(design_.caption);
    buildMenus(menuBar(), design_.menus, [this](MenuAction a, int) { onMenu(a); });
    auto* client = new QWidget;
    setCentralWidget(client);
    grid_ = new QTableWidget(client);
    grid_->setObjectName(QStringLiteral("gridSummary"));
    grid_->setGeometry(twips(design_.gridTwips));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    grid_->setFont(font);
    resize(twips(design_.clientTwips.width(), design_.clientTwips.height()) +
           QSize(0, menuBar()->sizeHint().height()));
}

void SummaryWindow::load() {
    const auto& columns = table_.layout.columns;
    grid_->setColumnCount(static_cast<int>(columns.size()));
    for (int c = 0; c < columns.size(); ++c) {
        auto* header = new QTableWidgetItem(columns[c].header);
        header->setData(Qt::UserRole, columns[c].key);
        grid_->setHorizontalHeaderItem(c, header);
        // Never narrower than the header text: the designed widths assume a
        // smaller face than most systems have.
        const int headerWidth =
            grid_->horizontalHeader()->fontMetrics().horizontalAdvance(columns[c].header) + 12;
        grid_->setColumnWidth(c, std::max(twips(columns[c].widthTwips), headerWidth));
    }
    // Open wide enough to show every column.
    int columnsWidth = 0;
    for (int c = 0; c < grid_->columnCount(); ++c)
        columnsWidth += grid_->columnWidth(c);
    const int wanted = columnsWidth + grid_->x() + twips(design_.gridMarginTwips.width()) +
                       grid_->verticalScrollBar()->sizeHint().width() + 4;
    if (wanted > width())
        resize(wanted, height());
    for (const QString& notice : table_.notices)
        host_.dialogs().message(notice);
    grid_->setRowCount(static_cast<int>(table_.rows.size()));
    for (int r = 0; r < table_.rows.size(); ++r)
        for (int c = 0; c < table_.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(table_.rows[r][c]);
            // General alignment: numbers to the right, text to the left.
            bool number = false;
            table_.rows[r][c].trimmed().toDouble(&number);
            item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
            grid_->setItem(r, c, item);
        }
}

void SummaryWindow::saveCsv() {
    platform::saveAsked(
        host_.dialogs(),
        {QStringLiteral("Select file for CSV output"),
         platform::dateFileName(table_.layout.filePrefix, day_, QStringLiteral(".csv")),
         QStringLiteral("CSV Files (*.csv);;All Files (*)"), QStringLiteral("csv"),
         QStringLiteral("Summary information saved")},
        summaryCsv(table_));
}

void SummaryWindow::onMenu(MenuAction action) {
    if (action == MenuAction::SaveCsv)
        saveCsv();
    else
        runCommonMenuItem(action, *this, host_);
}

void SummaryWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    const QSize outer = platform::snapToMinimum(
        *this, twips(design_.minimumTwips.width(), design_.minimumTwips.height()));
    grid_->resize(outer.width() - twips(design_.gridMarginTwips.width()),
                  outer.height() - twips(design_.gridMarginTwips.height()));
}

} // namespace tarrow::reports
