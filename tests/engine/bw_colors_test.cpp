#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cells.h"
#include "tests/engine/test_pictures.h"

namespace stipplor {
namespace {

using test::Rgb;

// "ffCol bbCol BWMin BWMax" of the region.
std::string Colors(const Picture& picture, Int16 style, int left, int top, int width, int height) {
  ColorText ffCol;
  ColorText bbCol;
  BrightnessRange range{-7, -7};
  GetBWColors(picture, style, static_cast<Int16>(left), static_cast<Int16>(top),
              static_cast<Int16>(width), static_cast<Int16>(height), ffCol, bbCol, range);
  return ffCol.Str() + " " + bbCol.Str() + " " + std::to_string(range.BWMin) + " " +
         std::to_string(range.BWMax);
}

constexpr const char* kBlackOnWhite = "#000000 #FFFFFF 0 1530";

struct Group {
  PackedColor color;
  int count;
};

// The groups' pixels in a picture of one row.
Picture PictureOf(const std::vector<Group>& groups) {
  std::vector<PackedColor> pixels;
  for (const Group& g : groups) {
    pixels.insert(pixels.end(), static_cast<std::size_t>(g.count), g.color);
  }
  return Picture(static_cast<int>(pixels.size()), 1, pixels);
}

TEST(GetBWColors, TwoMostPopulousClassesGiveInkAndBackground) {
  struct Case {
    std::vector<Group> groups;
    std::vector<Int16> styles;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{{Rgb(0, 0, 0), 50}, {Rgb(255, 255, 255), 50}}, {0, 1, 2, 3}, kBlackOnWhite},
      // Blue 128 is high: the blue range is 0..200.
      {{{Rgb(0, 0, 128), 50}, {Rgb(255, 255, 200), 30}, {Rgb(200, 0, 0), 20}},
       {0},
       "#000080 #FFFFC8 128 1475"},
      {{{Rgb(0, 0, 128), 50}, {Rgb(255, 255, 200), 30}, {Rgb(200, 0, 0), 20}},
       {1},
       "#3F3F8E #FFFFDB 457 1494"},
      // Two classes only: the dithered style does not spread them.
      {{{Rgb(20, 40, 60), 7}, {Rgb(220, 200, 180), 3}}, {1}, "#14283C #DCC8B4 220 1220"},
      // The green class 3 is the runner-up, not the light class 8 with the same count.
      {{{Rgb(240, 240, 240), 2}, {Rgb(30, 30, 30), 6}, {Rgb(30, 200, 30), 2}},
       {1},
       "#1E481E #25F325 306 840"},
      // Three classes of 5: class 1 dominant, class 2 (red) the runner-up.
      {{{Rgb(10, 10, 10), 5}, {Rgb(250, 250, 250), 5}, {Rgb(250, 10, 10), 5}},
       {3},
       "#460A0A #FF1111 180 578"},
      {{{Rgb(100, 150, 200), 16}}, {0, 1, 2, 3}, kBlackOnWhite},
      // Two classes of brightness 510.
      {{{Rgb(255, 0, 0), 10}, {Rgb(0, 170, 0), 10}}, {0, 1, 2, 3}, kBlackOnWhite},
  };
  for (const Case& c : cases) {
    const Picture picture = PictureOf(c.groups);
    for (const Int16 style : c.styles) {
      EXPECT_EQ(Colors(picture, style, 0, 0, picture.Width(), 1), c.expected) << "style " << style;
    }
  }
}

TEST(GetBWColors, ScansExactlyTheRegion) {
  // Seven dark and two light pixels in a 3 x 3 region of a white picture; were any white pixel
  // read, the light class would not keep its exact colour.
  const PackedColor dark = Rgb(20, 40, 60);
  const PackedColor light = Rgb(220, 200, 180);
  std::vector<PackedColor> pixels(24, Rgb(255, 255, 255));  // 6 x 4
  for (const int i : {7, 8, 9, 13, 14, 15, 19}) pixels[i] = dark;
  for (const int i : {20, 21}) pixels[i] = light;
  const Picture picture(6, 4, pixels);
  EXPECT_EQ(Colors(picture, 1, 1, 1, 3, 3), "#14283C #DCC8B4 220 1220");
}

TEST(GetBWColors, EmptyRegionFallsBackToBlackOnWhite) {
  const Picture picture(4, 4, std::vector<PackedColor>(16, Rgb(10, 200, 30)));
  for (const auto& [width, height] :
       {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 4}, std::pair{4, -1}}) {
    EXPECT_EQ(Colors(picture, 1, 0, 0, width, height), kBlackOnWhite) << width << "x" << height;
  }
  // Wholly outside: one class of outside pixels.
  EXPECT_EQ(Colors(picture, 1, 10, 10, 3, 3), kBlackOnWhite);
}

TEST(GetBWColors, OutsidePixelsAreClampedToChannelValues) {
  // A region reaching beyond the picture: 14 of its 20 pixels are outside (red -1, a class of
  // their own) and become the ink. Its mean red of -1 is clamped to 0 in the plain branch too.
  const Picture picture(3, 2, std::vector<PackedColor>(6, Rgb(200, 100, 50)));
  for (const Int16 style : {0, 1, 2, 3}) {
    EXPECT_EQ(Colors(picture, style, -1, -1, 5, 4), "#000000 #C86432 0 750") << style;
  }
  // Three classes: the spread moves the ink a quarter of the way from red -1 toward white.
  const Picture three(4, 1,
                      {Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(255, 0, 0)});
  EXPECT_EQ(Colors(three, 1, -6, 0, 10, 1), "#3F3F3F #FFFFFF 378 1530");
  // Two rows above the picture make the outside class (6 pixels) dominant over the classes of
  // (200, 100, 50) and (0, 200, 0) with 3 each; the green one, coming first, is the runner-up.
  const PackedColor a = Rgb(200, 100, 50);
  const PackedColor b = Rgb(0, 200, 0);
  const Picture rows(3, 2, {a, a, a, b, b, b});
  EXPECT_EQ(Colors(rows, 1, 0, -2, 3, 4), "#003200 #07FB07 150 774");
}

}  // namespace
}  // namespace stipplor
