// replay_run.cpp -- the steps the recorder and the player share: the page
// hash, the summary line of a run, and handing each call to the side in use.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "core/game_state.h"
#include "core/image.h"
#include "platform/replay.h"
#include "platform/replay_file.h"
#include "platform/replay_sides.h"
#include "platform/screen.h"

namespace halvane {

namespace {

// The score of the game played last: the menu sets Score to 0 when it takes
// over again, so it is noted at every page shown in a game.
float LastGameScore = 0;

} // namespace

uint64_t VisiblePageHash() {
    if (!ScreenIsOpen()) return 0;
    const std::size_t bytes =
        std::size_t{kScreenWidth} * kScreenHeight * static_cast<std::size_t>(ScreenBytesPerPixel());
    return HashBytes(std::span<const uint8_t>(PageView(VisiblePageIndex()), bytes));
}

void NoteGameScore() {
    if (LevelNumber > 0) LastGameScore = Score;
}

void PrintRunSummary(const char *what, uint64_t frames) {
    std::printf("%s: %" PRIu64 " frames, score %.0f, best score %d, last page %016" PRIx64 "\n",
                what, frames, static_cast<double>(LastGameScore), static_cast<int>(HiScore),
                VisiblePageHash());
    std::fflush(stdout);
}

void ReplayPagePresented() {
    if (Recording()) RecordPresent();
    if (Replaying()) PlayPresent();
}

void CarryHeaderFiles(const ReplayHeader &header) {
    for (std::size_t c = 0; c < kCarriedFiles.size(); ++c) {
        const ReplayFileEntry &f = header.files[kShippedFiles.size() + c];
        const bool present = f.size != kFileMissing;
        const std::size_t size = present ? std::min<std::size_t>(f.size, kMaxCarriedBytes) : 0;
        CarryFile(c, std::span<const char>(header.carried[c].data(), size), present);
    }
}

int ReplayProgramEnds(int code) {
    code = FinishRecording(code);
    return FinishPlaying(code);
}

} // namespace halvane
