#include "platform/fileoutput.h"
#include "support/smalldisk.h"
#include "support/tempfolder.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tarrow::platform {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Saving, ReplacesAFileWhole) {
    testing::TempFolder folder;
    const QString path = folder.write(QStringLiteral("Summary.csv"), "old");
    ASSERT_TRUE(saveFileAtomically(path, "new contents").ok());
    EXPECT_EQ(contents(path), "new contents");
}

TEST(Saving, AFullDiskKeepsTheOldFileAndSaysSo) {
    testing::SmallDisk disk(64);
    if (!disk.ok())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.file(QStringLiteral("Summary.csv"));
    ASSERT_TRUE(saveFileAtomically(path, QByteArray(16 * 1024, 'a')).ok());
    const Result full = saveFileAtomically(path, QByteArray(256 * 1024, 'b'));
    ASSERT_FALSE(full.ok());
    EXPECT_TRUE(full.error().contains(QStringLiteral("Summary.csv"))) << full.error().toStdString();
    EXPECT_EQ(contents(path), QByteArray(16 * 1024, 'a'));
    // No temporary file is left to fill the disk.
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(Saving, ASmallFileOnAFullDiskIsAFailureAndLeavesNothing) {
    // A small file sits in the write buffer until the end: its failure shows
    // only when the buffer is written out.
    testing::SmallDisk disk(64);
    if (!disk.ok())
        GTEST_SKIP() << "mounting a small file system needs root";
    QFile filler(disk.file(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096) {
    }
    filler.close();
    const QString path = disk.file(QStringLiteral("Summary.csv"));
    const Result saved = saveFileAtomically(path, QByteArray(100, 's'));
    EXPECT_FALSE(saved.ok());
    EXPECT_FALSE(QFileInfo::exists(path)) << "no empty file in its place";
}

TEST(Saving, AFailingWriterLeavesTheOldFile) {
    testing::TempFolder folder;
    const QString path = folder.write(QStringLiteral("Graph.png"), "old picture");
    const Result failed = saveAtomically(path, [](QIODevice& out) {
        out.write("half");
        return Result::failure(QStringLiteral("The chart picture could not be written."));
    });
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(contents(path), "old picture");
}

TEST(Saving, RefusesLinksNodesAndFoldersAndLeavesThemAlone) {
    testing::TempFolder folder;
    const QString target = folder.write(QStringLiteral("elsewhere.csv"), "someone else's");
    const QString link = folder.file(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(target, link));
    const QString dangling = folder.file(QStringLiteral("dangling.csv"));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("missing.csv")), dangling));
    const QString fifo = folder.file(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString subfolder = folder.file(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir().mkpath(subfolder));

    for (const QString& path : {link, dangling, fifo, subfolder, QStringLiteral("/dev/null")}) {
        const Result saved = saveFileAtomically(path, "data");
        EXPECT_FALSE(saved.ok()) << path.toStdString();
        EXPECT_TRUE(saved.error().startsWith(QStringLiteral("Could not save")));
    }
    EXPECT_EQ(contents(target), "someone else's");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("missing.csv"))));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(subfolder).isDir());
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists());
}

} // namespace
} // namespace tarrow::platform
