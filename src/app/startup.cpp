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

QStringList startUp(AppState& state, const serverprobe::RegistryApi& registry) {
    QStringList messages;
    const QString prefix = QStringLiteral("Error in form load routine: ");
    const QString prepared = store::prepareWorkingFile(state.programFolder, state.dataFolder);
    if (!prepared.isEmpty())
        messages << prefix + prepared;
    state.database.setConnectionString(store::connectionString(state.dataFolder));
    QString opened = state.database.open();
    if (!opened.isEmpty() && state.database.foundDamage()) {
        // The working database holds only scratch data: keep the damaged file
        // for inspection and start again from the template.
        QString recovered = store::setAsideWorkingFile(state.dataFolder);
        if (recovered.isEmpty())
            recovered = store::prepareWorkingFile(state.programFolder, state.dataFolder);
        if (recovered.isEmpty() && (recovered = state.database.open()).isEmpty())
            opened += QStringLiteral(" The damaged working database was kept as \"%1.bad\" and "
                                     "replaced by an empty one.")
                          .arg(store::workingFileName());
        messages << prefix + opened;
        opened = recovered;
    }
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
    request.prefix = serverprobe::logFilePrefix(state.server);
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
