// image_store.h -- the pictures start-up loads and everyone reads: eight
// full-screen images and seven sprites, 1-based slots. CaptureImage (slot 8)
// is the one scratch picture every fade grabs into.
#pragma once

#include "core/image.h"
#include "core/offset_array.h"

namespace halvane {

enum ScreenImageSlot : int {
    MenuBackground = 1,
    LevelBackground1 = 2,
    LevelBackground2 = 3,
    LevelBackground3 = 4,
    LevelBackground4 = 5,
    BriefingBackground = 6,
    EndGameBackground = 7,
    CaptureImage = 8,
};

constexpr int kScreenImageSlots = 8;
constexpr int kSpriteSlots = 7;
// The largest sprite rectangle is the 320 x 19 strip of the briefings.
constexpr int kSpriteMaxWidth = 320;
constexpr int kSpriteMaxHeight = 19;

// Owned by start-up (app); CaptureImage is rewritten by the game loop and the
// screens.
extern OffsetArray<FullScreenImage, 1, kScreenImageSlots> ScreenImages;
extern OffsetArray<ImageBuffer<kSpriteMaxWidth, kSpriteMaxHeight>, 1, kSpriteSlots> Sprites;

} // namespace halvane
