#include "app/startup.h"
#include "logparse/logfiles.h"
#include "logparse/readlogfile.h"
#include "platform/shownpath.h"
#include "serverprobe/registryapi.h"
#include "support/reportfixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tarrow::load {
namespace {

using namespace logparse;
using testing::logLine;

// Log files are read while the server may still write, rotate or truncate
// them, and a folder may hold odd nodes and odd names.
class ChangingFiles : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useTempFolder(state, dir);
        serverprobe::MapRegistry registry;
        ASSERT_TRUE(app::startUp(state, registry).isEmpty());
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"),
                  logLine("2009-01-15 10:00:00", "1162", "NEW CALL", "Port2", 2, 8));
    }
    LoadOutcome load() {
        return app::loadDay(state, dir.file(QStringLiteral("logs")), QDate(2009, 1, 15),
                            QStringLiteral("1/15/2009 Thursday"));
    }
    testing::TempFolder dir;
    load::AppState state;
};

TEST_F(ChangingFiles, AFifoNamedLikeALogIsSkippedAndListedWithoutBlocking) {
    const QString fifo = dir.file(QStringLiteral("logs/data_qnhcmgr_20090115b.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const LoadOutcome outcome = load();
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(state.day.problems.count(ProblemKind::NotAFile), 1);
    EXPECT_TRUE(state.day.problems.summary().contains(QStringLiteral("20090115b.csv")));
    EXPECT_EQ(readLogFile("/dev/zero").outcome, ReadOutcome::NotAFile);
}

TEST_F(ChangingFiles, AFileTruncatedAgainAndAgainWhileLoadedNeverKillsTheProgram) {
    // Mapped files die with SIGBUS when cut short under the reader; read files
    // only come out shorter.
    const QString path = dir.file(QStringLiteral("logs/data_qnhcmgr_20090115c.csv"));
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += logLine("2009-01-15 11:00:00", "1162", "NEW CALL", "Port3", 1, 9);
    std::atomic<bool> done{false};
    std::thread cutter([&] {
        while (!done) {
            const int fd =
                ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            (void)!::write(fd, big.constData(), static_cast<std::size_t>(big.size()));
            (void)::ftruncate(fd, 100);
            ::close(fd);
        }
    });
    for (int i = 0; i < 30; ++i) {
        const LoadOutcome outcome = load();
        EXPECT_FALSE(outcome.storeFailed());
        EXPECT_GE(outcome.calls, 1);
    }
    done = true;
    cutter.join();
}

TEST_F(ChangingFiles, ANameThatIsNotUtf8IsNeverSilentlyIgnored) {
    const QByteArray raw =
        QFile::encodeName(dir.file(QStringLiteral("logs"))) + "/data_qnhcmgr_20090115\xff.csv";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray line = logLine("2009-01-15 12:00:00", "1162", "NEW CALL", "Port4", 1, 9);
    ASSERT_EQ(::write(fd, line.constData(), static_cast<std::size_t>(line.size())), line.size());
    ::close(fd);
    const LoadOutcome outcome = load();
    // Loaded with the others, or at least named among the problems.
    EXPECT_TRUE(outcome.calls == 2 || state.day.problems.count(ProblemKind::UnreadableFile) == 1)
        << outcome.calls;
}

TEST(ShownNames, ControlAndFormatCharactersAreEscaped) {
    EXPECT_EQ(platform::shownName(QStringLiteral("data\n\x1b[31mred\x7f.csv")),
              QStringLiteral("data\\x0A\\x1B[31mred\\x7F.csv"));
    EXPECT_EQ(platform::shownName(QStringLiteral("evil\u202Evsc.csv")),
              QStringLiteral("evil\\u202evsc.csv"));
    EXPECT_EQ(platform::shownName(QStringLiteral("Müller <b>logs</b>")),
              QStringLiteral("Müller <b>logs</b>"));

    ProblemLog problems;
    problems.add(ProblemKind::UnreadableFile, QStringLiteral("data_qnhcmgr_1\r\nFAKE.csv"), 0);
    EXPECT_FALSE(problems.summary().contains(QStringLiteral("1\r\nFAKE")));
    EXPECT_TRUE(problems.summary().contains(QStringLiteral("1\\x0D\\x0AFAKE")));
}

} // namespace
} // namespace tarrow::load
