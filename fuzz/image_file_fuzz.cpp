// Any bytes as a picture file, on a 32-bit and a 16-bit page: no read or
// write out of bounds, a result code from the list, and a refused file leaves
// the page exactly as it was.
#include <array>
#include <cstdint>
#include <cstring>

#include "core/image.h"
#include "fuzz_input.h"
#include "platform/image_file.h"
#include "platform/screen.h"

using namespace halvane;

namespace {

std::array<uint8_t, kScreenWidth * kScreenHeight * 4> Before;

void LoadOnPage(int depth) {
    OpenOffscreenPages(depth);
    SetPages(1, 0);
    // A page that is not all zero, so that any stray write shows.
    FillBox(0, 0, 639, 479, 0x123456);
    DrawLine(0, 0, 639, 479, 0xABCDEF);
    const std::size_t pageBytes =
        std::size_t{kScreenWidth} * kScreenHeight * static_cast<std::size_t>(ScreenBytesPerPixel());
    std::memcpy(Before.data(), PagePixels(WorkPageIndex()), pageBytes);
    const int result = LoadImageFile("picture");
    FuzzCheck(result >= kImageLoaded && result <= kImageBadFile, "result code out of range");
    if (result != kImageLoaded)
        FuzzCheck(std::memcmp(Before.data(), PagePixels(WorkPageIndex()), pageBytes) == 0,
                  "a refused picture changed the page");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    WriteFuzzFile("picture", data, size);
    LoadOnPage(32);
    LoadOnPage(16);
    return 0;
}
