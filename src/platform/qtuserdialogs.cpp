#include "platform/qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tarrow::platform {

void QtUserDialogs::message(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(owner_);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString QtUserDialogs::pickFolder(const QString& startFolder, const QString& prompt) {
    return QFileDialog::getExistingDirectory(owner_, prompt, startFolder);
}

} // namespace tarrow::platform
