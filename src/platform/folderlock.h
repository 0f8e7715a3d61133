#pragma once

#include "platform/result.h"

#include <QString>

#include <memory>

class QLockFile;

namespace tarrow::platform {

// Holds a data folder for this process alone, so two Tarrow processes never
// interleave their rows in one working database. The lock is released when
// this object goes (or the process ends: a lock left by a dead process is
// taken over).
class FolderLock {
public:
    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Fails with a message naming the folder and the process holding it when
    // another process has it, and saying so when the folder cannot be made
    // or written.
    Result acquire(const QString& folder);
    [[nodiscard]] bool held() const;

private:
    std::unique_ptr<QLockFile> lock_;
};

// The name of the lock file in a data folder.
[[nodiscard]] QString folderLockFileName();

} // namespace tarrow::platform
