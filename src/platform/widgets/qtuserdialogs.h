#pragma once

#include "platform/userdialogs.h"

#include <QPointer>
#include <QWidget>

namespace tarrow::platform {

// The real dialogs: Qt message boxes and file dialogs, each owned by the
// window that asked for it (the owner when no window is active).
class QtUserDialogs : public UserDialogs {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    [[nodiscard]] QWidget* askingWindow() const;
    void message(const QString& text, const QString& title, MessageIcon icon) override;
    QString pickFolder(const QString& startFolder, const QString& prompt) override;
    QString saveFile(const QString& title, const QString& initialPath, const QString& filter,
                     const QString& defaultSuffix) override;
    bool choosePrinter(QPrinter& printer) override;
    bool question(const QString& text, const QString& caption) override;
    void openUrl(const QString& address) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace tarrow::platform
