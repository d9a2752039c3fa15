#include "core/image_store.h"

namespace halvane {

OffsetArray<FullScreenImage, 1, kScreenImageSlots> ScreenImages;
OffsetArray<ImageBuffer<kSpriteMaxWidth, kSpriteMaxHeight>, 1, kSpriteSlots> Sprites;

} // namespace halvane
