#include "app/startup.h"
#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "logparse/readlogfile.h"
#include "platform/shownpath.h"
#include "serverprobe/registryapi.h"
#include "support/reportfixture.h"
#include "support/tarrowprocess.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/resource.h>
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

// A huge file named like a log of the day (here a 2 GB sparse one) is never
// read: the load of the day's other file stays small and quick, and the
// problems name the file and why. Run as the program, so its peak memory is
// its own.
TEST_F(ChangingFiles, AHugeFileNamedLikeALogIsNamedAndNeverRead) {
    const QString huge = dir.file(QStringLiteral("logs/data_qnhcmgr_20090115_huge.csv"));
    const int fd = ::open(QFile::encodeName(huge).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const bool sparse = ::ftruncate(fd, off_t{2} << 30) == 0;
    ::close(fd);
    if (!sparse)
        GTEST_SKIP() << "the file system cannot hold a 2 GB sparse file";
    const testing::ProcessRun run = testing::runTarrow(
        {QStringLiteral("load"), QStringLiteral("--logs"), dir.file(QStringLiteral("logs")),
         QStringLiteral("--day"), QStringLiteral("2009-01-15"), QStringLiteral("--data-dir"),
         dir.file(QStringLiteral("data"))});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Inbound Calls=1"))) << run.out.toStdString();
    EXPECT_TRUE((run.out + run.err)
                    .contains(QStringLiteral("too large for a log (over 128 MB), not read "
                                             "(data_qnhcmgr_20090115_huge.csv)")))
        << run.err.toStdString();
    rusage children{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 200 * 1024) << "kilobytes at the peak";
}

// Lines are counted while the file is read, piece by piece, as the parser
// counts them whole (a CR LF across pieces is one line end); reading stops
// past a million lines and keeps nothing.
TEST_F(ChangingFiles, LinesAreCountedWhileReadAndReadingStopsPastTheLimit) {
    const QString path = dir.file(QStringLiteral("pieces.csv"));
    QByteArray bytes((std::size_t{16} << 20) - 1, 'x');
    bytes += "\r\nlast\rline\r";
    dir.write(QStringLiteral("pieces.csv"), bytes);
    const LogFileBytes read = readLogFile(QFile::encodeName(path));
    ASSERT_EQ(read.outcome, ReadOutcome::Read);
    EXPECT_EQ(read.lines, countLines(read.view()));
    EXPECT_EQ(read.lines, 3);

    QByteArray many;
    for (qint64 i = 0; i < kMaxLinesPerFile; ++i)
        many += "\n";
    dir.write(QStringLiteral("limit.csv"), many);
    EXPECT_EQ(readLogFile(QFile::encodeName(dir.file(QStringLiteral("limit.csv")))).outcome,
              ReadOutcome::Read)
        << "a million lines, the last one ended";
    dir.write(QStringLiteral("over.csv"), many + "x\ny");
    const LogFileBytes over = readLogFile(QFile::encodeName(dir.file(QStringLiteral("over.csv"))));
    EXPECT_EQ(over.outcome, ReadOutcome::TooManyLines);
    EXPECT_EQ(over.size, 0u);
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
