#include "reports/widgets/windowdesign.h"

#include "reports/widgets/reporthost.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace tarrow::reports {

QString arrayName(const QString& name, int index) {
    return index < 0 ? name : name + QLatin1Char('_') + QString::number(index);
}

QString withMnemonic(const QString& caption) {
    if (caption.contains(QLatin1Char('&')))
        return caption;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i].isLetter())
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
    return caption;
}

QList<QAction*> buildMenus(QMenuBar* bar, const QList<MenuDesign>& menus,
                           const std::function<void(MenuAction, int)>& onAction) {
    QList<QAction*> actions;
    for (const MenuDesign& design : menus) {
        QMenu* menu = bar->addMenu(withMnemonic(design.caption));
        menu->setObjectName(design.name);
        menu->menuAction()->setObjectName(design.name);
        for (const MenuItemDesign& item : design.items) {
            QAction* action = item.caption == QLatin1String("-") ? menu->addSeparator()
                                                                 : menu->addAction(item.caption);
            // Items sharing one name form a control array: each is named by index.
            const bool array = std::count_if(design.items.begin(), design.items.end(),
                                             [&](const MenuItemDesign& other) {
                                                 return other.name == item.name;
                                             }) > 1;
            action->setObjectName(array ? arrayName(item.name, item.index) : item.name);
            if (item.action != MenuAction::Separator)
                QObject::connect(action, &QAction::triggered, bar,
                                 [onAction, item] { onAction(item.action, item.index); });
            actions.append(action);
        }
    }
    return actions;
}

bool runCommonMenuItem(MenuAction action, QWidget& window, ReportHost& host) {
    switch (action) {
    case MenuAction::Exit:
        window.close();
        return true;
    case MenuAction::Help:
        host.showHelp();
        return true;
    case MenuAction::About:
        host.showAbout();
        return true;
    default:
        return false;
    }
}

} // namespace tarrow::reports
