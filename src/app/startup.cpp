#include "app/startup.h"

#include "logparse/logfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarrow::app {

QString chooseDataFolder(const QString& programFolder, const QString& overrideDir) {
    if (!overrideDir.isEmpty())
        return QDir(overrideDir).absolutePath();
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable())
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

namespace {

// Opens the working database. A file that is no sound database holds only
// scratch data: it is kept aside for inspection and replaced from the template.
// Fails with the error that is left.
platform::Result openWorkingDatabase(load::AppState& state, const QString& prefix,
                                     QStringList& messages) {
    const platform::Result opened = state.database.open();
    if (opened.ok() || !state.database.foundDamage())
        return opened;
    platform::Result repaired = store::setAsideWorkingFile(state.dataFolder);
    if (repaired.ok())
        repaired = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (repaired.ok())
        repaired = state.database.open();
    if (!repaired.ok()) {
        messages << prefix + opened.error();
        return repaired;
    }
    messages << prefix + opened.error() +
                    QStringLiteral(" The damaged working database was kept as \"%1.bad\" and "
                                   "replaced by an empty one.")
                        .arg(store::workingFileName());
    return {};
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
    else if (const auto emptied = store::emptyRawPortData(state.database); !emptied.ok())
        messages << prefix + emptied.error();
    state.day = load::LoadedDay{};
    state.server = serverprobe::getVersion(registry, messages);
    return messages;
}

load::LoadOutcome loadDay(load::AppState& state, const QString& folder, const QDate& day,
                          const QString& entryText, const load::LoadProgress& progress) {
    load::LoadRequest request;
    request.folder = folder;
    request.prefix = logparse::logFilePrefix(state.server.newerGeneration);
    request.day = day;
    request.entryText = entryText;
    request.zone = state.zone;
    request.dateOrder = logparse::dateOrderOf(state.locale);
    load::LoadOutcome outcome = load::loadDay(state.database, request, state.day, progress);
    // A folder that could not be read changed nothing: the loaded day stays.
    if (outcome.folderError.isEmpty())
        state.day = std::move(outcome.day);
    return outcome;
}

} // namespace tarrow::app
