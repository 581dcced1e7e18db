#include "engine/colour.h"

#include <gtest/gtest.h>

namespace stipplor {
namespace {

TEST(Long2RGB, SplitsPackedColoursAndTheOutsideValue) {
  struct Case {
    PackedColor color;
    int red, green, blue;
  };
  for (const Case c : {Case{33023, 255, 128, 0}, Case{16777215, 255, 255, 255}, Case{0, 0, 0, 0},
                       Case{-1, -1, 0, 0}, Case{0x123456, 0x56, 0x34, 0x12}}) {
    Int16 r = 9, g = 9, b = 9;
    Long2RGB(c.color, r, g, b);
    EXPECT_EQ(r, c.red) << c.color;
    EXPECT_EQ(g, c.green) << c.color;
    EXPECT_EQ(b, c.blue) << c.color;
  }
}

TEST(RGB2Hex, UpperCaseDigitsWithLeadingZeros) {
  EXPECT_EQ(RGB2Hex(10, 171, 205).Str(), "#0AABCD");
  EXPECT_EQ(RGB2Hex(255, 128, 0).Str(), "#FF8000");
  EXPECT_EQ(RGB2Hex(0, 0, 0).Str(), "#000000");
  EXPECT_EQ(RGB2Hex(255, 255, 255).Str(), "#FFFFFF");
}

TEST(RGB2Hex, RefusesChannelsOutsideTheByteRange) {
  EXPECT_THROW(RGB2Hex(-1, 0, 0), InvalidArgumentError);
  EXPECT_THROW(RGB2Hex(0, 256, 0), InvalidArgumentError);
  EXPECT_THROW(RGB2Hex(0, 0, -5), InvalidArgumentError);
}

TEST(ColorDist, SumsAbsoluteDifferencesSymmetrically) {
  EXPECT_EQ(ColorDist(255, 0, 0, 0, 0, 255), 510);
  EXPECT_EQ(ColorDist(0, 0, 255, 255, 0, 0), 510);
  EXPECT_EQ(ColorDist(1, 2, 3, 1, 2, 3), 0);
}

}  // namespace
}  // namespace stipplor
