// image_file.h -- picture files onto the work page, and screenshots of it.
// Pictures are BMP (1..8 bits with colour table, 24, 32) or raw memory images
// with the short (0xFD) or long (0xFE) header, recognised by the first byte.
#pragma once

namespace halvane {

constexpr int kImageLoaded = 0;
constexpr int kImageNoScreenOrDepth = 1;
constexpr int kImageCannotOpen = 2;
constexpr int kImageBadFile = 3;

// Loads the picture onto the work page at (0, 0); returns one of the codes
// above. A refused file leaves the page as it was.
int LoadImageFile(const char *fileName);
// Writes the work page as a 24-bit BMP when the name ends in ".bmp" (any
// letter case), else as a raw long-header image; false when the file cannot
// be written, and then no partial file is left.
bool SaveScreenImage(const char *fileName);
// Writes "screenshot" + ScreenshotNumber + ".bmp", moving ScreenshotNumber on
// past files that already exist so that no earlier shot is replaced. The
// caller adds 1 afterwards.
void TakeScreenshot();

} // namespace halvane
