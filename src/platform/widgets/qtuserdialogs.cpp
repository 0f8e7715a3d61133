#include "platform/widgets/qtuserdialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QUrl>

namespace tarrow::platform {

QWidget* QtUserDialogs::askingWindow() const {
    // The window the user is working in asked: a report, summary or the main
    // window. The dialog is centred over it and closing it returns there,
    // never raising the main window over a chart window.
    QWidget* active = QApplication::activeWindow();
    return active ? active : owner_.data();
}

void QtUserDialogs::message(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(askingWindow());
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setTextFormat(Qt::PlainText); // a folder named "<b>x</b>" is shown as it is
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
    return QFileDialog::getExistingDirectory(askingWindow(), prompt, startFolder);
}

QString QtUserDialogs::saveFile(const QString& title, const QString& initialPath,
                                const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(askingWindow(), title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtUserDialogs::question(const QString& text, const QString& caption) {
    QMessageBox box(askingWindow());
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText); // a folder named "<b>x</b>" is shown as it is
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtUserDialogs::openUrl(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

bool QtUserDialogs::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, askingWindow());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tarrow::platform
