#pragma once

#include "load/loadedday.h"
#include "logparse/fieldreaders.h"
#include "serverprobe/mervoxversion.h"
#include "store/workingdatabase.h"

#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <optional>

namespace tarrow::load {

// The state the main window owns and every report window reads: where the
// working database is, the loaded day, and the server probe's answer. The
// command line builds the same struct.
struct AppState {
    QString programFolder; // the executable's folder: template, help page, ...
    QString dataFolder;    // where the working database lives
    store::WorkingDatabase database;
    LoadedDay day;
    serverprobe::ServerVersion server;
    QTimeZone zone = QTimeZone::systemTimeZone();
    QLocale locale = QLocale::system();
    // How slash dates in the logs are read when the user chose (--date-order);
    // otherwise the locale's order.
    std::optional<logparse::DateOrder> dateOrder;
};

} // namespace tarrow::load
