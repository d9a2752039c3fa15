#include "screens/options.h"

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/menu_highlight.h"

namespace halvane {

namespace {

constexpr int kFadeStep = 15;
constexpr int kCrossFadeStep = 35;
constexpr std::array<const char *, 5> kVolumeTexts{"0 %", "25 %", "50 %", "75 %", "100 %"};
constexpr std::array<const char *, 4> kSpeedTexts{"SLOW", "NORMAL", "FAST", "TURBO"};

bool ConfirmHeld() {
    return KeyDown(kKeyEnter) || KeyDown(kKeySpace);
}

const char *OnOff(int32_t value) {
    return value == 1 ? "ON" : "OFF";
}

const char *VolumeText(int32_t value) {
    return value >= 1 && value <= 4 ? kVolumeTexts[value] : kVolumeTexts[0];
}

void Toggle(int32_t &setting, int32_t a, int32_t b) {
    setting = setting == a ? b : a;
}

// Steps a setting to its next value, back to `first` past `last`.
void Advance(int32_t &setting, int32_t first, int32_t last) {
    setting = setting + 1 > last ? first : setting + 1;
}

void ChangeSetting(int item) {
    switch (item) {
    case 1:
        Toggle(OptControls, 2, 1);
        break;
    case 2:
        Toggle(OptBackground, 0, 1);
        break;
    case 3:
        Advance(OptGameSpeed, 1, 4);
        break;
    case 4:
        Advance(OptSfxVolume, 0, 4);
        // The select sound again, at the new quiet level.
        if (OptSfxVolume == 1) PlayEffect(SfxMenuSelect);
        break;
    case 5:
        Advance(OptMusicVolume, 0, 4);
        break;
    case 6:
        Toggle(OptAltitudeMeter, 0, 1);
        break;
    default:
        break;
    }
}

void DrawOptions() {
    ClearWorkPage();
    PutImage(0, 0, ScreenImages[MenuBackground], kPutBlend, FadeAlpha);
    for (int i = 1; i <= kOptionItems; ++i) {
        const int x = DrawTextBlended(kOptionX, kOptionTop + 10 * (i - 1), kOptionLabels[i - 1],
                                      GameFont, kTextSpacing, LineAlpha[i]);
        DrawTextBlended(x, kOptionTop + 10 * (i - 1), OptionValueText(i), GameFont, kTextSpacing,
                        LineAlpha[i]);
    }
}

} // namespace

const char *OptionValueText(int item) {
    switch (item) {
    case 1:
        return OptControls == 2 ? "KEYBOARD" : "MOUSE";
    case 2:
        return OnOff(OptBackground);
    case 3:
        return OptGameSpeed >= 2 && OptGameSpeed <= 4 ? kSpeedTexts[OptGameSpeed - 1]
                                                      : kSpeedTexts[0];
    case 4:
        return VolumeText(OptSfxVolume);
    case 5:
        return VolumeText(OptMusicVolume);
    case 6:
        return OnOff(OptAltitudeMeter);
    default:
        return "";
    }
}

void DimMenuPicture() {
    FadeAlpha = 255;
    do {
        ClearWorkPage();
        PutImage(0, 0, ScreenImages[MenuBackground], kPutBlend, FadeAlpha);
        FadeAlpha -= kFadeStep;
        PresentPage();
    } while (FadeAlpha >= 140);
}

void CrossFadeToMenu() {
    GrabImage(0, 0, kScreenWidth - 1, kScreenHeight - 1, ScreenImages[CaptureImage]);
    int screenAlpha = 255;
    do {
        ClearWorkPage();
        PutImage(0, 0, ScreenImages[MenuBackground], kPutBlend, FadeAlpha);
        PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, screenAlpha);
        FadeAlpha = FadeAlpha + kFadeStep > 255 ? 255 : FadeAlpha + kFadeStep;
        screenAlpha = screenAlpha - kCrossFadeStep < 0 ? 0 : screenAlpha - kCrossFadeStep;
        PresentPage();
    } while (FadeAlpha != 255);
}

void ShowOptions() {
    DimMenuPicture();
    while (ConfirmHeld()) {
    }
    MenuSelection = 1;
    while (true) {
        LightMenuItems(kOptionItems);
        MoveMenuHighlight(kOptionItems);

        DrawOptions();
        PresentPage();

        bool leave = false;
        if (KeyHeld == 0 && ConfirmHeld()) {
            PlayEffect(SfxMenuSelect);
            KeyHeld = 1;
            if (MenuSelection == kOptionGoBack)
                leave = true;
            else
                ChangeSetting(MenuSelection);
        }
        if (leave) break;
        if (!ConfirmHeld() && !KeyDown(kKeyUp) && !KeyDown(kKeyDown)) KeyHeld = 0;
        PresentPage();
    }
    MenuSelection = 2;
    KeyHeld = 1;
    CrossFadeToMenu();
}

} // namespace halvane
