#pragma once

#include "load/appstate.h"
#include "platform/statusdisplay.h"
#include "support/tempfolder.h"

#include <SQLiteCpp/Database.h>

#include <QStringList>

#include <memory>
#include <string>

namespace tarrow::testing {

// Records what long work showed in the status frame.
class RecordingStatus : public platform::StatusDisplay {
public:
    QStringList captions;
    void showStatus(const QString& caption, qint64) override { captions << caption; }
    void setStatusValue(qint64) override {}
    void hideStatus() override {}
};

// A program state working in a temporary folder (template written there), in
// UTC with United States English day names and dates.
void useTempFolder(load::AppState& state, const TempFolder& dir);

// Overwrites the first page of a table of a closed database file with
// garbage, so reading or emptying that table finds the file damaged.
void damageTable(const QString& databasePath, const std::string& table);

// A working database in a temporary folder, opened as at start-up.
class WorkingDatabaseFixture {
public:
    WorkingDatabaseFixture();
    // Appends one row to the loaded day, and its call lines (a closed leg's
    // disconnect at start + seconds); end columns are null when endMinute < 0.
    void addRow(int port, int callType, int startMinute, int inUse, int available,
                int endMinute = -1, int seconds = 0);
    void exec(const std::string& sql) { state.database.db().exec(sql); }
    [[nodiscard]] qint64 count(const std::string& table);

    TempFolder dir;
    load::AppState state;
};

} // namespace tarrow::testing
