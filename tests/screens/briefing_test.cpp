// The mission briefings: waits, steps and their ticks, the flicker, the
// script strips, the music and the screenshot key.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/briefing.h"
#include "screens/briefing_texts.h"
#include "tests/files/temp_dir.h"
#include "tests/screens/screens_harness.h"

namespace halvane {
namespace {

void StartBriefing(int level) {
    PrepareScreens();
    LevelNumber = static_cast<float>(level);
    AnimCycle6 = 0; // the first step comes on the 5th frame, the second on the 13th
}

TEST(Briefing, ConfirmWaitsForTheReleaseAndTheSecondStep) {
    StartBriefing(1);
    FireCooldown = 7;
    HoldKey(kKeyEnter, 0, 0.3);
    HoldKey(kKeyEnter, 0.35, 3.0); // held through the fade in and the first step
    ShowBriefing();

    ASSERT_EQ(ShotCount, 17 + 13 + 17);
    EXPECT_GE(Shots[0].time, 0.3);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Shots[i].fade, std::min(15 * (i + 1), 255));
    EXPECT_EQ(CountPaced(17, 30), 13);
    EXPECT_EQ(Shots[30].hash, Shots[29].hash); // the fade out starts from the last frame
    EXPECT_EQ(Shots[46].fade, 0);
    EXPECT_GE(HeadlessClock() - kStart, 3.0);
    EXPECT_EQ(EffectCount(SfxBriefingLine), 2);
    // The menu tune stops before the first mission's tune; the game tune last.
    ASSERT_EQ(SoundCount, 2 + 1 + 2 + 2);
    EXPECT_EQ(Sounds[0].kind, SoundKind::Stop);
    EXPECT_STREQ(Sounds[1].music, "Sound/brief_music.mp3");
    EXPECT_EQ(Sounds[2].slot, &SfxBriefingOpen);
    EXPECT_EQ(Sounds[2].shotsBefore, 11);
    EXPECT_EQ(Sounds[5].kind, SoundKind::Stop);
    EXPECT_STREQ(Sounds[6].music, "Sound/game_music.mp3");
    EXPECT_EQ(FireCooldown, 0); // the craft respawned
}

// A pixel of full ink in `item` drawn on a black work page.
std::array<int, 2> InkPixel(const BriefingItem &item) {
    ClearWorkPage();
    DrawText(item.x, item.y, item.text, GameFont, 2, kTextTransparent);
    for (int y = item.y; y < item.y + GameFont.height; ++y)
        for (int x = item.x; x < 639; ++x)
            if (static_cast<uint32_t>(ReadPixel(x, y)) == kFontInk) return {x, y};
    return {0, 0};
}

TEST(Briefing, EveryMissionTicksOncePerStepAndFlickers) {
    const std::array<uint32_t, 3> flicker{Blend(kFontInk, kBriefingColour, 255),
                                          Blend(kFontInk, kBriefingColour, 245),
                                          Blend(kFontInk, kBriefingColour, 235)};
    for (int mission = 1; mission <= kMissions; ++mission) {
        SCOPED_TRACE(mission);
        StartBriefing(mission);
        const BriefingMission &m = BriefingMissions[mission];
        // The last two lines, drawn once each, and two points of the script strips.
        Probes[0] = InkPixel(m.items[static_cast<std::size_t>(m.itemCount - 2)]);
        Probes[1] = InkPixel(m.items[static_cast<std::size_t>(m.itemCount - 1)]);
        Probes[2] = mission == 4 ? std::array<int, 2>{349, 130} : std::array<int, 2>{346, 187};
        Probes[3] = mission == 4 ? std::array<int, 2>{602, 148} : std::array<int, 2>{40, 205};
        const double wellAfter = 0.4 + (m.lastStep + 8) * 8 / 23.0;
        HoldKey(kKeySpace, wellAfter, wellAfter + 0.1);
        ShowBriefing();

        EXPECT_EQ(EffectCount(SfxBriefingLine), m.lastStep);
        EXPECT_EQ(Sounds[0].kind, mission == 1 ? SoundKind::Stop : SoundKind::Music);
        std::array<int, 3> seen{};
        int frame = 0;
        int last = -1;
        for (int i = 0; i < ShotCount; ++i) {
            if (!Shots[i].paced) continue;
            ++frame;
            last = i;
            for (int probe = 0; probe <= 1; ++probe) {
                const uint32_t colour = Shots[i].probe[static_cast<std::size_t>(probe)];
                if (frame < 5 + 8 * (m.lastStep - 2 + probe)) { // before its step
                    EXPECT_EQ(colour, kBriefingColour) << "frame " << frame;
                    continue;
                }
                const auto at = std::find(flicker.begin(), flicker.end(), colour);
                ASSERT_NE(at, flicker.end()) << "frame " << frame;
                seen[static_cast<std::size_t>(at - flicker.begin())] += probe == 0;
                EXPECT_EQ(colour, Shots[i].probe[0]) << "frame " << frame; // one opacity a frame
            }
        }
        for (int count : seen)
            EXPECT_GT(count, 5);
        ASSERT_GE(last, 0);
        if (mission >= 4) {
            EXPECT_EQ(Shots[last].probe[2], kScriptColours[mission == 4 ? 1 : 4]);
            EXPECT_EQ(Shots[last].probe[3], kScriptColours[mission == 4 ? 2 : 3]);
        }
    }
}

class BriefingFiles : public TempDirTest {};

TEST_F(BriefingFiles, HoldingSSavesOneScreenshotPerPress) {
    StartBriefing(3);
    ScreenshotNumber = 1;
    HoldKey(kKeyS, 0.8, 1.3);
    HoldKey(kKeyS, 1.5, 1.6);
    HoldKey(kKeyEnter, 2.5, 2.6);
    ShowBriefing();
    EXPECT_TRUE(std::filesystem::exists("screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    EXPECT_EQ(ScreenshotNumber, 3);
}

} // namespace
} // namespace halvane
