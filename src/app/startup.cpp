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

// Opens the working database and empties RawPortData.
platform::Result openAndEmpty(store::WorkingDatabase& database) {
    const platform::Result opened = database.open();
    return opened.ok() ? store::emptyRawPortData(database) : opened;
}

// Opens the working database and empties RawPortData. A file found damaged on
// the way (not a database, damaged inside, left by a load that did not finish)
// holds only scratch data: it is kept aside for inspection and replaced from
// the template, with one message. Fails with the error that is left.
platform::Result openWorkingDatabase(load::AppState& state, const QString& prefix,
                                     QStringList& messages) {
    const platform::Result opened = openAndEmpty(state.database);
    if (opened.ok() || !state.database.foundDamage())
        return opened;
    state.database.close();
    platform::Result repaired = store::setAsideWorkingFile(state.dataFolder);
    if (repaired.ok())
        repaired = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (repaired.ok())
        repaired = openAndEmpty(state.database);
    if (!repaired.ok()) {
        messages << prefix + opened.error();
        return repaired;
    }
    QString found = opened.error();
    if (!found.endsWith(QLatin1Char('.')))
        found += QLatin1Char('.');
    messages << prefix + found +
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
