#include "screens/help.h"

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/options.h"

namespace halvane {

const std::array<HelpLine, kHelpLines> HelpText{{
    {10, 40, "Halvane is a 3D, wire-frame graphics shooter. You control a space-craft"},
    {10, 50, "in narrow, half-pipe looking levels while avoiding collision with the ground and "},
    {10, 60, "the enemies(other space-crafts and mines). Your ship is equipped with missiles"},
    {10, 70, "which can destroy both the ground and the enemies. On the end of each level you"},
    {10, 80, "need to destroy(level down) a specific structure in order to finish the level."},
    {10, 100, "Halvane consists of 5 levels(missions), featuring different maps"},
    {10, 110, "and backgrounds. Plus a storyline."},
    {10, 130, "You can choose either the mouse or the keyboard for the game controls."},
    {10, 150, "Mouse controls(not to be used in window mode):"},
    {10, 170, "Moving the mouse up and down will result in the plane moving up and down."},
    {10, 180, "Moving the mouse left and right will result in the plane moving left and right."},
    {10, 190, "Left clicking will result in flying towards the horizon."},
    {10, 200, "Right clicking will result in flying away from the horizon."},
    {10, 210, "You shoot by clicking on the middle mouse button(you can hold it)."},
    {10, 230, "Keyboard controls:"},
    {10, 250, "Pushing up and down arrow key will result in the plane moving up and down."},
    {10, 260, "Pushing left and right arrow key will result in the plane moving left and right."},
    {10, 270, "Pushing C will result in flying towards the horizon."},
    {10, 280, "Pushing V will result in flying away from the horizon."},
    {10, 290, "You shoot by pushing space or enter(you can hold it)."},
    {10, 310, "If you choose mouse controls you can still use space and enter for shooting"},
    {10, 320, "and C and V for flying towards and away from the horizon."},
    {10, 340, "You start the game on the max altitude and you can't go above it. That's simply"},
    {10, 350, "part of the gameplay. Also, on this altitude you can't fly above the highest"},
    {10, 360, "parts of the ground. You can find that out by simply ramming into the high"},
    {10, 370, "hills while being on the max altitude."},
    {10, 390, "Each new game you start with 3 lives. Every time you lose a life your ship"},
    {10, 400, "will be bumped on the middle of the screen and for two seconds you will"},
    {10, 410, "be invulnerable."},
    {180, 440, "Press ENTER to return to main menu"},
}};

namespace {

bool ConfirmHeld() {
    return KeyDown(kKeyEnter) || KeyDown(kKeySpace);
}

} // namespace

void ShowHelp() {
    DimMenuPicture();
    while (ConfirmHeld()) {
    }
    MenuSelection = 1;
    // No key latch here: the wait above keeps the key that opened the screen
    // from closing it.
    do {
        ClearWorkPage();
        PutImage(0, 0, ScreenImages[MenuBackground], kPutBlend, kDimmedMenu);
        for (const HelpLine &line : HelpText)
            DrawText(line.x, line.y, line.text, GameFont, kTextSpacing, kTextTransparent);
        PresentPage();
    } while (!ConfirmHeld());
    PlayEffect(SfxMenuSelect);
    CrossFadeToMenu();
}

} // namespace halvane
