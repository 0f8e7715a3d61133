#pragma once

#include "platform/userdialogs.h"

#include <QPrinter>
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
    QStringList saveAnswers;   // taken from the front; empty means Cancel
    QStringList saveInitials;  // the initial path of each save dialog
    QString printToPdf;        // where a print goes; empty means Cancel
    QPageLayout::Orientation printOrientation = QPageLayout::Landscape;

    void message(const QString& text, const QString& title, platform::MessageIcon icon) override {
        messages.append(Message{text, title, icon});
    }
    QString pickFolder(const QString& startFolder, const QString&) override {
        folderStarts << startFolder;
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }
    QString saveFile(const QString&, const QString& initialPath, const QString&,
                     const QString&) override {
        saveInitials << initialPath;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    // The orientation the printer had each time the dialog opened.
    QList<QPageLayout::Orientation> offeredOrientations;
    bool choosePrinter(QPrinter& printer) override {
        offeredOrientations << printer.pageLayout().orientation();
        if (printToPdf.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
        printer.setPageOrientation(printOrientation);
        return true;
    }
    bool answerOk = true; // the answer to questions
    QStringList questions;
    QStringList opened; // addresses opened
    bool question(const QString& text, const QString&) override {
        questions << text;
        return answerOk;
    }
    void openUrl(const QString& address) override { opened << address; }
    QStringList texts() const {
        QStringList all;
        for (const Message& m : messages)
            all << m.text;
        return all;
    }
};

} // namespace tarrow::testing
