#include "app/main_menu.h"

#include "app/game_loop.h"

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/display.h"
#include "platform/image_file.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "render/models.h"
#include "screens/help.h"
#include "screens/level_files_message.h"
#include "screens/level_stats.h"
#include "screens/menu_highlight.h"
#include "screens/options.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/level_file.h"
#include "world/missiles.h"
#include "world/terrain.h"

namespace halvane {

namespace {

bool ConfirmHeld() {
    return KeyDown(kKeyEnter) || KeyDown(kKeySpace);
}

void DrawMenuPicture(int opacity) {
    ClearWorkPage();
    PutImage(0, 0, ScreenImages[MenuBackground], kPutBlend, opacity);
}

// Opening fade: the picture at 0, 15, ..., 240, then the menu draws it whole.
void FadeMenuIn() {
    FadeAlpha = 0;
    do {
        DrawMenuPicture(FadeAlpha);
        FadeAlpha = FadeAlpha + kFadeStep > 255 ? 255 : FadeAlpha + kFadeStep;
        PresentPage();
    } while (FadeAlpha != 255);
}

// Closing fade of LAUNCH and QUIT: 255, 240, ..., 15.
void FadeMenuOut() {
    FadeAlpha = 255;
    ClearWorkPage();
    do {
        DrawMenuPicture(FadeAlpha);
        FadeAlpha = FadeAlpha - kFadeStep < 0 ? 0 : FadeAlpha - kFadeStep;
        PresentPage();
    } while (FadeAlpha != 0);
}

void EnterMenu() {
    PlayMusic("Sound/menu_music.mp3");
    LevelNumber = 0;
    Score = 0;
    BuildMineModel();
    ResetTerrain();
    ClearWorkPage();
    MenuSelection = kMenuLaunch;
}

void WaitForConfirmRelease() {
    while (ConfirmHeld()) {
    }
}

void DrawMenu() {
    PutImage(0, 0, ScreenImages[MenuBackground], kPutOpaque, 255);
    for (int i = 1; i <= kMenuItems; ++i)
        DrawTextBlended(kMenuItemX, kMenuItemTop + 10 * (i - 1), kMenuTexts[i - 1], GameFont,
                        kMenuItemSpacing, LineAlpha[i]);
}

// One pass of the menu; returns the chosen item, or 0 when nothing was chosen.
int MenuPass() {
    LightMenuItems(kMenuItems);
    MoveMenuHighlight(kMenuItems);

    DrawMenu();
    PresentPage();

    if (KeyDown(kKeyS)) {
        TakeScreenshot();
        ++ScreenshotNumber;
        while (KeyDown(kKeyS)) {
        }
    }
    int chosen = 0;
    if (KeyHeld == 0 && ConfirmHeld()) {
        PlayEffect(SfxMenuSelect);
        chosen = MenuSelection;
    }
    if (!ConfirmHeld() && !KeyDown(kKeyUp) && !KeyDown(kKeyDown)) KeyHeld = 0;
    return chosen;
}

} // namespace

void LaunchGame() {
    GameCompleted = 0;
    SpeedFactor = 1.0f;
    const int speed = OptGameSpeed >= 1 && OptGameSpeed <= 4 ? OptGameSpeed : 2;
    TargetFps = kGameSpeedFps[speed - 1];
    FadeMenuOut();
    CraftZ = 0;
    MissileSide = 0.5f;
    CraftX = 0;
    // Lives -1: the statistics screen shows nothing and only resets the level.
    Lives = -1;
    ShowLevelStats();
    Lives = 2;
    Shield = 1000;
    CraftRoll = 4;
    CraftPitch = 4;
    CraftModelScale = 0.1f;
    BuildCraftModels();
    CraftY = 2;
    // A missing or broken level file is told to the player once, and its
    // level is flown over generated terrain.
    CheckLevelFiles();
    ShowLevelFilesMessage();
    LoadNextLevel();
    RunGame();
}

void QuitGame() {
    FadeMenuOut();
    EndProgram(0);
}

void MainMenu() {
    FadeMenuIn();
    while (true) {
        EnterMenu();
        WaitForConfirmRelease();
        bool launched = false;
        while (!launched) {
            switch (MenuPass()) {
            case kMenuLaunch:
                LaunchGame();
                launched = true;
                break;
            case kMenuOptions:
                ShowOptions();
                WaitForConfirmRelease();
                break;
            case kMenuHelp:
                ShowHelp();
                WaitForConfirmRelease();
                break;
            case kMenuQuit:
                QuitGame();
            default:
                break;
            }
        }
    }
}

} // namespace halvane
