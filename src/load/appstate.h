#pragma once

#include "load/loadday.h"
#include "serverprobe/mervoxversion.h"
#include "store/workingdatabase.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

namespace tarrow::app {

// The state the main window owns and every report window reads: where the
// working database is, what the last load found, and the server probe's answer.
// The command line builds the same struct.
struct AppState {
    QString programFolder; // the executable's folder: template, help page, ...
    QString dataFolder;    // where the working database lives
    store::WorkingDatabase database;
    QDateTime dataDate = QDateTime::currentDateTime();
    logparse::LoadTotals totals;
    serverprobe::ServerVersion server;
    QTimeZone zone = QTimeZone::systemTimeZone();
    QLocale locale = QLocale::system();
};

} // namespace tarrow::app
