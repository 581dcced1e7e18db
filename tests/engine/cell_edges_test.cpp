// What all cell encoders share: how they read a cell that leaves the picture, and which cell
// sizes they take.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/engine/cell_test_support.h"

namespace stipplor {
namespace {

using namespace test;

constexpr int kWidth = 5;
constexpr int kHeight = 4;
constexpr int kPad = 8;

// A small colourful picture, or the same picture framed by kPad pixels of `padding`.
Picture Sample(bool padded, PackedColor padding) {
  const int pad = padded ? kPad : 0;
  const int width = kWidth + 2 * pad;
  std::vector<PackedColor> pixels(static_cast<std::size_t>(width) * (kHeight + 2 * pad), padding);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pixels[static_cast<std::size_t>(y + pad) * width + x + pad] =
          Rgb((37 * x + 91 * y) % 256, (53 * x * y + 17) % 256, (200 - 29 * x) & 255);
    }
  }
  return Picture(width, kHeight + 2 * pad, pixels);
}

TEST(CellEncoders, CellsLeavingThePictureReadLikeAPaddedPicture) {
  // The copy made of a cell that leaves the picture must hold what a picture framed by the
  // outside value holds: -1 for B&W, black for the colored encoders. The B&W styles without a
  // checkerboard only, since the frame shifts the cell indices.
  const Picture picture = Sample(false, 0);
  const Picture outsideFrame = Sample(true, kOutside);
  const Picture blackFrame = Sample(true, 0);
  for (Int16 size = 2; size <= 4; ++size) {
    for (int top = -size; top <= kHeight; ++top) {
      for (int left = -size; left <= kWidth; ++left) {
        SCOPED_TRACE(std::to_string(size) + " at " + std::to_string(left) + "," +
                     std::to_string(top));
        const auto x = static_cast<Int16>(left);
        const auto y = static_cast<Int16>(top);
        const auto framedX = static_cast<Int16>(left + kPad);
        const auto framedY = static_cast<Int16>(top + kPad);
        for (const Int16 style : {0, 1}) {
          EXPECT_EQ(GetPixBW(picture, x, y, size, size, style, 0, {}),
                    GetPixBW(outsideFrame, framedX, framedY, size, size, style, 0, {}));
        }
        EXPECT_EQ(Low(picture, left, top, size), Low(blackFrame, left + kPad, top + kPad, size));
        EXPECT_EQ(High(picture, left, top, size), High(blackFrame, left + kPad, top + kPad, size));
      }
    }
  }
}

TEST(CellEncoders, TakeCellsOfOneToFourPixels) {
  const Picture picture = Sample(false, 0);
  ColorText bbCol;
  ColorText ffCol;
  std::string_view ssCol;
  for (const auto& [width, height] :
       {std::pair{5, 5}, std::pair{4, 5}, std::pair{0, 2}, std::pair{2, -1}}) {
    const auto w = static_cast<Int16>(width);
    const auto h = static_cast<Int16>(height);
    EXPECT_THROW(GetPixBW(picture, 0, 0, w, h, 1, 0, {}), std::invalid_argument);
    EXPECT_THROW(GetPixColLoQu(picture, 0, 0, w, h), std::invalid_argument);
    EXPECT_THROW(PixColHiQu(picture, 0, 0, w, h, bbCol, ffCol, ssCol), std::invalid_argument);
  }
  // Cells need not be square: a 4 x 1 cell is the mean of the first row.
  const Picture grey(4, 1, std::vector<PackedColor>(4, Rgb(9, 9, 9)));
  EXPECT_EQ(GetPixColLoQu(grey, 0, 0, 4, 1).Str(), "#090909");
}

}  // namespace
}  // namespace stipplor
