#include "store/schema.h"

#include <SQLiteCpp/Database.h>

#include <filesystem>

namespace tarrow::store {

namespace {

// Times are stored as local "YYYY-MM-DD HH:MM:SS" texts; every count and sum is
// an SQLite INTEGER (64 bits), so no figure can overflow. The implicit rowid keeps
// the order in which rows were appended.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS RawPortData (
    Port INTEGER NOT NULL,
    CallType INTEGER NOT NULL,
    StartTime TEXT NOT NULL,
    LinesAvailableToTakeCalls INTEGER NOT NULL,
    LinesInUse INTEGER NOT NULL,
    StartMinute INTEGER NOT NULL,
    EndTime TEXT,
    Seconds INTEGER,
    EndMinute INTEGER
);
CREATE TABLE IF NOT EXISTS PortAvailability (
    Minute INTEGER NOT NULL,
    MinLinesAvailableToTakeCalls INTEGER NOT NULL,
    MaxLinesInUse INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS CallTraffic (
    Minute INTEGER NOT NULL,
    InboundCalls INTEGER NOT NULL,
    MWIDialouts INTEGER NOT NULL,
    AMISDialouts INTEGER NOT NULL,
    NotificationDialouts INTEGER NOT NULL,
    TRAPDialouts INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS CallDistribution (
    Port INTEGER NOT NULL,
    InboundCalls INTEGER NOT NULL,
    MWIDialouts INTEGER NOT NULL,
    AMISDialouts INTEGER NOT NULL,
    NotificationDialouts INTEGER NOT NULL,
    TRAPDialouts INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS PortTimeUsage (
    Port INTEGER NOT NULL,
    InboundCalls INTEGER NOT NULL,
    InboundCallSeconds REAL NOT NULL,
    MWIDialouts INTEGER NOT NULL,
    MWIDialoutSeconds REAL NOT NULL,
    AMISDialouts INTEGER NOT NULL,
    AMISDialoutSeconds REAL NOT NULL,
    NotificationDialouts INTEGER NOT NULL,
    NotificationDialoutSeconds REAL NOT NULL,
    TRAPDialouts INTEGER NOT NULL,
    TRAPDialoutSeconds REAL NOT NULL
);
)sql";

} // namespace

void createSchema(SQLite::Database& db) {
    db.exec(kSchema);
}

void writeTemplateFile(const std::string& path) {
    std::filesystem::remove(path);
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("PRAGMA page_size=16384");
    createSchema(db);
}

} // namespace tarrow::store
