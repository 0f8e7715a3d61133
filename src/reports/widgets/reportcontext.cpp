#include "reports/widgets/reportcontext.h"

#include "reports/widgets/windowdesign.h"

namespace tarrow::reports {

QWidget* ReportContext::openOnce(const QString& name, const std::function<QWidget*()>& create) {
    QPointer<QWidget>& slot = open_[name];
    if (!slot) {
        slot = create();
        if (!slot)
            return nullptr;
        slot->setAttribute(Qt::WA_DeleteOnClose);
        slot->show();
    }
    slot->raise();
    slot->activateWindow();
    return slot;
}

QWidget* ReportContext::openWindow(const QString& name) const {
    return open_.value(name);
}

bool ReportContext::runCommonMenuItem(int action, QWidget& window) const {
    switch (static_cast<MenuAction>(action)) {
    case MenuAction::Exit:
        window.close();
        return true;
    case MenuAction::Help:
        if (showHelp)
            showHelp();
        return true;
    case MenuAction::About:
        if (showAbout)
            showAbout();
        return true;
    default:
        return false;
    }
}

} // namespace tarrow::reports
