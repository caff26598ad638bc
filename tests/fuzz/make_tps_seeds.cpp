// Writes the TopSpeed fuzz seed corpus (the fixture writer's seed files)
// into the folder given: make_tps_seeds tests/fuzz/tps_corpus

#include "tests/platform/data/tps/tps_seed_files.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const auto& [name, bytes] : tps_fixture::SeedFiles()) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out << bytes;
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
