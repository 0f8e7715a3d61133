#include "platform/folderlock.h"

#include "platform/shownpath.h"

#include <QDir>
#include <QLockFile>

namespace tarrow::platform {

QString folderLockFileName() {
    return QStringLiteral("PortData.mdb.lock");
}

FolderLock::FolderLock() = default;
FolderLock::~FolderLock() = default;

bool FolderLock::held() const {
    return lock_ && lock_->isLocked();
}

Result FolderLock::acquire(const QString& folder) {
    lock_.reset();
    (void)QDir().mkpath(folder);
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(folderLockFileName()));
    // A lock is stale only when its process is gone, never because it is old:
    // a window may hold its folder for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return {};
    }
    // A folder that cannot be made or written (no writable home, a read-only
    // disk) is no place for a working database either: said at once, rather
    // than by every step that would fail in it later.
    if (lock->error() != QLockFile::LockFailedError)
        return Result::failure(QStringLiteral("The data folder \"%1\" cannot be written.")
                                   .arg(platform::shownPath(folder)));
    qint64 pid = 0;
    QString host;
    QString program;
    QString holder;
    if (lock->getLockInfo(&pid, &host, &program))
        holder = QStringLiteral(" (process %1)").arg(pid);
    return Result::failure(QStringLiteral("The data folder \"%1\" is in use by another Tarrow%2.")
                               .arg(platform::shownPath(folder), holder));
}

} // namespace tarrow::platform
