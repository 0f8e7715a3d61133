#include "app/startup.h"
#include "platform/folderlock.h"
#include "platform/scratchfolder.h"
#include "store/rawportdata.h"
#include "support/reportfixture.h"
#include "support/tarrowprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

#include <thread>

namespace tarrow::app {
namespace {

using testing::logLine;

class Locking : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write(QStringLiteral("logs/data_qnhcmgr_20090115.csv"),
                  logLine("2009-01-15 10:15:30", "1162", "NEW CALL", "Port7", 3, 12));
    }
    QStringList load() const {
        return {QStringLiteral("load"), QStringLiteral("--logs"), dir.file(QStringLiteral("logs")),
                QStringLiteral("--day"), QStringLiteral("2009-01-15")};
    }
    testing::TempFolder dir;
};

TEST_F(Locking, ASecondProcessOnAFolderInUseSaysSoAndTouchesNothing) {
    const QString data = dir.file(QStringLiteral("data"));
    const QStringList withFolder = load() + QStringList{QStringLiteral("--data-dir"), data};
    {
        platform::FolderLock window;
        ASSERT_TRUE(window.acquire(data).ok());
        const testing::ProcessRun second = testing::runTarrow(withFolder);
        EXPECT_EQ(second.code, 2);
        EXPECT_TRUE(second.err.contains(QStringLiteral("is in use by another Tarrow (process %1)")
                                            .arg(QCoreApplication::applicationPid())))
            << second.err.toStdString();
        EXPECT_TRUE(second.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("data/PortData.mdb"))));

        platform::FolderLock another;
        EXPECT_FALSE(another.acquire(data).ok()) << "one holder within a process too";
    }
    EXPECT_EQ(testing::runTarrow(withFolder).code, 0) << "free again once released";
}

TEST_F(Locking, WithoutADataFolderACommandWorksInItsOwn) {
    // The folder a window would use by default is taken; a scheduled run goes on.
    platform::FolderLock window;
    ASSERT_TRUE(window.acquire(QStringLiteral(TARROW_BIN_DIR)).ok());
    const testing::ProcessRun run = testing::runTarrow(load());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Inbound Calls=1")));
}

// A data folder that cannot be written (no writable home folder: here a
// path below a file, which even root cannot make) is said once. A window
// works in a private temporary folder instead; a command stops at once.
TEST_F(Locking, AFolderThatCannotBeWrittenIsSaidOnceAndTheWindowWorksInItsOwn) {
    const QString nowhere = QStringLiteral("/dev/null/Tarrow");
    load::AppState state;
    platform::FolderLock lock;
    std::unique_ptr<platform::ScratchFolder> own;
    const QString note = settleWindowFolder(state, lock, nowhere, own);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(state.dataFolder, own->path());
    EXPECT_EQ(note, QStringLiteral("The data folder \"/dev/null/Tarrow\" cannot be written. This "
                                   "window works on a working database of its own in a temporary "
                                   "folder, which goes when the window closes."));
    std::unique_ptr<platform::ScratchFolder> none;
    EXPECT_TRUE(settleWindowFolder(state, lock, dir.file(QStringLiteral("mine")), none).isEmpty());
    EXPECT_EQ(state.dataFolder, dir.file(QStringLiteral("mine")));
    EXPECT_EQ(none, nullptr) << "no temporary folder is made for nothing";

    const testing::ProcessRun run =
        testing::runTarrow(load() + QStringList{QStringLiteral("--data-dir"), nowhere});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, QStringLiteral("The data folder \"/dev/null/Tarrow\" cannot be written.\n"));
}

TEST(BusyTimeout, AShortOverlapWithAnotherConnectionWaitsInsteadOfFailing) {
    testing::WorkingDatabaseFixture f;
    SQLite::Database other(
        QFile::encodeName(f.dir.file(QStringLiteral("PortData.mdb"))).toStdString(),
        SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.exec("COMMIT");
    });
    store::RawRow row;
    row.port = 3;
    row.callType = 1;
    QElapsedTimer waited;
    waited.start();
    const platform::Result stored = store::appendRawRows(f.state.database, 14288, {row}, {});
    const qint64 ms = waited.elapsed();
    release.join();
    EXPECT_TRUE(stored.ok()) << stored.error().toStdString();
    EXPECT_GE(ms, 250);
    EXPECT_LT(ms, store::kBusyTimeoutMs);
    EXPECT_EQ(f.count("RawPortData"), 1);
}

} // namespace
} // namespace tarrow::app
