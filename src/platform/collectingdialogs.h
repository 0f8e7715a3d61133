#pragma once

#include "platform/userdialogs.h"

#include <QStringList>

namespace tarrow::platform {

// Dialogs for work without a user: messages are collected, every question is
// declined and nothing is chosen.
class CollectingDialogs : public UserDialogs {
public:
    QStringList messages;
    void message(const QString& text, const QString&, MessageIcon) override { messages << text; }
    QString pickFolder(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    bool choosePrinter(QPrinter&) override { return false; }
    bool question(const QString&, const QString&) override { return false; }
    void openUrl(const QString&) override {}
};

} // namespace tarrow::platform
