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
// Environment variables in `environment` replace the test's own.
inline ProcessRun runTarrow(const QStringList& args, const QStringList& environment = {}) {
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : environment)
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(TARROW_BIN_DIR "/tarrow"), args);
    process.waitForFinished(60000);
    return ProcessRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
}

} // namespace tarrow::testing
