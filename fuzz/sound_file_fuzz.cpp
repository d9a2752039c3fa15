// Any bytes as a sound file: no read or write out of bounds, a result from
// the list, the frames read within the room given, and a refused file reports
// no frames.
#include <array>
#include <cstdint>

#include "fuzz_input.h"
#include "platform/sound_file.h"

using namespace halvane;

namespace {

constexpr int32_t kRoom = 4096;
constexpr int16_t kGuard = 0x5a5a;
// The room, and guard samples after it that no read may touch.
std::array<int16_t, kRoom + 64> Samples;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    WriteFuzzFile("sound.wav", data, size);
    Samples.fill(kGuard);
    int32_t frames = -1;
    const SoundFileResult result = ReadSoundFile("sound.wav", Samples.data(), kRoom, frames);
    FuzzCheck(result == SoundFileResult::Read || result == SoundFileResult::Missing ||
                  result == SoundFileResult::NotOurFormat || result == SoundFileResult::TooLong,
              "result out of range");
    if (result == SoundFileResult::Read)
        FuzzCheck(frames >= 0 && frames <= kRoom, "frames beyond the room");
    else
        FuzzCheck(frames == -1, "a refused file reported frames");
    for (int32_t i = kRoom; i < static_cast<int32_t>(Samples.size()); ++i)
        FuzzCheck(Samples[static_cast<std::size_t>(i)] == kGuard, "wrote beyond the room");
    return 0;
}
