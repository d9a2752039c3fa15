// The sound tool: `halvane_sounds <folder>` writes the fourteen effects and
// four tunes into <folder> (the game reads them from Sound/). Exit code 1
// when a file cannot be written.
#include <array>
#include <cstdio>

#include "platform/sound_file.h"
#include "platform/sound_store.h"
#include "sound/sound_maker.h"

namespace {

bool Write(const char *folder, const char *name, halvane::SampleBlock block) {
    std::array<char, 512> path{};
    std::snprintf(path.data(), path.size(), "%s/%s", folder, name);
    if (halvane::WriteSoundFile(path.data(), block)) return true;
    std::fprintf(stderr, "halvane_sounds: cannot write %s\n", path.data());
    return false;
}

} // namespace

int main(int argc, char **argv) {
    using namespace halvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: halvane_sounds <folder>\n");
        return 2;
    }
    MakeSounds();
    bool ok = true;
    for (int effect = 1; effect <= kEffectCount; ++effect)
        ok = Write(argv[1], kEffectFileNames[static_cast<std::size_t>(effect)],
                   EffectSound(effect)) &&
             ok;
    for (int tune = 1; tune <= kTuneCount; ++tune)
        ok = Write(argv[1], kTuneFileNames[static_cast<std::size_t>(tune)], TuneSound(tune)) && ok;
    return ok ? 0 : 1;
}
