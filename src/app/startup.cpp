#include "app/startup.h"

#include "platform/folderlock.h"
#include "platform/scratchfolder.h"

#include "logparse/logfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarrow::app {

namespace {
// The program's own files in an installed layout, from its bin/ folder.
const QString kInstalledFolder = QStringLiteral("../share/tarrow");
} // namespace

QString programFolderOf(const QString& executableFolder) {
    const QDir executable(executableFolder);
    if (QFileInfo::exists(executable.filePath(store::templateFileName())))
        return executableFolder;
    const QString installed = QDir::cleanPath(executable.filePath(kInstalledFolder));
    if (QFileInfo::exists(QDir(installed).filePath(store::templateFileName())))
        return installed;
    return executableFolder;
}

bool isInstalled(const QString& programFolder) {
    return QDir::cleanPath(programFolder).endsWith(QStringLiteral("/share/tarrow"));
}

QString chooseDataFolder(const QString& programFolder, const QString& overrideDir) {
    if (!overrideDir.isEmpty())
        return QDir(overrideDir).absolutePath();
    const QFileInfo program(programFolder);
    if (!isInstalled(programFolder) && program.isDir() && program.isWritable())
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

namespace {

// Opens the working database and empties RawPortData.
platform::Result openAndEmpty(store::WorkingDatabase& database) {
    const platform::Result opened = database.open();
    return opened.ok() ? store::emptyRawPortData(database) : opened;
}

} // namespace

platform::Result replaceDamagedDatabase(load::AppState& state) {
    state.database.close();
    state.day = load::LoadedDay{};
    platform::Result replaced = store::setAsideWorkingFile(state.dataFolder);
    if (replaced.ok())
        replaced = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (replaced.ok())
        replaced = openAndEmpty(state.database);
    return replaced;
}

QString damageReplacedMessage(const QString& found) {
    QString message = found.trimmed();
    if (!message.endsWith(QLatin1Char('.')))
        message += QLatin1Char('.');
    return message + QStringLiteral(" The damaged working database was kept as \"%1.bad\" and "
                                    "replaced by an empty one.")
                         .arg(store::workingFileName());
}

namespace {

// Opens the working database and empties RawPortData; a file found damaged on
// the way is replaced (see replaceDamagedDatabase). Fails with the error that
// is left.
platform::Result openWorkingDatabase(load::AppState& state, const QString& prefix,
                                     QStringList& messages) {
    const platform::Result opened = openAndEmpty(state.database);
    if (opened.ok() || !state.database.foundDamage())
        return opened;
    const platform::Result replaced = replaceDamagedDatabase(state);
    messages << (replaced.ok() ? damageReplacedMessage(prefix + opened.error())
                               : prefix + opened.error());
    return replaced;
}

} // namespace

QStringList startUp(load::AppState& state, const serverprobe::RegistryApi& registry) {
    QStringList messages;
    const QString prefix = QStringLiteral("Error in form load routine: ");
    if (const auto prepared = store::prepareWorkingFile(state.programFolder, state.dataFolder);
        !prepared.ok())
        messages << prefix + prepared.error();
    state.database.setConnectionString(store::connectionString(state.dataFolder));
    if (const auto opened = openWorkingDatabase(state, prefix, messages); !opened.ok())
        messages << prefix + opened.error();
    state.day = load::LoadedDay{};
    state.server = serverprobe::getVersion(registry, messages);
    return messages;
}

QString settleWindowFolder(load::AppState& state, platform::FolderLock& lock,
                           const QString& overrideDir,
                           std::unique_ptr<platform::ScratchFolder>& own) {
    state.dataFolder = chooseDataFolder(state.programFolder, overrideDir);
    const platform::Result locked = lock.acquire(state.dataFolder);
    if (locked.ok())
        return {};
    own = std::make_unique<platform::ScratchFolder>();
    state.dataFolder = own->path();
    return locked.error() +
           QStringLiteral(" This window works on a working database of its own in a temporary "
                          "folder, which goes when the window closes.");
}

load::LoadRequest folderRequest(const load::AppState& state, const QString& folder) {
    load::LoadRequest request;
    request.folder = folder;
    request.prefix = logparse::logFilePrefix(state.server.newerGeneration);
    request.zone = state.zone;
    request.dateOrder = state.dateOrder.value_or(logparse::dateOrderOf(state.locale));
    return request;
}

load::LoadOutcome loadDay(load::AppState& state, const QString& folder, const QDate& day,
                          const QString& entryText, const load::LoadProgress& progress) {
    load::LoadRequest request = folderRequest(state, folder);
    request.day = day;
    request.entryText = entryText;
    load::LoadOutcome outcome = load::loadDay(state.database, request, state.day, progress);
    if (outcome.storeFailed() && state.database.foundDamage()) {
        // The peaks go on from the day before the damaged file, as they would have.
        const load::LoadedDay before = state.day.carriedOver();
        const QString found = outcome.errors.constFirst();
        if (const platform::Result replaced = replaceDamagedDatabase(state); !replaced.ok()) {
            outcome.errors << replaced.error();
            return outcome;
        }
        outcome = load::loadDay(state.database, request, before, progress);
        outcome.repairNote = damageReplacedMessage(found);
    }
    // A folder that could not be read changed nothing: the loaded day stays.
    if (outcome.folderError.isEmpty())
        state.day = std::move(outcome.day);
    return outcome;
}

} // namespace tarrow::app
