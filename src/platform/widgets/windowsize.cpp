#include "platform/widgets/windowsize.h"

#include <QWidget>

namespace tarrow::platform {

QSize snapToMinimum(QWidget& window, QSize minimumOuter) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    QSize outer = window.size() + frame;
    if (outer.width() < minimumOuter.width() || outer.height() < minimumOuter.height()) {
        outer = outer.expandedTo(minimumOuter);
        // The resize below comes back as a nested resize event with the final
        // size; the caller's rule then runs once more on it, which is harmless.
        window.resize(outer - frame);
    }
    return outer;
}

} // namespace tarrow::platform
