#include "app/startup.h"

#include "logparse/logfiles.h"
#include "platform/civiltime.h"

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
// Returns the error that is left, or an empty text.
QString openWorkingDatabase(AppState& state, const QString& prefix, QStringList& messages) {
    const QString failure = state.database.open();
    if (failure.isEmpty() || !state.database.foundDamage())
        return failure;
    QString error = store::setAsideWorkingFile(state.dataFolder);
    if (error.isEmpty())
        error = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (error.isEmpty())
        error = state.database.open();
    if (!error.isEmpty()) {
        messages << prefix + failure;
        return error;
    }
    messages << prefix + failure +
                    QStringLiteral(" The damaged working database was kept as \"%1.bad\" and "
                                   "replaced by an empty one.")
                        .arg(store::workingFileName());
    return {};
}

} // namespace

QStringList startUp(AppState& state, const serverprobe::RegistryApi& registry) {
    QStringList messages;
    const QString prefix = QStringLiteral("Error in form load routine: ");
    const QString prepared = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (!prepared.isEmpty())
        messages << prefix + prepared;
    state.database.setConnectionString(store::connectionString(state.dataFolder));
    const QString opened = openWorkingDatabase(state, prefix, messages);
    if (!opened.isEmpty())
        messages << prefix + opened;
    else if (const QString emptied = store::emptyRawPortData(state.database); !emptied.isEmpty())
        messages << prefix + emptied;
    state.dataDate = QDateTime::currentDateTime();
    state.server = serverprobe::getVersion(registry, messages);
    return messages;
}

logparse::LoadOutcome loadDay(AppState& state, const QString& folder, const QDate& day,
                              const QString& entryText, const logparse::LoadProgress& progress) {
    logparse::LoadRequest request;
    request.folder = folder;
    request.prefix = logparse::logFilePrefix(state.server.newerGeneration);
    request.day = day;
    request.entryText = entryText;
    request.zone = state.zone;
    request.dateOrder = logparse::dateOrderOf(state.locale);
    state.totals.lastEventTime.reset();
    logparse::LoadOutcome outcome =
        logparse::loadDay(state.database, state.totals, request, progress);
    if (state.totals.lastEventTime) {
        const std::int64_t t = *state.totals.lastEventTime;
        const civil::Date d = civil::civilFromDays(civil::dayOf(t));
        state.dataDate =
            QDateTime(QDate(d.year, d.month, d.day), QTime(0, 0).addSecs(civil::secondOfDay(t)));
    }
    return outcome;
}

} // namespace tarrow::app
