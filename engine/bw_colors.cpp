// GetBWColors: ink and background colours of a B&W run with picture colours. The region's
// colours are split into eight classes by whether each channel lies in the upper or the lower
// half of that channel's range in the region; the two most populous classes give the colours,
// the darker one the ink.

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/cell_pixels.h"
#include "engine/cells.h"

namespace stipplor {
namespace {

// Red, green, blue.
using Channels = std::array<std::int64_t, 3>;
using Colour = std::array<int, 3>;

// Feeds the region row by row, each row as the span of it that lies inside the picture and the
// number of its pixels that lie outside (which read as kOutside), so that the edges are decided
// once per row.
template <typename Inside, typename Outside>
void ForEachRowPart(const Picture& picture, int left, int top, int width, int height, Inside inside,
                    Outside outside) {
  if (width <= 0 || height <= 0) return;
  const int from = std::clamp(left, 0, picture.Width());
  const int to = std::clamp(left + width, 0, picture.Width());
  const int insideCount = std::max(to - from, 0);
  for (int y = top; y < top + height; ++y) {
    if (y < 0 || y >= picture.Height() || insideCount == 0) {
      outside(width);
      continue;
    }
    inside(picture.Row(y).subspan(static_cast<std::size_t>(from),
                                  static_cast<std::size_t>(insideCount)));
    if (insideCount < width) outside(width - insideCount);
  }
}

Colour Split(PackedColor color) {
  const RgbValues c = SplitPixel(color);
  return {c.red, c.green, c.blue};
}

struct ChannelRange {
  int min = 255;
  int max = 0;
  void Add(int v) {
    min = std::min(min, v);
    max = std::max(max, v);
  }
  // Strictly nearer the maximum than the minimum.
  bool High(int v) const { return 2 * v > min + max; }
};

struct Classes {
  std::array<std::int64_t, 8> count{};
  std::array<Channels, 8> sum{};
};

// Class 1..8 of a colour, here 0..7: bit 0 red high, bit 1 green high, bit 2 blue high.
Classes Classify(const Picture& picture, int left, int top, int width, int height) {
  std::array<ChannelRange, 3> range;
  const auto widen = [&](PackedColor color) {
    const Colour c = Split(color);
    for (int ch = 0; ch < 3; ++ch) range[ch].Add(c[ch]);
  };
  ForEachRowPart(
      picture, left, top, width, height,
      [&](std::span<const PackedColor> row) {
        for (const PackedColor color : row) widen(color);
      },
      [&](int) { widen(kOutside); });

  Classes classes;
  const auto add = [&](PackedColor color, std::int64_t times) {
    const Colour c = Split(color);
    int cls = 0;
    for (int ch = 0; ch < 3; ++ch) cls |= range[ch].High(c[ch]) ? 1 << ch : 0;
    classes.count[cls] += times;
    for (int ch = 0; ch < 3; ++ch) classes.sum[cls][ch] += times * c[ch];
  };
  ForEachRowPart(
      picture, left, top, width, height,
      [&](std::span<const PackedColor> row) {
        for (const PackedColor color : row) add(color, 1);
      },
      [&](int count) { add(kOutside, count); });
  return classes;
}

template <typename Rgb>
int BrightnessOf(const Rgb& c) {
  return Brightness(static_cast<int>(c[0]), static_cast<int>(c[1]), static_cast<int>(c[2]));
}

}  // namespace

void GetBWColors(const Picture& picture, Int16 BWEncoding, Int16 Left, Int16 Top, Int16 Width,
                 Int16 Height, ColorText& ffCol, ColorText& bbCol, BrightnessRange& range) {
  Classes classes = Classify(picture, Left, Top, Width, Height);
  const auto& count = classes.count;

  // The most populous class, then the most populous other non-empty one; ties to the lower
  // class. With a single non-empty class both are that class.
  int dominant = 0;
  for (int c = 1; c < 8; ++c) {
    if (count[c] > count[dominant]) dominant = c;
  }
  int runnerUp = dominant;
  for (int c = 0; c < 8; ++c) {
    if (c == dominant) continue;
    if (runnerUp == dominant ? count[c] > 0 : count[c] > count[runnerUp]) runnerUp = c;
  }

  int nonEmpty = 0;
  std::array<Channels, 8>& mean = classes.sum;
  for (int c = 0; c < 8; ++c) {
    if (count[c] == 0) continue;
    for (std::int64_t& channel : mean[c]) channel /= count[c];
    ++nonEmpty;
  }

  const bool runnerUpDarker = BrightnessOf(mean[runnerUp]) < BrightnessOf(mean[dominant]);
  const Channels& ink = mean[runnerUpDarker ? runnerUp : dominant];
  const Channels& background = mean[runnerUpDarker ? dominant : runnerUp];

  // The dithered styles push the two colours apart by a quarter of their difference, the
  // background a little toward white and the ink a little toward black. Both are clamped to
  // channel values: outside pixels (red -1) can pull a mean below 0.
  const bool spread = nonEmpty >= 3 && BWEncoding > 0;
  Colour bg{};
  Colour fg{};
  for (int ch = 0; ch < 3; ++ch) {
    const int b = static_cast<int>(background[ch]);
    const int d = static_cast<int>(ink[ch]);
    bg[ch] = std::clamp(spread ? b + (b - d) / 4 + (255 - b) / 32 : b, 0, 255);
    fg[ch] = std::clamp(spread ? d - (d - b) / 4 - d / 32 : d, 0, 255);
  }
  range.BWMin = static_cast<Int16>(BrightnessOf(fg));
  range.BWMax = static_cast<Int16>(BrightnessOf(bg));
  if (range.BWMin == range.BWMax) {
    // One colour, two classes of equal brightness or an empty region: black on white, which
    // also keeps the Plain stretch from dividing by zero.
    range = BrightnessRange{0, 1530};
    bbCol = RGB2Hex(255, 255, 255);
    ffCol = RGB2Hex(0, 0, 0);
    return;
  }
  bbCol = RGB2Hex(bg[0], bg[1], bg[2]);
  ffCol = RGB2Hex(fg[0], fg[1], fg[2]);
}

}  // namespace stipplor
