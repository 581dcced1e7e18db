#include "engine/encode.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/html_document.h"
#include "engine/pixel_font.h"
#include "tests/engine/test_pictures.h"

namespace stipplor {
namespace {

using test::BrightnessColor;
using test::Lines;
using test::Rgb;

constexpr std::string_view kHead = "<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>";
constexpr std::string_view kFont = " style='FONT-SIZE:3px;LINE-HEIGHT:2px;FONT-FAMILY:Arial";

std::string ColoredRow(int w2, const std::string& cells) {
  return "<table noborder cellpadding=0 cellspacing=0 height=2 width=" + std::to_string(w2) +
         std::string(kFont) + "'><tr>" + cells + "</tr></table>";
}

EncodeOptions BWOptions(int style, bool smooth = false, int ratio = 1) {
  EncodeOptions o;
  o.BW = -1;
  o.Ratio = static_cast<Int16>(ratio);
  o.BWEncoding = static_cast<Int16>(style);
  o.BWSmoothTransition = smooth ? -1 : 0;
  return o;
}

EncodeOptions Options(int bw, int ratio, int colorized, int high, int minimize = -1,
                      int style = 2) {
  EncodeOptions o;
  o.BW = static_cast<Int16>(bw);
  o.Ratio = static_cast<Int16>(ratio);
  o.Colorized = static_cast<Int16>(colorized);
  o.HighQuality = static_cast<Int16>(high);
  o.MinimizeSize = static_cast<Int16>(minimize);
  o.BWEncoding = static_cast<Int16>(style);
  return o;
}

std::vector<std::string> EncodeLines(const Picture& picture, const EncodeOptions& options,
                                     const std::optional<Region>& selection = std::nullopt) {
  HtmlDocument document;
  Encode(picture, selection, options, document);
  EXPECT_TRUE(document.Ended());
  return Lines(document.Text());
}

// The two-character entry of a one-pixel B&W picture of the given brightness at (x, y).
std::string PixelEntry(int brightness, const EncodeOptions& options, int x = 0, int y = 0) {
  const Picture picture(x + 1, y + 1,
                        std::vector<PackedColor>(static_cast<std::size_t>((x + 1) * (y + 1)),
                                                 BrightnessColor(brightness)));
  const auto lines = EncodeLines(picture, options, Region{x, y, 1, 1});
  const std::string& row = lines.at(2);
  return row.substr(14, row.size() - 14 - 17);  // strip "<tr><td><nobr>" and "</nobr></td></tr>"
}

TEST(EncodeDocument, TwoPixelsBlackThenWhiteInPattern) {
  const Picture picture(2, 1, {Rgb(0, 0, 0), Rgb(255, 255, 255)});
  EXPECT_EQ(EncodeLines(picture, BWOptions(1)),
            (std::vector<std::string>{
                std::string(kHead),
                "<table noborder cellpadding=0 cellspacing=0 height=2 width=4 style='FONT-SIZE:3px;"
                "LINE-HEIGHT:2px;FONT-FAMILY:Arial'>",
                "<tr><td><nobr>II&nbsp; </nobr></td></tr>", "</table></DIV></BODY></HTML>"}));
}

TEST(EncodeDocument, TwoRedPixelsColoredAndMinimizedMergeIntoOneCell) {
  const Picture picture(2, 1, {Rgb(255, 0, 0), Rgb(255, 0, 0)});
  EncodeOptions options;
  options.Ratio = 1;
  EXPECT_EQ(EncodeLines(picture, options),
            (std::vector<std::string>{std::string(kHead),
                                      ColoredRow(4, "<td width=4 bgcolor=#FF0000></td>"),
                                      "</DIV></BODY></HTML>"}));
}

TEST(EncodeDocument, StartOptionsOnAUniformCellKeepThePlainRow) {
  const Picture picture(2, 2, std::vector<PackedColor>(4, Rgb(255, 0, 0)));
  EXPECT_EQ(EncodeLines(picture, EncodeOptions{}),
            (std::vector<std::string>{
                std::string(kHead),
                ColoredRow(2, "<td bgcolor=#FF0000><font color=#FF0000>II</font></td>"),
                "</DIV></BODY></HTML>"}));
}

TEST(EncodeDocument, OnePixelSelectionGivesOneEntry) {
  const Picture picture(5, 5);
  const auto lines = EncodeLines(picture, BWOptions(2), Region{3, 3, 1, 1});
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[1].find("height=2 width=2 "), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "<tr><td><nobr>II</nobr></td></tr>");
}

TEST(EncodeDocument, RegionsSmallerThanACell) {
  const Picture picture(10, 10);
  // Narrower than a cell but a cell high: rows without cells, width 0.
  auto lines = EncodeLines(picture, BWOptions(1, false, 3), Region{0, 0, 2, 6});
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(lines[1].find("height=4 width=0 "), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "<tr><td><nobr></nobr></td></tr>");
  EXPECT_EQ(lines[3], "<tr><td><nobr></nobr></td></tr>");

  EncodeOptions colored;
  colored.Ratio = 3;
  lines = EncodeLines(picture, colored, Region{0, 0, 2, 3});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], ColoredRow(0, ""));

  // Lower than a cell: no row lines at all.
  EXPECT_EQ(EncodeLines(picture, colored, Region{0, 0, 9, 2}).size(), 2u);
  EXPECT_EQ(EncodeLines(picture, BWOptions(1, false, 3), Region{0, 0, 9, 2}).size(), 3u);
}

TEST(EncodeDocument, LeftoverPixelsAtTheRightAndBottomAreNotEncoded) {
  // Only the three whole cells (x = 0, 3, 6) are read; the white column 9 is left out.
  Picture picture(10, 4);
  for (int y = 0; y < 4; ++y) picture.Row(y)[9] = Rgb(255, 255, 255);
  EncodeOptions options;
  options.Ratio = 3;
  options.HighQuality = 0;
  options.MinimizeSize = 0;
  const auto lines = EncodeLines(picture, options);
  ASSERT_EQ(lines.size(), 3u);
  const std::string black = "<td bgcolor=#000000></td>";
  EXPECT_EQ(lines[1], ColoredRow(6, black + black + black));
}

TEST(EncodeOnePixelCells, BrightnessBoundariesOfEachStyle) {
  struct Case {
    int style;
    bool smooth;
    int brightness;
    int x;
    const char* entry;
  };
  const Case cases[] = {
      {0, false, 765, 0, "II"},      {0, false, 766, 0, "&nbsp; "},
      {1, false, 307, 0, "II"},      {1, false, 308, 0, "I."},
      {1, false, 1231, 0, ". "},     {1, false, 1232, 0, "&nbsp; "},
      {1, true, 1530, 0, "&nbsp; "}, {1, true, 1530, 1, "&nbsp; "},
      {1, true, 0, 0, "II"},         {1, true, 0, 1, "II"},
      {2, false, 700, 0, ".'"},      {2, false, 700, 1, "'."},
      {0, true, 1530, 1, "&nbsp; "}, {3, false, 700, 0, "I "},
      {3, false, 1000, 1, "' "},  // shape of (1, 0) is 0: level 3 is "' "
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PixelEntry(c.brightness, BWOptions(c.style, c.smooth), c.x), c.entry)
        << "style " << c.style << " smooth " << c.smooth << " brightness " << c.brightness << " x "
        << c.x;
  }
}

TEST(EncodeOnePixelCells, FractalFollowsTheShapeOfEachPixel) {
  // Shapes of (0,1) and (2,0) are 2 and 3: level 2 reads "&nbsp;I" and "..".
  EXPECT_EQ(PixelEntry(700, BWOptions(3), 0, 1), "&nbsp;I");
  EXPECT_EQ(PixelEntry(700, BWOptions(3), 2, 0), "..");
}

TEST(EncodeOnePixelCells, HighQualityMakesNoDifferenceButTheCaptionSaysSo) {
  const Picture picture(3, 1, {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)});
  EncodeOptions high;
  high.Ratio = 1;
  high.MinimizeSize = 0;
  EncodeOptions low = high;
  low.HighQuality = 0;
  HtmlDocument a, b;
  EXPECT_EQ(Encode(picture, std::nullopt, high, a).Caption, "1:2  Colored  High-Quality");
  Encode(picture, std::nullopt, low, b);
  EXPECT_EQ(a.Text(), b.Text());
  EXPECT_EQ(Lines(a.Text())[1], ColoredRow(6,
                                           "<td bgcolor=#010203></td><td bgcolor=#040506></td>"
                                           "<td bgcolor=#070809></td>"));
}

TEST(EncodeMerging, ChoosesTheShorterRowAndThePlainOneOnATie) {
  const PackedColor a = Rgb(10, 20, 30), b = Rgb(40, 50, 60);
  EncodeOptions options;
  options.Ratio = 1;
  const auto rowOf = [&](const std::vector<PackedColor>& pixels) {
    const Picture picture(static_cast<int>(pixels.size()), 1, pixels);
    return EncodeLines(picture, options).at(1);
  };

  // n cells of one colour become one cell 2n wide.
  EXPECT_EQ(rowOf(std::vector<PackedColor>(7, a)),
            ColoredRow(14, "<td width=14 bgcolor=#0A141E></td>"));
  // Every cell differs from its neighbour: merging would only lengthen the row.
  EXPECT_EQ(rowOf({a, b, a}), ColoredRow(6,
                                         "<td bgcolor=#0A141E></td><td bgcolor=#28323C></td>"
                                         "<td bgcolor=#0A141E></td>"));

  // Eight pairs save 8 x 17 characters and seventeen single cells cost 17 x 8: a tie.
  std::vector<PackedColor> tie;
  for (int pair = 0; pair < 8; ++pair) tie.insert(tie.end(), 2, pair % 2 ? b : a);
  for (int single = 0; single < 17; ++single) tie.push_back(single % 2 ? b : a);
  const std::string tied = rowOf(tie);
  EXPECT_EQ(tied.find("width=", 60), std::string::npos) << tied;
  // One more pair tips the balance to the merged row.
  tie.insert(tie.begin(), 2, b);
  EXPECT_NE(rowOf(tie).find("<td width=4 bgcolor=#28323C>"), std::string::npos);
}

TEST(EncodeMerging, HighQualityRunsShareOneBackground) {
  // Two 2x2 cells, each black on top and white below: same background and font colour.
  Picture picture(4, 2);
  for (int x = 0; x < 4; ++x) picture.Row(1)[static_cast<std::size_t>(x)] = Rgb(255, 255, 255);
  EncodeOptions options;  // start options: colored, high quality, minimized, 2x2 cells
  const auto lines = EncodeLines(picture, options);
  EXPECT_EQ(lines.at(1),
            ColoredRow(4, "<td width=4 bgcolor=#000000><font color=#FFFFFF>....</font></td>"));

  // A red lower half in the middle cell changes the font colour inside the run.
  Picture three(6, 2);
  for (int x = 0; x < 6; ++x) {
    three.Row(1)[static_cast<std::size_t>(x)] = x / 2 == 1 ? Rgb(255, 0, 0) : Rgb(255, 255, 255);
  }
  EXPECT_EQ(EncodeLines(three, options).at(1),
            ColoredRow(6,
                       "<td width=6 bgcolor=#000000><font color=#FFFFFF>..</font>"
                       "<font color=#FF0000>..</font><font color=#FFFFFF>..</font></td>"));
}

TEST(EncodeCaption, SummarisesTheOptions) {
  struct Case {
    int bw, ratio, colorized, high, minimize, style;
    const char* caption;
  };
  const Case cases[] = {
      {0, 2, 0, -1, -1, 2, "1:1  Colored  High-Quality  Size-Minimized"},
      {0, 4, 0, 0, -1, 0, "2:1  Colored  Low-Quality  Size-Minimized"},
      {0, 1, -1, 0, 0, 0, "1:2  Colored  Low-Quality"},
      {-1, 2, 0, 0, -1, 2, "1:1  B&W  Dotted  Grey"},
      {-1, 3, -1, -1, -1, 0, "3:2  B&W  Plain  Colorized"},
      {1, 4, 0, -1, -1, 1, "2:1  B&W  Pattern  Grey"},
      {-1, 1, 7, 0, 0, 3, "1:2  B&W  Fractal  Colorized"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Caption(Options(c.bw, c.ratio, c.colorized, c.high, c.minimize, c.style)), c.caption);
  }
  EncodeOptions pixelFont;
  pixelFont.PixelFont = true;
  EXPECT_EQ(Caption(pixelFont), "1:1  Colored  High-Quality  Size-Minimized  Pixel-Font");
}

// With the pixel font a page of characters gains the font's style element (the face and a fixed
// table layout) at the end of its head line, and its tables name the font ahead of Arial; nothing
// else changes, and pages of colour cells alone (lower quality, and every colored page at "1:2")
// keep their bytes.
TEST(EncodePixelFont, AddsTheStyleElementAndTheFamilyToPagesOfCharacters) {
  Picture picture(9, 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 9; ++x) picture.Row(y)[x] = Rgb(x * 28, y * 40, (x * y * 23) % 256);
  }
  struct Case {
    int bw, ratio, colorized, high;
    bool changes;
  };
  const Case cases[] = {
      {-1, 1, 0, 0, true},  {-1, 2, -1, 0, true}, {-1, 4, 0, -1, true}, {0, 2, 0, -1, true},
      {0, 3, -1, -1, true}, {0, 1, 0, -1, false}, {0, 2, 0, 0, false},  {0, 4, -1, 0, false},
  };
  for (const Case& c : cases) {
    EncodeOptions o = Options(c.bw, c.ratio, c.colorized, c.high);
    std::vector<std::string> expected = EncodeLines(picture, o);
    if (c.changes) {
      expected.front()
          .append("<style>")
          .append(kPixelFontFace)
          .append("table{table-layout:fixed}</style>");
      for (std::string& line : expected) {
        const auto at = line.find("FONT-FAMILY:Arial");
        if (at != std::string::npos) line.insert(at + 12, "StipplorPixel,");
      }
    }
    o.PixelFont = true;
    EXPECT_EQ(EncodeLines(picture, o), expected) << Caption(o);
  }
  EXPECT_TRUE(kPixelFontFace.starts_with(
      "@font-face{font-family:StipplorPixel;src:url(data:font/woff2;base64,"));
  EXPECT_TRUE(kPixelFontFace.ends_with(")}"));
}

TEST(EncodeLimits, SixteenBitTableDimensions) {
  for (const Int16 bw : {Int16{0}, Int16{-1}}) {
    EncodeOptions options;
    options.BW = bw;
    options.Ratio = 1;
    HtmlDocument fits;
    EXPECT_NO_THROW(Encode(Picture(16383, 1), std::nullopt, options, fits));
    EXPECT_TRUE(fits.Ended());

    HtmlDocument tooWide;
    try {
      Encode(Picture(16384, 1), std::nullopt, options, tooWide);
      ADD_FAILURE() << "16384 pixels wide must overflow";
    } catch (const OverflowError& error) {
      EXPECT_STREQ(error.what(), "Overflow");
    }
    // The lines written so far stay; the document is not ended.
    EXPECT_FALSE(tooWide.Ended());
    EXPECT_EQ(Lines(tooWide.Text()).front(), kHead);
  }
  // At 2x2 cells the same width fits.
  HtmlDocument document;
  EXPECT_NO_THROW(Encode(Picture(16384, 2), std::nullopt, EncodeOptions{}, document));
}

TEST(EncodeLimits, RegionsAndPicturesBeyondSixteenBits) {
  HtmlDocument document;
  EXPECT_THROW(Encode(Picture(10, 10), Region{32760, 0, 20, 4}, EncodeOptions{}, document),
               OverflowError);
  EXPECT_THROW(Encode(Picture(40000, 1), std::nullopt, BWOptions(1, false, 4), document),
               OverflowError);
  EncodeOptions bad;
  bad.Ratio = 0;
  EXPECT_THROW(Encode(Picture(4, 4), std::nullopt, bad, document), EncodeError);
}

TEST(EncodeOutside, PixelsBeyondThePictureAreBlack) {
  const Picture white(2, 2, std::vector<PackedColor>(4, Rgb(255, 255, 255)));
  EncodeOptions colored;
  colored.Ratio = 1;
  colored.MinimizeSize = 0;
  EXPECT_EQ(EncodeLines(white, colored, Region{-1, 0, 2, 1}).at(1),
            ColoredRow(4, "<td bgcolor=#000000></td><td bgcolor=#FFFFFF></td>"));
  // B&W reads -1, 0, 0: brightness -2, clamped to full ink.
  EXPECT_EQ(EncodeLines(white, BWOptions(1), Region{1, 1, 2, 1}).at(2),
            "<tr><td><nobr>&nbsp; II</nobr></td></tr>");
  // Every family completes on a selection reaching beyond every edge.
  for (int family = 0; family < 6; ++family) {
    EncodeOptions o = family < 4 ? BWOptions(family, true, 2) : EncodeOptions{};
    if (family == 5) o.HighQuality = 0;
    o.Colorized = -1;
    HtmlDocument document;
    EXPECT_NO_THROW(Encode(white, Region{-3, -3, 9, 9}, o, document)) << family;
  }
}

}  // namespace
}  // namespace stipplor

namespace stipplor {
namespace {

// Rows built in parallel are handed on in order: the same document, and the same lines written
// before an error.
TEST(EncodeThreads, SameDocumentAndSameStopAsOneThread) {
  Picture picture(203, 157);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      picture.Row(y)[static_cast<std::size_t>(x)] =
          Rgb((x * 7) % 256, (y * 5) % 256, (x ^ y) % 256);
    }
  }
  for (const auto& [bw, ratio, style] :
       {std::tuple{0, 1, 0}, {0, 2, 0}, {-1, 1, 3}, {-1, 3, 2}, {-1, 4, 0}}) {
    EncodeOptions o = bw ? BWOptions(style, true, ratio) : EncodeOptions{};
    o.Ratio = static_cast<Int16>(ratio);
    HtmlDocument one, four;
    Encode(picture, Region{-5, 3, 190, 150}, o, one, 1);
    Encode(picture, Region{-5, 3, 190, 150}, o, four, 4);
    EXPECT_EQ(one.Text(), four.Text()) << Caption(o);
  }

  // x + y leaves 16 bits in the sixth row of this selection.
  const Region far{16000, 16700, 64, 100};
  HtmlDocument one, four;
  EXPECT_THROW(Encode(picture, far, BWOptions(1, true), one, 1), OverflowError);
  EXPECT_THROW(Encode(picture, far, BWOptions(1, true), four, 4), OverflowError);
  EXPECT_EQ(one.Text(), four.Text());
  EXPECT_EQ(Lines(one.Text()).size(), 2u + 5u);
}

}  // namespace
}  // namespace stipplor
