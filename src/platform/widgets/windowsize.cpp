#include "platform/widgets/windowsize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tarrow::platform {

namespace {

// The frame around the client area; before a window manager has framed the
// window, room for a title bar is kept.
QSize frameOf(const QWidget& window) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    return window.isVisible() ? frame : frame.expandedTo(QSize(0, 30));
}

} // namespace

QRect availableRoom(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

QSize snapToMinimum(QWidget& window, QSize minimumOuter) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    minimumOuter = minimumOuter.boundedTo(availableRoom(window).size());
    QSize outer = window.size() + frame;
    if (outer.width() < minimumOuter.width() || outer.height() < minimumOuter.height()) {
        outer = outer.expandedTo(minimumOuter);
        // The resize below comes back as a nested resize event with the final
        // size; the caller's rule then runs once more on it, which is harmless.
        window.resize(outer - frame);
    }
    return outer;
}

void fitToScreen(QWidget& window) {
    const QRect room = availableRoom(window);
    const QSize frame = frameOf(window);
    const QSize most = room.size() - frame;
    window.setMinimumSize(window.minimumSize().boundedTo(most));
    if (window.width() > most.width() || window.height() > most.height())
        window.resize(window.size().boundedTo(most));
    const QSize outer = window.size() + frame;
    const int x = std::clamp(window.x(), room.left(), room.right() + 1 - outer.width());
    const int y = std::clamp(window.y(), room.top(), room.bottom() + 1 - outer.height());
    if (x != window.x() || y != window.y())
        window.move(x, y);
}

} // namespace tarrow::platform
