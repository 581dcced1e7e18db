#pragma once

#include <string_view>

namespace stipplor {

// The pixel font of text pages, built with the program from data/pixel_font/glyphs.txt: every
// character one pixel wide and two high at the pages' 3-px size.
extern const std::string_view kPixelFontFamily;  // the family name the face rule declares
extern const std::string_view kPixelFontFace;    // "@font-face{...}", the font as a data: URL

}  // namespace stipplor
