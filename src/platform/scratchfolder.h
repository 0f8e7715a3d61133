#pragma once

#include "platform/folderlock.h"

#include <QString>
#include <QTemporaryDir>

namespace tarrow::platform {

// A private working folder in the temporary folder ("Tarrow-XXXXXX"), held by
// this process's folder lock and removed when it goes, when the process is
// told to end (SIGTERM, SIGINT) or, after a crash or SIGKILL, by the next
// Tarrow that starts.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] bool isValid() const { return dir_.isValid() && lock_.held(); }
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString errorString() const;

private:
    QTemporaryDir dir_;
    FolderLock lock_;
    int slot_ = -1; // in the list a termination signal cleans
};

// Removes the scratch folders of Tarrow processes that no longer run: those
// whose lock is left by a dead process (or that have none and are more than a
// minute old). Returns how many went.
int removeAbandonedScratchFolders();

// On SIGTERM and SIGINT, removes the scratch folders that exist, then ends
// the process as the signal would have. Installed once; later calls do
// nothing.
void cleanScratchOnTermination();

} // namespace tarrow::platform
