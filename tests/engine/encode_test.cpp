#include "engine/encode.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/pixel_font.h"
#include "tests/engine/support.h"

namespace stipplor {
namespace {

using namespace test;
using Rows = std::vector<std::string>;

constexpr std::string_view kHead = "<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>";

// The opening line of a table of 2 x `h2` by 2 x `w2` pixels whose style ends in `style`.
std::string Table(int h2, int w2, const std::string& style = "") {
  return "<table noborder cellpadding=0 cellspacing=0 height=" + std::to_string(h2) +
         " width=" + std::to_string(w2) +
         " style='FONT-SIZE:3px;LINE-HEIGHT:2px;FONT-FAMILY:Arial" + style + "'>";
}

std::string ColoredRow(int w2, const std::string& cells) {
  return Table(2, w2) + "<tr>" + cells + "</tr></table>";
}

std::string BWRow(const std::string& entries) {
  return "<tr><td><nobr>" + entries + "</nobr></td></tr>";
}

EncodeOptions BW(int style, int ratio = 1, int smooth = 0) {
  return With(-1, ratio, 0, -1, -1, style, smooth);
}

// The B&W row of a one-pixel selection at (x, y) of the given brightness.
std::string PixelRow(int brightness, const EncodeOptions& options, int x, int y) {
  const Picture picture = Filled(x + 1, y + 1, BrightnessColor(brightness));
  return EncodeLines(picture, options, Region{x, y, 1, 1}).at(2);
}

TEST(Encode, WholeDocuments) {
  const PackedColor red = Rgb(255, 0, 0), white = Grey(255);
  Picture columnNineWhite(10, 4);  // only whole cells are read: column 9 is left out
  for (int y = 0; y < 4; ++y) columnNineWhite.Row(y)[9] = white;
  const std::string black = "<td bgcolor=#000000></td>";
  const PackedColor ink = Rgb(0, 0, 128), cream = Rgb(255, 255, 200);  // darker, though fewer
  const std::string inkThird = BWRow("&nbsp; &nbsp; II&nbsp; ");
  struct Case {
    Picture picture;
    EncodeOptions options;
    Rows body;  // the lines between the head line and the tail
    std::optional<Region> selection = std::nullopt;
  };
  const Case cases[] = {
      {Picture(2, 1, {0, white}), BW(1), {Table(2, 4), BWRow("II&nbsp; ")}},
      {Filled(2, 2, red),
       EncodeOptions{},
       {ColoredRow(2, "<td bgcolor=#FF0000><font color=#FF0000>II</font></td>")}},
      {Picture(5, 5), BW(2), {Table(2, 2), BWRow("II")}, Region{3, 3, 1, 1}},
      {columnNineWhite, With(0, 3, 0, 0, 0), {ColoredRow(6, black + black + black)}},
      // Lower quality: each cell's mean colour.
      {Picture(4, 2, {red, red, white, white, red, 0, white, white}),
       With(0, 2, 0, 0, 0),
       {ColoredRow(4, "<td bgcolor=#BF0000></td><td bgcolor=#FFFFFF></td>")}},
      // At 1:2 higher quality is lower quality; cells unlike their neighbours are not merged.
      {Picture(3, 1, {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)}),
       With(0, 1),
       {ColoredRow(6,
                   "<td bgcolor=#010203></td><td bgcolor=#040506></td><td bgcolor=#070809></td>")}},
      // Two 2x2 cells alike: one background, one font colour.
      {Picture(4, 2, {0, 0, 0, 0, white, white, white, white}),
       EncodeOptions{},
       {ColoredRow(4, "<td width=4 bgcolor=#000000><font color=#FFFFFF>....</font></td>")}},
      // The font colour changes inside the run.
      {Picture(6, 2, {0, 0, 0, 0, 0, 0, white, white, red, red, white, white}),
       EncodeOptions{},
       {ColoredRow(6,
                   "<td width=6 bgcolor=#000000><font color=#FFFFFF>..</font>"
                   "<font color=#FF0000>..</font><font color=#FFFFFF>..</font></td>")}},
      {Picture(4, 2, {cream, cream, ink, cream, cream, cream, ink, cream}),
       With(-1, 1, -1, 0, 0, 0, 0),
       {Table(4, 8, ";background-color:#FFFFC8;color:#000080"), inkThird, inkThird}},
  };
  for (const Case& c : cases) {
    Rows expected{std::string(kHead)};
    expected.insert(expected.end(), c.body.begin(), c.body.end());
    expected.emplace_back(c.options.BW ? "</table></DIV></BODY></HTML>" : "</DIV></BODY></HTML>");
    EXPECT_EQ(EncodeLines(c.picture, c.options, c.selection), expected) << Caption(c.options);
  }
}

TEST(Encode, OnePixelCellsAtTheBrightnessBoundariesOfEachStyle) {
  struct Case {
    int style, smooth, brightness, x;
    const char* entry;
    int y = 0;
  };
  // In the Fractal style (3) the cells (1, 0), (2, 0) and (0, 1) have the shapes 0, 3 and 2.
  const Case cases[] = {
      {0, 0, 765, 0, "II"},       {0, 0, 766, 0, "&nbsp; "},   {0, -1, 1530, 1, "&nbsp; "},
      {1, 0, 307, 0, "II"},       {1, 0, 308, 0, "I."},        {1, 0, 1231, 0, ". "},
      {1, 0, 1232, 0, "&nbsp; "}, {1, -1, 1530, 0, "&nbsp; "}, {1, -1, 1530, 1, "&nbsp; "},
      {1, -1, 0, 0, "II"},        {1, -1, 0, 1, "II"},         {2, 0, 700, 0, ".'"},
      {2, 0, 700, 1, "'."},       {3, 0, 700, 0, "I "},        {3, 0, 1000, 1, "' "},
      {3, 0, 700, 2, ".."},       {3, 0, 700, 0, "&nbsp;I", 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(PixelRow(c.brightness, BW(c.style, 1, c.smooth), c.x, c.y), BWRow(c.entry))
        << c.style << " " << c.smooth << " " << c.brightness << " " << c.x;
  }
}

TEST(Encode, MergesRunsOnlyWhenThatIsShorter) {
  const PackedColor a = Rgb(10, 20, 30), b = Rgb(40, 50, 60);
  const auto rowOf = [](const std::vector<PackedColor>& pixels) {
    return EncodeLines(Picture(static_cast<int>(pixels.size()), 1, pixels), With(0, 1)).at(1);
  };
  EXPECT_EQ(rowOf({a, a}), ColoredRow(4, "<td width=4 bgcolor=#0A141E></td>"));  // shortest run
  EXPECT_EQ(rowOf(std::vector<PackedColor>(7, a)),
            ColoredRow(14, "<td width=14 bgcolor=#0A141E></td>"));
  // Eight pairs save 8 x 17 characters and seventeen single cells cost 17 x 8: a tie keeps the
  // plain row; one more pair tips the balance.
  std::vector<PackedColor> tie;
  for (int pair = 0; pair < 8; ++pair) tie.insert(tie.end(), 2, pair % 2 ? b : a);
  for (int single = 0; single < 17; ++single) tie.push_back(single % 2 ? b : a);
  EXPECT_EQ(rowOf(tie).find("width=", 60), std::string::npos);
  tie.insert(tie.begin(), 2, b);
  EXPECT_NE(rowOf(tie).find("<td width=4 bgcolor=#28323C>"), std::string::npos);
  // A run of fifty (width=100: three digits) and a pair save 1215 + 17, what 154 singles cost.
  std::vector<PackedColor> wide(50, a);
  wide.insert(wide.end(), 2, b);
  for (int single = 0; single < 154; ++single) wide.push_back(single % 2 ? b : a);
  EXPECT_EQ(rowOf(wide).find("width=", 60), std::string::npos);
  wide.insert(wide.begin(), 2, b);
  EXPECT_NE(rowOf(wide).find("<td width=100 bgcolor=#0A141E>"), std::string::npos);
  // Higher quality: a pair of cells, then k single ones, around where merging stops paying.
  for (std::vector row(4, a); row.size() < 24; row.resize(row.size() + 2, row.size() % 4 ? a : b)) {
    const Region r{0, 0, static_cast<int>(row.size()), 2};  // the lower halves black, outside
    const Rows plain = EncodeLines(Picture(r.Width, 1, row), With(0, 2, 0, -1, 0), r);
    EXPECT_LE(EncodeLines(Picture(r.Width, 1, row), With(0, 2), r)[1].size(), plain[1].size());
  }
}

TEST(Encode, Captions) {
  // One row per rule of the caption: each size, family and style, the quality and size marks,
  // and "Pixel-Font" on a B&W page and a page of characters but not on colour cells alone.
  const std::pair<EncodeOptions, const char*> cases[] = {
      {With(0, 1, -1, 0, 0), "1:2  Colored  Low-Quality"},
      {With(-1, 2, 0, 0, -1, 2), "1:1  B&W  Dotted  Grey"},
      {With(-1, 3, -1, -1, -1, 0), "3:2  B&W  Plain  Colorized"},
      {With(1, 4, 0, -1, -1, 1), "2:1  B&W  Pattern  Grey"},
      {{.PixelFont = true}, "1:1  Colored  High-Quality  Size-Minimized  Pixel-Font"},
      {{.BW = -1, .Ratio = 1, .BWEncoding = 3, .PixelFont = true},
       "1:2  B&W  Fractal  Grey  Pixel-Font"},
      {{.Ratio = 3, .HighQuality = 0, .PixelFont = true},
       "3:2  Colored  Low-Quality  Size-Minimized"},
  };
  for (const auto& [options, caption] : cases) {
    HtmlDocument document;  // the run names its page as Caption does
    EXPECT_EQ(Encode(Picture(4, 4), std::nullopt, options, document).Caption, caption);
  }
}

// With the pixel font a page of characters gains the font's style element at the end of its
// head line, and its tables name the font ahead of Arial; nothing else changes, and pages of
// colour cells alone keep their bytes.
TEST(Encode, PixelFontChangesOnlyPagesOfCharacters) {
  const Picture picture = Gradient(9, 7);
  const std::pair<EncodeOptions, bool> cases[] = {
      {With(-1, 1, 0, 0), true}, {With(-1, 2, -1, 0), true}, {With(-1, 4, 0, -1), true},
      {With(0, 2, 0, -1), true}, {With(0, 3, -1, -1), true}, {With(0, 1, 0, -1), false},
      {With(0, 2, 0, 0), false}, {With(0, 4, -1, 0), false},
  };
  for (auto [options, changes] : cases) {
    Rows expected = EncodeLines(picture, options);
    if (changes) {
      expected.front() +=
          "<style>" + std::string(kPixelFontFace) + "table{table-layout:fixed}</style>";
      for (std::string& line : expected) {
        const auto at = line.find("FONT-FAMILY:Arial");
        if (at != std::string::npos) line.insert(at + 12, "StipplorPixel,");
      }
    }
    options.PixelFont = true;
    EXPECT_EQ(EncodeLines(picture, options), expected) << Caption(options);
  }
  EXPECT_TRUE(kPixelFontFace.starts_with(
      "@font-face{font-family:StipplorPixel;src:url(data:font/woff2;base64,"));
}

TEST(Encode, SixteenBitLimits) {
  for (const int bw : {0, -1}) {
    HtmlDocument fits, tooWide;
    Encode(Picture(16383, 1), std::nullopt, With(bw, 1), fits);
    EXPECT_TRUE(fits.Ended());
    EXPECT_EQ(ThrownWhat<OverflowError>(
                  [&] { Encode(Picture(16384, 1), std::nullopt, With(bw, 1), tooWide); }),
              "Overflow");
    // The lines written so far stay; the document is not ended.
    EXPECT_FALSE(tooWide.Ended());
    EXPECT_EQ(Lines(tooWide.Text()).front(), kHead);
  }
  HtmlDocument document;
  EXPECT_NO_THROW(Encode(Picture(16384, 2), std::nullopt, EncodeOptions{}, document));
  EXPECT_THROW(Encode(Picture(10, 10), Region{32764, 0, 4, 2}, EncodeOptions{}, document),
               OverflowError);
  EXPECT_THROW(Encode(Picture(40000, 1), std::nullopt, BW(1, 4), document), OverflowError);
  EXPECT_THROW(Encode(Picture(4, 4), std::nullopt, With(0, 0), document), EncodeError);
  // Every family completes on a selection reaching beyond every edge.
  for (const EncodeOptions& o :
       {With(-1, 2, -1, -1, -1, 0), With(-1, 2, -1, -1, -1, 1), With(-1, 2, -1, -1, -1, 2),
        With(-1, 2, -1, -1, -1, 3), With(0, 2, -1), With(0, 2, -1, 0)}) {
    EXPECT_NO_THROW(Encode(Filled(2, 2, Grey(255)), Region{-3, -3, 9, 9}, o, document));
  }
}

}  // namespace
}  // namespace stipplor
