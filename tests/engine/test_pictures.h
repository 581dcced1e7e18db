#pragma once

// Helpers shared by the engine tests: colours, in-memory pictures and document lines.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/picture.h"

namespace stipplor::test {

inline PackedColor Rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// Some colour whose brightness 2r + 3g + b is exactly `brightness` (0..1530).
inline PackedColor BrightnessColor(int brightness) {
  for (int red = 0; red <= 255; ++red) {
    for (int blue = 0; blue <= 255; ++blue) {
      const int rest = brightness - 2 * red - blue;
      if (rest >= 0 && rest % 3 == 0 && rest / 3 <= 255) return Rgb(red, rest / 3, blue);
    }
  }
  throw std::invalid_argument("no colour has this brightness");
}

// The lines of a document whose lines each end in CR LF.
inline std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find("\r\n");
    if (end == std::string_view::npos) throw std::invalid_argument("line without CR LF");
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

}  // namespace stipplor::test
