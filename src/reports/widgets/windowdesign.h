#pragma once

#include <QList>
#include <QString>

#include <functional>

class QMenuBar;
class QAction;
class QWidget;

namespace tarrow::reports {

// What a menu item does; the windows map these to their handlers.
enum class MenuAction {
    Separator,
    Print,
    SaveBitmap,
    SaveSvg,
    Summary,
    SaveCsv,
    SaveJson,
    Exit,
    Zoom,
    Help,
    About,
    Option
};

struct MenuItemDesign {
    QString name;    // object name; indexed items get "_<index>" appended
    QString caption; // "-" for a separator
    MenuAction action = MenuAction::Separator;
    int index = -1; // handed to the action; items sharing a name are named by it
};

struct MenuDesign {
    QString name;
    QString caption;
    QList<MenuItemDesign> items;
};

// Builds the menus in order and calls onAction(action, index, QAction*) when an
// item is chosen. Returns the actions in the order of the items.
QList<QAction*> buildMenus(QMenuBar* bar, const QList<MenuDesign>& menus,
                           const std::function<void(MenuAction, int)>& onAction);

class ReportHost;

// The menu items every report window has: Exit closes the window, Help and
// About open the shared windows. False for any other item.
bool runCommonMenuItem(MenuAction action, QWidget& window, ReportHost& host);

// The object name of item index of a control array, such as "mnuZoom_2".
// A menu's caption with its first letter as the keyboard mnemonic (Alt+F
// opens "File"); the text shown stays the caption.
[[nodiscard]] QString withMnemonic(const QString& caption);

[[nodiscard]] QString arrayName(const QString& name, int index);

} // namespace tarrow::reports
