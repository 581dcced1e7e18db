// Fuzz target: an arbitrary small picture, region (also beyond the picture, and up to sizes and
// places that overflow the 16-bit arithmetic) and option values through Encode. A run either
// completes with a well-formed document of the expected rows and cells or stops with
// "Overflow", and only far from the origin; one thread and three give the same lines and outcome.
// Some runs first scale the region down to a page width, as the programs do: the scaled picture
// has the width asked, and a region of one colour inside the picture keeps that colour.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "engine/page_width.h"
#include "engine/pixel_font.h"

namespace stipplor::fuzz {
namespace {

constexpr int kMaxPictureSide = 48;
// Far enough to leave the 16-bit range on either side.
constexpr int kFar = 70000;
// A region this close to the origin never overflows, in any style (the Fractal style's bound,
// 4 x column + row <= 16383, is the tightest).
constexpr long long kSafe = 3000;

[[noreturn]] void Fail(std::string_view what, std::string_view line = {}) {
  std::fprintf(stderr, "%s\n  %s\n", std::string(what).c_str(), std::string(line).c_str());
  std::abort();
}

// What a run leaves: its document, and the error that stopped it, if any.
struct Outcome {
  HtmlDocument document;
  std::string error;
  bool operator==(const Outcome& o) const {
    return document.Text() == o.document.Text() && document.Ended() == o.document.Ended() &&
           error == o.error;
  }
};

Outcome Run(const Picture& picture, const std::optional<Region>& selection,
            const EncodeOptions& options, int threads) {
  Outcome outcome;
  try {
    Encode(picture, selection, options, outcome.document, threads);
  } catch (const OverflowError& error) {
    outcome.error = error.what();
  }
  return outcome;
}

// Reads a line from left to right; Take consumes only on success.
struct Cursor {
  std::string_view rest;
  bool Take(std::string_view piece) {
    if (!rest.starts_with(piece)) return false;
    rest.remove_prefix(piece.size());
    return true;
  }
  bool TakeColour() {  // "#" and six upper-case hexadecimal digits
    const bool colour = rest.size() >= 7 && rest[0] == '#' &&
                        rest.substr(1, 6).find_first_not_of("0123456789ABCDEF") == rest.npos;
    if (colour) rest.remove_prefix(7);
    return colour;
  }
  bool TakeInk(std::string_view blank) {  // "I", ".", "'" or the blank as it is written there
    return Take("I") || Take(".") || Take("'") || Take(blank);
  }
};

// Checks the document of a completed run against what the region and options alone imply.
void CheckDocument(const HtmlDocument& document, const Region& region, const EncodeOptions& o) {
  const bool bw = o.BW != 0;
  const bool characters = !bw && o.HighQuality != 0 && o.Ratio >= 2;
  // The pixel font goes with pages of characters only, its style element at the body's start.
  const bool font = o.PixelFont && (bw || characters);
  const long long rows = region.Height >= o.Ratio ? region.Height / o.Ratio : 0;
  const long long columns = region.Width >= o.Ratio ? region.Width / o.Ratio : 0;
  std::vector<std::string_view> lines;
  for (std::string_view text = document.Text(); !text.empty();
       text.remove_prefix(lines.back().size() + 2)) {
    lines.push_back(text.substr(0, text.find("\r\n")));
  }
  if (!document.Ended()) Fail("document not ended");
  if (lines.size() != static_cast<std::size_t>(rows + (bw ? 3 : 2))) Fail("line count");
  Cursor head{lines.front()};
  if (!head.Take("<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>") ||
      (font && !(head.Take("<style>@font-face{") && head.rest.ends_with("}</style>"))) ||
      (!font && !head.rest.empty())) {
    Fail("head", lines.front());
  }
  if (lines.back() != (bw ? "</table></DIV></BODY></HTML>" : "</DIV></BODY></HTML>"))
    Fail("tail", lines.back());
  // A side below one cell is cut to a negative offset, which the table dimension shows as it is.
  const std::string table = "<table noborder cellpadding=0 cellspacing=0 height=" +
                            std::to_string(bw ? 2LL * (region.Height / o.Ratio) : 2) +
                            " width=" + std::to_string(2LL * (region.Width / o.Ratio)) +
                            " style='FONT-SIZE:3px;LINE-HEIGHT:2px;FONT-FAMILY:" +
                            (font ? std::string(kPixelFontFamily) + "," : "") + "Arial";
  if (bw) {
    Cursor c{lines[1]};
    if (!c.Take(table) ||
        (o.Colorized && !(c.Take(";background-color:") && c.TakeColour() && c.Take(";color:") &&
                          c.TakeColour())) ||
        !c.Take("'>") || !c.rest.empty()) {
      Fail("B&W table line", lines[1]);
    }
  }
  for (std::size_t i = bw ? 2 : 1; i + 1 < lines.size(); ++i) {
    Cursor c{lines[i]};
    long long cells = 0;
    if (bw) {
      if (!c.Take("<tr><td><nobr>")) Fail("B&W row start", lines[i]);
      // A blank first character is always written "&nbsp;", a blank second one as a space.
      for (; c.TakeInk("&nbsp;"); ++cells) {
        if (!c.TakeInk(" ")) Fail("B&W fragment", lines[i]);
      }
      if (!c.Take("</nobr></td></tr>")) Fail("B&W row end", lines[i]);
    } else {
      if (!c.Take(table + "'><tr>")) Fail("colored row start", lines[i]);
      while (c.Take("<td")) {
        long long width = 2;
        if (c.Take(" width=")) {
          const auto end = c.rest.find(' ');
          const std::string digits(c.rest.substr(0, end));
          width = std::atoll(digits.c_str());
          if (o.MinimizeSize == 0 || width < 2 || width % 2 != 0 || end > 12 ||
              digits.find_first_not_of("0123456789") != std::string::npos) {
            Fail("merged width", lines[i]);
          }
          c.rest.remove_prefix(end);
        }
        if (!c.Take(" bgcolor=") || !c.TakeColour() || !c.Take(">")) Fail("background", lines[i]);
        for (long long pair = 0; characters && pair < width / 2; ++pair) {
          if ((pair == 0 || c.Take("</font>")) &&
              !(c.Take("<font color=") && c.TakeColour() && c.Take(">"))) {
            Fail("font colour", lines[i]);
          }
          if (!c.TakeInk("&nbsp;") || !c.TakeInk("&nbsp;")) Fail("character pair", lines[i]);
        }
        if (!c.Take(characters ? "</font></td>" : "</td>")) Fail("cell end", lines[i]);
        cells += width / 2;
      }
      if (!c.Take("</tr></table>")) Fail("colored row end", lines[i]);
    }
    if (!c.rest.empty() || cells != columns) Fail("cell count", lines[i]);
  }
}

// Long sides take long to encode and check and teach nothing that short ones do not, except
// next to the limits: twice a side of 16383 cells (a table dimension) and 32767 (a coordinate).
int FoldMiddle(int length) {
  const int size = length < 0 ? -length : length;
  const bool nearLimit = (size >= 16256 && size <= 16512) || size >= 32512;
  return size > 256 && !nearLimit ? length % 256 : length;
}

// A region small enough to encode quickly: one side may reach far out or be huge, then the
// other stays within a few cells.
std::optional<Region> ConsumeSelection(FuzzedDataProvider& data, int pictureWidth,
                                       int pictureHeight) {
  const auto in = [&data](int least, int most) { return data.ConsumeIntegralInRange(least, most); };
  switch (in(0, 3)) {
    case 0:
      return std::nullopt;
    case 1:  // around the picture
      return Region{in(-kMaxPictureSide, 2 * kMaxPictureSide),
                    in(-kMaxPictureSide, 2 * kMaxPictureSide), in(-8, 2 * kMaxPictureSide),
                    in(-8, 2 * kMaxPictureSide)};
    case 2:  // anywhere, a few cells in size
      return Region{in(-kFar, kFar), in(-kFar, kFar), in(-8, 24), in(-8, 24)};
    default: {  // one side long, up to beyond the 16-bit range, the other short
      const int left = in(-pictureWidth, pictureWidth);
      const int top = in(-pictureHeight, pictureHeight);
      const int length = FoldMiddle(in(-kFar, kFar));
      const int across = in(-2, 4);
      if (data.ConsumeBool()) return Region{left, top, length, across};
      return Region{left, top, across, length};
    }
  }
}

// A flag: clear half of the time; when set, the program's -1 or any other non-zero value.
Int16 ConsumeFlag(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return 0;
  const Int16 value = data.ConsumeIntegral<Int16>();
  return value == 0 ? Int16{-1} : value;
}

}  // namespace
}  // namespace stipplor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace stipplor;
  using namespace stipplor::fuzz;
  FuzzedDataProvider data(bytes, size);
  // A braced list reads its values in order, so the input is taken field by field.
  const EncodeOptions options{ConsumeFlag(data), data.ConsumeIntegralInRange<Int16>(1, 4),
                              ConsumeFlag(data), ConsumeFlag(data),
                              ConsumeFlag(data), data.ConsumeIntegralInRange<Int16>(0, 3),
                              ConsumeFlag(data), data.ConsumeBool()};
  const int width = data.ConsumeIntegralInRange(0, kMaxPictureSide);
  const int height = data.ConsumeIntegralInRange(0, kMaxPictureSide);
  // The selection is drawn before the pixels, which take what is left of the input: a few
  // colours from a small palette, so that runs of equal cells and uniform cells are common.
  std::optional<Region> selection = ConsumeSelection(data, width, height);
  std::vector<PackedColor> palette(data.ConsumeIntegralInRange(1, 8));
  for (PackedColor& colour : palette) colour = data.ConsumeIntegralInRange(0, 0xFFFFFF);
  std::vector<PackedColor> pixels(static_cast<std::size_t>(width * height));
  for (PackedColor& pixel : pixels) {
    pixel = palette[data.ConsumeIntegralInRange<std::size_t>(0, palette.size() - 1)];
  }
  Picture picture(width, height, std::move(pixels));
  if (data.ConsumeBool()) {
    const int pageWidth = data.ConsumeIntegralInRange(2, 400);
    std::optional<Picture> scaled;
    try {
      scaled = ScaleForPageWidth(picture, selection, options.Ratio, pageWidth);
    } catch (const OverflowError&) {  // a selection beyond the 16-bit coordinates, as in a run
      const Region& r = *selection;
      for (const int v : {r.Left, r.Top, r.Width, r.Height}) {
        if (v < -32768 || v > 32767) return 0;
      }
      Fail("overflow of a selection within 16 bits");
    }
    if (scaled) {
      if (scaled->Width() != pageWidth / 2 * options.Ratio) Fail("scaled to another width");
      const Region r = selection.value_or(Region{0, 0, width, height});
      if (palette.size() == 1 && r.Left >= 0 && r.Top >= 0 && r.Left + r.Width <= width &&
          r.Top + r.Height <= height) {
        for (int y = 0; y < scaled->Height(); ++y) {
          for (const PackedColor pixel : scaled->Row(y)) {
            if (pixel != palette[0]) Fail("one colour averaged to another");
          }
        }
      }
      picture = std::move(*scaled);
      selection = std::nullopt;
    }
  }

  const Outcome single = Run(picture, selection, options, 1);
  if (!(single == Run(picture, selection, options, 3))) Fail("one thread and three threads differ");
  const Region r = selection.value_or(Region{0, 0, picture.Width(), picture.Height()});
  if (single.error.empty()) {
    CheckDocument(single.document, r, options);
    return 0;
  }
  if (single.document.Ended()) Fail("stopped run ended its document");
  for (const long long v : {0LL + r.Left, 0LL + r.Top, 0LL + r.Width, 0LL + r.Height,
                            0LL + r.Left + r.Width, 0LL + r.Top + r.Height}) {
    if (v < -kSafe || v > kSafe) return 0;
  }
  Fail("overflow of a region near the origin");
}
