#pragma once

#include "platform/userdialogs.h"

#include <QStringList>

namespace tarrow::testing {

// Records every message and answers folder pickers from a script.
class ScriptedDialogs : public platform::UserDialogs {
public:
    struct Message {
        QString text;
        QString title;
        platform::MessageIcon icon;
    };
    QList<Message> messages;
    QStringList folderAnswers; // taken from the front; empty means Cancel
    QStringList folderStarts;  // where each picker started

    void message(const QString& text, const QString& title, platform::MessageIcon icon) override {
        messages.append(Message{text, title, icon});
    }
    QString pickFolder(const QString& startFolder, const QString&) override {
        folderStarts << startFolder;
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }
    QStringList texts() const {
        QStringList all;
        for (const Message& m : messages)
            all << m.text;
        return all;
    }
};

} // namespace tarrow::testing
