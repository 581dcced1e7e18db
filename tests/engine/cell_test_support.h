#pragma once

// Helpers of the cell encoder tests: small pictures and the encoders' outputs as text.

#include <string>
#include <vector>

#include "engine/cells.h"
#include "tests/engine/test_pictures.h"

namespace stipplor::test {

inline PackedColor Grey(int g) { return Rgb(g, g, g); }

inline Picture Filled(int width, int height, PackedColor color) {
  return Picture(width, height,
                 std::vector<PackedColor>(static_cast<std::size_t>(width * height), color));
}

// A size x size picture holding the cell of that size.
inline Picture Square(int size, std::vector<PackedColor> pixels) {
  return Picture(size, size, std::move(pixels));
}

// "bbCol ffCol ssCol" of the size x size cell at (left, top).
inline std::string High(const Picture& picture, int left, int top, int size) {
  ColorText bbCol;
  ColorText ffCol;
  std::string_view ssCol;
  PixColHiQu(picture, static_cast<Int16>(left), static_cast<Int16>(top), static_cast<Int16>(size),
             static_cast<Int16>(size), bbCol, ffCol, ssCol);
  return bbCol.Str() + " " + ffCol.Str() + " " + std::string(ssCol);
}

inline std::string Low(const Picture& picture, int left, int top, int size) {
  return GetPixColLoQu(picture, static_cast<Int16>(left), static_cast<Int16>(top),
                       static_cast<Int16>(size), static_cast<Int16>(size))
      .Str();
}

}  // namespace stipplor::test
