#include "platform/scratchfolder.h"

#include "platform/folderlock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tarrow::platform {

namespace {

QString scratchTemplate() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("Tarrow-XXXXXX"));
}

// What a signal handler may remove: the files a working folder can hold and
// the folder, as paths written out beforehand (a handler may only unlink and
// rmdir).
constexpr std::size_t kSlots = 4;
constexpr std::size_t kFilesPerFolder = 6;
constexpr std::size_t kPathBytes = 512;
struct CleanSlot {
    std::atomic<bool> used{false};
    std::array<std::array<char, kPathBytes>, kFilesPerFolder> files{};
    std::array<char, kPathBytes> folder{};
};
std::array<CleanSlot, kSlots> cleanSlots;

void copyPath(std::array<char, kPathBytes>& into, const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), kPathBytes - 1);
    std::memcpy(into.data(), bytes.constData(), n);
    into[n] = '\0';
}

int registerFolder(const QString& folder) {
    const QDir dir(folder);
    const QString working = dir.filePath(QStringLiteral("PortData.mdb"));
    for (std::size_t i = 0; i < kSlots; ++i) {
        CleanSlot& slot = cleanSlots[i];
        if (slot.used)
            continue;
        const QString files[kFilesPerFolder] = {working,
                                                working + QStringLiteral("-wal"),
                                                working + QStringLiteral("-shm"),
                                                working + QStringLiteral("-journal"),
                                                working + QStringLiteral(".bad"),
                                                dir.filePath(folderLockFileName())};
        for (std::size_t f = 0; f < kFilesPerFolder; ++f)
            copyPath(slot.files[f], files[f]);
        copyPath(slot.folder, folder);
        slot.used = true;
        return static_cast<int>(i);
    }
    return -1;
}

#ifndef _WIN32
extern "C" void cleanAndEnd(int signal) {
    for (CleanSlot& slot : cleanSlots) {
        if (!slot.used)
            continue;
        for (const auto& file : slot.files)
            (void)::unlink(file.data());
        (void)::rmdir(slot.folder.data());
    }
    // SA_RESETHAND has put the default action back: the signal now ends us.
    std::raise(signal);
}
#endif

} // namespace

ScratchFolder::ScratchFolder() : dir_(scratchTemplate()) {
    if (!dir_.isValid())
        return;
    (void)lock_.acquire(dir_.path());
    slot_ = registerFolder(dir_.path());
}

ScratchFolder::~ScratchFolder() {
    if (slot_ >= 0)
        cleanSlots[static_cast<std::size_t>(slot_)].used = false;
}

QString ScratchFolder::errorString() const {
    return dir_.isValid() ? QStringLiteral("the folder could not be locked") : dir_.errorString();
}

int removeAbandonedScratchFolders() {
    const QDir temp(QDir::tempPath());
    const QDateTime aMinuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
    int removed = 0;
    for (const QFileInfo& entry :
         temp.entryInfoList({QStringLiteral("Tarrow-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString lockPath = QDir(entry.filePath()).filePath(folderLockFileName());
        if (QFileInfo::exists(lockPath)) {
            // Taken only when the process that left it is gone.
            QLockFile lock(lockPath);
            lock.setStaleLockTime(0);
            if (!lock.tryLock(0))
                continue;
            lock.unlock();
        } else if (entry.lastModified().toUTC() > aMinuteAgo) {
            continue; // maybe being made by a process that will lock it next
        }
        if (QDir(entry.filePath()).removeRecursively())
            ++removed;
    }
    return removed;
}

void cleanScratchOnTermination() {
#ifndef _WIN32
    static std::atomic<bool> installed{false};
    if (installed.exchange(true))
        return;
    struct sigaction action {};
    action.sa_handler = cleanAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    (void)::sigaction(SIGTERM, &action, nullptr);
    (void)::sigaction(SIGINT, &action, nullptr);
#endif
}

} // namespace tarrow::platform
