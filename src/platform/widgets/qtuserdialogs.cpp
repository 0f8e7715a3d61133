#include "platform/widgets/qtuserdialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QUrl>

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

QString QtUserDialogs::saveFile(const QString& title, const QString& initialPath,
                                const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(owner_, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtUserDialogs::question(const QString& text, const QString& caption) {
    QMessageBox box(owner_);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtUserDialogs::openUrl(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

bool QtUserDialogs::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tarrow::platform
