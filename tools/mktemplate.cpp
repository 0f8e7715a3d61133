// Writes the empty template database: the five tables, no rows.
#include "store/schema.h"

#include <SQLiteCpp/Database.h>

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarrow_mktemplate FILE\n");
        return 2;
    }
    try {
        std::filesystem::remove(argv[1]);
        SQLite::Database db(argv[1], SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        tarrow::store::createSchema(db);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarrow_mktemplate: %s\n", e.what());
        return 1;
    }
    return 0;
}
