// The sound files: what the tool writes the game reads back exactly, and
// every file the game cannot use leaves its sound silent with a message
// instead of stopping or misleading the game.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio_mixer.h"
#include "platform/sound_file.h"
#include "platform/sound_store.h"
#include "tests/files/temp_dir.h"

namespace halvane {
namespace {

std::vector<uint8_t> ReadAll(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put32(std::vector<uint8_t> &bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

class SoundFiles : public TempDirTest {
  protected:
    // A known file: an asymmetric ramp, so swapped bytes or a shifted start show.
    std::vector<uint8_t> GoodFile() {
        std::array<int16_t, 5> samples{-300, 2, 1000, -32768, 32767};
        EXPECT_TRUE(WriteSoundFile("good.wav", {samples.data(), 5}));
        return ReadAll("good.wav");
    }
    SoundFileResult Read(const std::vector<uint8_t> &bytes, int32_t capacity = 100) {
        WriteBytes("probe.wav", bytes);
        frames = -1;
        into.fill(7);
        return ReadSoundFile("probe.wav", into.data(), capacity, frames);
    }
    std::array<int16_t, 100> into{};
    int32_t frames = -1;
};

TEST_F(SoundFiles, WhatIsWrittenReadsBackWithAChunkBetween) {
    std::vector<uint8_t> bytes = GoodFile();
    ASSERT_EQ(bytes.size(), 44u + 10u);
    EXPECT_EQ(Read(bytes), SoundFileResult::Read);
    EXPECT_EQ(frames, 5);
    EXPECT_EQ(into[0], -300);
    EXPECT_EQ(into[3], -32768);
    EXPECT_EQ(into[4], 32767);
    EXPECT_EQ(into[5], 7); // nothing beyond
    // An odd-sized chunk of a kind we skip, before the samples.
    std::vector<uint8_t> list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    EXPECT_EQ(Read(bytes), SoundFileResult::Read);
    EXPECT_EQ(into[2], 1000);
}

TEST_F(SoundFiles, FilesTheGameCannotUseReadNothing) {
    const std::vector<uint8_t> good = GoodFile();
    struct Case {
        const char *what;
        std::size_t at; // byte to change, or the length to cut to
        uint32_t value; // new 32-bit value at `at`; kCut: cut the file there
        SoundFileResult expected;
    };
    constexpr uint32_t kCut = 0xffffffff;
    const std::array<Case, 9> cases{{
        {"not RIFF", 0, 0x46464952 + 1, SoundFileResult::NotOurFormat},
        {"stereo", 20, 0x00020001, SoundFileResult::NotOurFormat},
        {"compressed", 20, 0x00010003, SoundFileResult::NotOurFormat},
        {"22 kHz", 24, 22050, SoundFileResult::NotOurFormat},
        {"8-bit", 32, 0x00080001, SoundFileResult::NotOurFormat},
        {"samples cut short", 50, kCut, SoundFileResult::NotOurFormat},
        {"header cut short", 30, kCut, SoundFileResult::NotOurFormat},
        {"odd sample bytes", 40, 9, SoundFileResult::NotOurFormat},
        {"more than the room", 40, 2 * 101, SoundFileResult::TooLong},
    }};
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes = good;
        if (c.value == kCut)
            bytes.resize(c.at);
        else
            Put32(bytes, c.at, c.value);
        if (c.expected == SoundFileResult::TooLong) bytes.resize(44 + 202, 0);
        EXPECT_EQ(Read(bytes), c.expected) << c.what;
        EXPECT_EQ(frames, -1) << c.what;
    }
    EXPECT_EQ(ReadSoundFile("absent.wav", into.data(), 100, frames), SoundFileResult::Missing);
    std::filesystem::create_directory("folder.wav");
    EXPECT_EQ(ReadSoundFile("folder.wav", into.data(), 100, frames), SoundFileResult::Missing);
    // Endless chunks of other kinds are given up on, not followed forever.
    std::vector<uint8_t> chunks(good.begin(), good.begin() + 12);
    for (int i = 0; i < 40; ++i)
        chunks.insert(chunks.end(), {'j', 'u', 'n', 'k', 0, 0, 0, 0});
    EXPECT_EQ(Read(chunks), SoundFileResult::NotOurFormat);
}

TEST_F(SoundFiles, TheGameLoadsEveryFileAndLeavesAMissingOneSilent) {
    ResetAudioMixer();
    std::filesystem::create_directory("Sound");
    // Each file holds one sample: its own number.
    for (int e = 1; e <= kEffectCount; ++e) {
        const int16_t value = static_cast<int16_t>(e);
        ASSERT_TRUE(WriteSoundFile(
            ("Sound/" + std::string(kEffectFileNames[static_cast<std::size_t>(e)])).c_str(),
            {&value, 1}));
    }
    for (int t = 1; t <= kTuneCount; ++t) {
        const int16_t value = static_cast<int16_t>(100 * t);
        ASSERT_TRUE(WriteSoundFile(
            ("Sound/" + std::string(kTuneFileNames[static_cast<std::size_t>(t)])).c_str(),
            {&value, 1}));
    }
    std::filesystem::remove("Sound/fx_ship_pass.wav");
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSoundFiles("Sound"), kEffectCount + kTuneCount - 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "halvane: Sound/fx_ship_pass.wav cannot be read; that sound stays silent\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSoundFiles("Nothing"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "halvane: no sound files in Nothing/; playing silently\n");
    EXPECT_EQ(LoadSoundFiles("Sound"), kEffectCount + kTuneCount - 1);

    SetVolumeSteps(4, 4);
    for (int e = 1; e <= kEffectCount; ++e) {
        RequestEffect(e);
        int16_t out = 0;
        MixAudio(&out, 1);
        EXPECT_EQ(out, e == kEffectShipPass ? 0 : e) << e;
    }
    RequestTune(kTuneEnd);
    int16_t out = 0;
    MixAudio(&out, 1);
    EXPECT_EQ(out, 400);
}

} // namespace
} // namespace halvane
