#include "reports/widgets/reporthost.h"

#include "platform/widgets/windowsize.h"

namespace tarrow::reports {

QWidget* OpenWindows::openOnce(const QString& name, const std::function<QWidget*()>& create) {
    QPointer<QWidget>& slot = open_[name];
    if (!slot) {
        slot = create();
        if (!slot)
            return nullptr;
        slot->setAttribute(Qt::WA_DeleteOnClose);
        platform::fitToScreen(*slot);
        slot->show();
        platform::fitToScreen(*slot); // once more with its frame and laid out
    }
    slot->raise();
    slot->activateWindow();
    return slot;
}

QWidget* OpenWindows::find(const QString& name) const {
    return open_.value(name);
}

} // namespace tarrow::reports
