// A command without --data-dir works in a scratch folder of its own in the
// temporary folder: it goes when the command is told to end, and what a
// killed command left goes with the next Tarrow that starts.
#include "support/calllog.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace tarrow::app {
namespace {

class ScratchFolders : public ::testing::Test {
protected:
    void SetUp() override {
        // A day long enough to kill its load half-way.
        QByteArray log;
        for (int i = 0; i < 150000; ++i)
            log += testing::logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12);
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"), log);
        QDir().mkpath(temp());
    }
    QString temp() const { return dir.file(QStringLiteral("tmp")); }
    QStringList scratch() const {
        return QDir(temp()).entryList({QStringLiteral("Tarrow-*")}, QDir::Dirs);
    }
    // `tarrow load` started with its own temporary folder, once its scratch
    // folder holds a working database.
    void start(QProcess& process) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), temp());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TARROW_BIN_DIR "/tarrow"),
                      {QStringLiteral("load"), QStringLiteral("--logs"),
                       dir.file(QStringLiteral("logs")), QStringLiteral("--day"),
                       QStringLiteral("2009-01-15")});
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 &&
               (scratch().isEmpty() ||
                !QFile::exists(QDir(temp()).filePath(scratch().constFirst() +
                                                     QStringLiteral("/PortData.mdb")))))
            QThread::msleep(2);
    }
    testing::TempFolder dir;
};

TEST_F(ScratchFolders, TerminatedCommandsCleanUpAndKilledOnesAreCleanedUpAfter) {
    QProcess terminated;
    start(terminated);
    ASSERT_EQ(scratch().size(), 1);
    ::kill(static_cast<pid_t>(terminated.processId()), SIGTERM);
    ASSERT_TRUE(terminated.waitForFinished(20000));
    EXPECT_EQ(terminated.exitStatus(), QProcess::CrashExit) << "ended by the signal";
    EXPECT_TRUE(scratch().isEmpty()) << scratch().join(QLatin1Char(' ')).toStdString();

    QProcess killed;
    start(killed);
    ASSERT_EQ(scratch().size(), 1);
    const QString left = scratch().constFirst();
    killed.kill(); // SIGKILL: nothing runs in the process
    ASSERT_TRUE(killed.waitForFinished(20000));
    ASSERT_EQ(scratch(), QStringList{left}) << "left behind by the killed run";

    QProcess next;
    start(next);
    ASSERT_TRUE(next.waitForFinished(60000));
    EXPECT_EQ(next.exitCode(), 0);
    EXPECT_TRUE(scratch().isEmpty()) << "the killed run's folder went, and the next run's own";
}

} // namespace
} // namespace tarrow::app
