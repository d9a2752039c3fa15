// startup.cpp -- the program's start-up sequence, one straight run.
#include "app/startup.h"

#include "app/main_menu.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio_device.h"
#include "platform/display.h"
#include "platform/file_places.h"
#include "platform/image_file.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/sound_store.h"
#include "platform/text_fields.h"
#include "platform/timing.h"
#include "render/font.h"
#include "render/models.h"
#include "screens/hiscore_file.h"

namespace halvane {

namespace {

constexpr int kSetupFile = 2;
constexpr const char *kFontFile = "Graphics/zqfont.fnt";

struct FullScreenPicture {
    const char *fileName;
    int slot;
};

constexpr FullScreenPicture kFullScreenPictures[] = {
    {"Graphics/mmenu.bgr", MenuBackground},      {"Graphics/backg1.bgr", LevelBackground1},
    {"Graphics/backg2.bgr", LevelBackground2},   {"Graphics/backg3.bgr", LevelBackground3},
    {"Graphics/backg4.bgr", LevelBackground4},   {"Graphics/briefscrn.bgr", BriefingBackground},
    {"Graphics/endgame.bgr", EndGameBackground},
};

struct SpriteCut {
    const char *sheet;
    int slot;
    int x1, y1, x2, y2; // corners included
};

// In loading order: slot 1 before 7, then 2 to 6.
constexpr SpriteCut kSpriteCuts[] = {
    {"Graphics/zqsprite.spr", 1, 0, 0, 106, 10}, {"Graphics/zqsprite.spr", 7, 112, 0, 125, 11},
    {"Graphics/crymsg.spr", 2, 0, 0, 319, 18},   {"Graphics/crymsg.spr", 3, 133, 20, 280, 38},
    {"Graphics/crymsg.spr", 4, 0, 40, 106, 58},  {"Graphics/crymsg.spr", 5, 0, 60, 306, 78},
    {"Graphics/crymsg.spr", 6, 0, 80, 54, 96},
};

} // namespace

float SetupScreenFlags = 0.0f;
float SetupColourDepth = 0.0f;
int ScreenModeOverride = -1;
int ColourDepthOverride = -1;

void ReadSetup() {
    OpenForReading(kSetupFile, "Data/setup.dat");
    SetupScreenFlags = ReadFloatField(kSetupFile);
    ReadIntField(kSetupFile); // present in the file, unused
    SetupColourDepth = ReadFloatField(kSetupFile);
    CloseFile(kSetupFile);
    if (ScreenModeOverride >= 0) SetupScreenFlags = static_cast<float>(ScreenModeOverride);
    if (ColourDepthOverride >= 0) SetupColourDepth = static_cast<float>(ColourDepthOverride);
}

void LoadPictures() {
    // A missing picture leaves the page as it was, so its slot takes the
    // previous picture (or black); that is not an error.
    for (const FullScreenPicture &picture : kFullScreenPictures) {
        LoadImageFile(picture.fileName);
        GrabImage(0, 0, kScreenWidth - 1, kScreenHeight - 1, ScreenImages[picture.slot]);
    }
    const char *loadedSheet = nullptr;
    for (const SpriteCut &cut : kSpriteCuts) {
        if (cut.sheet != loadedSheet) {
            LoadImageFile(cut.sheet);
            loadedSheet = cut.sheet;
        }
        GrabImage(static_cast<float>(cut.x1), static_cast<float>(cut.y1),
                  static_cast<float>(cut.x2), static_cast<float>(cut.y2), Sprites[cut.slot]);
    }
}

void SetOptionDefaults() {
    OptGameSpeed = 2;
    OptBackground = 1;
    OptAltitudeMeter = 1;
    OptSfxVolume = 3;
    OptMusicVolume = 3;
    OptControls = 1;
}

void StartUp() {
    ReadSetup();
    ShowFps = 0;
    ScreenshotNumber = 1;
    TargetFps = 20;
    // A depth the game cannot draw (a missing file reads 0) opens 32 bits.
    if (!OpenScreen(RoundEven(SetupColourDepth), RoundEven(SetupScreenFlags))) {
        std::fprintf(stderr, "halvane: cannot open a window or the full screen; "
                             "the game needs a graphical display (is DISPLAY set?)\n");
        EndProgram(1);
    }
    SetMousePosition(310, 4, 0);
    SeedRandom(ClockSeconds());
    SetPages(1, 0);
    LoadPictures();
    // Without its font sheet the game cannot show a word: refuse to start.
    if (!LoadFont(kFontFile, GameFont, kFontProportional)) {
        // Named where it was looked for (as given in a checkout).
        std::array<char, kPathCapacity> path{};
        const bool resolved = ResolvePath(kFontFile, FileUse::Read, path);
        std::fprintf(stderr,
                     "halvane: cannot read the font sheet %s "
                     "(missing, or no size markers); the game cannot draw text without it\n",
                     resolved ? path.data() : kFontFile);
        EndProgram(1);
    }
    HiScore = ReadHiScoreFile();
    BuildMissileModel();
    FillAngleTables();
    BuildCraftModels();
    SetOptionDefaults();
    // The sounds are read only when a device will play them; without one
    // the game plays on silently.
    if (OpenAudioDevice()) LoadSoundFiles("Sound");
    MainMenu();
}

} // namespace halvane
