// Writes the empty template database: the five tables, no rows.
#include "store/schema.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarrow_mktemplate FILE\n");
        return 2;
    }
    try {
        tarrow::store::writeTemplateFile(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarrow_mktemplate: %s\n", e.what());
        return 1;
    }
    return 0;
}
