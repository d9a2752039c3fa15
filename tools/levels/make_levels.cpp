// make_levels -- builds the level files from their descriptions:
//   make_levels <folder of level1.txt..level5.txt> <output folder>
// writes levelN.dat for each level and prints the end structure's sum and the
// hits it needs.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/levels/level_script.h"

using namespace halvane;

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_levels <description folder> <output folder>\n");
        return 2;
    }
    const std::string from = argv[1];
    const std::string to = argv[2];
    for (int level = 1; level <= 5; ++level) {
        const std::string source = from + "/level" + std::to_string(level) + ".txt";
        std::ifstream in(source);
        if (!in) {
            std::fprintf(stderr, "make_levels: cannot read %s\n", source.c_str());
            return 1;
        }
        std::stringstream description;
        description << in.rdbuf();
        LevelGrid grid;
        std::string error;
        if (!BuildLevel(description.str(), grid, error)) {
            std::fprintf(stderr, "%s: %s\n", source.c_str(), error.c_str());
            return 1;
        }
        const double sum = StructureSumOf(grid);
        if (HitsNeeded(sum) == 0) {
            std::fprintf(stderr, "%s: the end structure sums to %.4f and falls at once\n",
                         source.c_str(), sum);
            return 1;
        }
        const std::string target = to + "/level" + std::to_string(level) + ".dat";
        std::ofstream out(target, std::ios::binary);
        out << LevelFileText(grid);
        out.close();
        if (!out) {
            std::fprintf(stderr, "make_levels: cannot write %s\n", target.c_str());
            return 1;
        }
        std::printf("level %d: structure sum %.4f, %d hits\n", level, sum, HitsNeeded(sum));
    }
    return 0;
}
