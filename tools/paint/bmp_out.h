// bmp_out.h -- writes the top-left corner of the work page as a 24-bit BMP
// file, for the picture tool (sheets smaller than the page stay small).
#pragma once

#include <string>

namespace halvane {

// Writes the work page's (0,0)-(width-1,height-1); false when the file
// cannot be written.
bool WritePictureFile(const std::string &path, int width, int height);

} // namespace halvane
