#pragma once

#include <QString>

#include <string>

namespace SQLite {
class Database;
}

namespace tarrow::store {

// Creates the five tables of the working database when they are missing.
// The same statements build the empty template shipped beside the program.
void createSchema(SQLite::Database& db);

// Writes the empty template database at path (replacing any file there):
// the five tables with 16 KB pages, which suit a table of a million short
// rows written at once. Throws on failures.
void writeTemplateFile(const std::string& path);

// The result tables in the order ClearDatabases empties them.
inline constexpr const char* kResultTables[] = {"PortAvailability", "CallDistribution",
                                                "CallTraffic", "PortTimeUsage"};

} // namespace tarrow::store
