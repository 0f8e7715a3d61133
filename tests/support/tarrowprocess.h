#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tarrow::testing {

struct ProcessRun {
    int code = -1;
    QString out;
    QString err;
};

// Runs the built tarrow with the arguments and waits for it (a minute at most).
inline ProcessRun runTarrow(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(TARROW_BIN_DIR "/tarrow"), args);
    process.waitForFinished(60000);
    return ProcessRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
}

} // namespace tarrow::testing
