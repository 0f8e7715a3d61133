#include "reports/windowdesign.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tarrow::reports {

QString arrayName(const QString& name, int index) {
    return index < 0 ? name : name + QLatin1Char('_') + QString::number(index);
}

QList<QAction*> buildMenus(QMenuBar* bar, const QList<MenuDesign>& menus,
                           const std::function<void(MenuAction, int)>& onAction) {
    QList<QAction*> actions;
    for (const MenuDesign& design : menus) {
        QMenu* menu = bar->addMenu(design.caption);
        menu->setObjectName(design.name);
        menu->menuAction()->setObjectName(design.name);
        for (const MenuItemDesign& item : design.items) {
            QAction* action = item.caption == QLatin1String("-") ? menu->addSeparator()
                                                                  : menu->addAction(item.caption);
            action->setObjectName(arrayName(item.name, item.index));
            if (item.action != MenuAction::Separator)
                QObject::connect(action, &QAction::triggered, bar,
                                 [onAction, item] { onAction(item.action, item.index); });
            actions.append(action);
        }
    }
    return actions;
}

} // namespace tarrow::reports
