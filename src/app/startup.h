#pragma once

#include "load/appstate.h"
#include "load/loadday.h"

#include <QString>

#include <QStringList>
#include <memory>

namespace tarrow::serverprobe {
class RegistryApi;
}

namespace tarrow::platform {
class FolderLock;
class ScratchFolder;
} // namespace tarrow::platform

namespace tarrow::app {

// The folder of the program's own files (the database template, the help
// page, language libraries): the executable's folder in a build, share/tarrow
// beside its bin/ folder when installed.
[[nodiscard]] QString programFolderOf(const QString& executableFolder);
// Whether that folder is an installed one (share/tarrow).
[[nodiscard]] bool isInstalled(const QString& programFolder);

// The folder for the working database: the override when given, else the
// program folder when it is writable and not installed, else the per-user
// data folder.
[[nodiscard]] QString chooseDataFolder(const QString& programFolder, const QString& overrideDir);

// Prepares the working database (copied from its template when missing, made
// writable, opened, RawPortData emptied) and probes the installed server.
// Returns the messages to show, one per failing step.
[[nodiscard]] QStringList startUp(load::AppState& state, const serverprobe::RegistryApi& registry);

// The working database holds only scratch data rebuilt from the logs, so a file
// found damaged at any point (not a database, damaged inside, left by a load
// that did not finish) is kept aside as "PortData.mdb.bad" for inspection and
// replaced by an open, empty copy of the template. The loaded day is gone.
platform::Result replaceDamagedDatabase(load::AppState& state);
// The one message about it: what was found, then what was done.
[[nodiscard]] QString damageReplacedMessage(const QString& found);

// What reading days from a log folder takes from the state: the file prefix
// of the server generation, the zone and the locale's date order.
// The window's data folder, locked: the chosen one, or, when another window
// uses it or it cannot be written (no writable home folder), a private
// scratch folder made into `own`; the note then tells the user why, once.
[[nodiscard]] QString settleWindowFolder(load::AppState& state, platform::FolderLock& lock,
                                         const QString& overrideDir,
                                         std::unique_ptr<platform::ScratchFolder>& own);

[[nodiscard]] load::LoadRequest folderRequest(const load::AppState& state, const QString& folder);

// Runs "Load Data" for the state's working database; the loaded day moves into
// the state (unless the folder could not be read), problems included. A
// working database found damaged on the way is replaced and the day loaded
// again into the new one; repairNote says so.
[[nodiscard]] load::LoadOutcome loadDay(load::AppState& state, const QString& folder,
                                        const QDate& day, const QString& entryText,
                                        const load::LoadProgress& progress = {});

} // namespace tarrow::app
