#pragma once

#include <QString>

namespace SQLite {
class Database;
}

namespace tarrow::store {

// Creates the five tables of the working database when they are missing.
// The same statements build the empty template shipped beside the program.
void createSchema(SQLite::Database& db);

// The result tables in the order ClearDatabases empties them.
inline constexpr const char* kResultTables[] = {"PortAvailability", "CallDistribution",
                                                "CallTraffic", "PortTimeUsage"};

} // namespace tarrow::store
