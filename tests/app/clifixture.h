#pragma once

// What the command-line tests share: running the program, a log folder with
// one day of calls, and the poppler tools that read a PDF back.
#include "support/tarrowprocess.h"
#include "support/tempfolder.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace tarrow::app {

inline testing::ProcessRun tarrow(const QStringList& args, const QStringList& environment = {}) {
    return testing::runTarrow(args, environment);
}

// Runs a poppler tool on a file and gives its output.
inline QString poppler(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write(
            QStringLiteral("logs/data_qnhcmgr_20090115.csv"),
            testing::logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12) +
                testing::logLine("2009-01-15 10:17:05", "1163", "CALL DISCONNECT", "Port7", 2, 13) +
                testing::logLine("2009-01-15 10:18:00", "1162", "NEW CALL", "P7", 2, 13));
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090118.csv"),
                  testing::logLine("2009-01-18 10:15:30", "2210", "HEARTBEAT", "Port7", 3, 12));
    }
    QStringList common() const {
        return {QStringLiteral("--logs"), dir.file(QStringLiteral("logs")),
                QStringLiteral("--data-dir"), dir.file(QStringLiteral("data"))};
    }
    // "tarrow report" of the fixture day into a folder, with more options.
    QStringList report(const QString& out, const QStringList& more = {}) const {
        return QStringList{QStringLiteral("report"), QStringLiteral("--day"),
                           QStringLiteral("2009-01-15"), QStringLiteral("--out"), out} +
               more + common();
    }
    testing::TempFolder dir;
};

} // namespace tarrow::app
