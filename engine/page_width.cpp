#include "engine/page_width.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace stipplor {

namespace {

// How one source pixel of a row (or column) spreads over the new ones: scaling n pixels down to
// m < n, pixel i covers [i * m, (i + 1) * m) and new pixel k covers [k * n, (k + 1) * n), so a
// source pixel overlaps at most two new ones.
struct Spread {
  int first;        // the new pixel it starts in
  std::uint64_t a;  // its share of `first`
  std::uint64_t b;  // its share of `first` + 1
};

std::vector<Spread> Spreads(int n, int m) {
  std::vector<Spread> spreads(static_cast<std::size_t>(n));
  for (long long i = 0; i < n; ++i) {
    const long long start = i * m;
    const long long end = start + m;
    const long long first = start / n;
    const long long boundary = (first + 1) * n;
    const long long a = std::min(end, boundary) - start;
    spreads[static_cast<std::size_t>(i)] = {static_cast<int>(first), static_cast<std::uint64_t>(a),
                                            static_cast<std::uint64_t>(m - a)};
  }
  return spreads;
}

}  // namespace

std::optional<PixelSize> PageWidthSize(int width, int height, int ratio, int pageWidth) {
  if (ratio < 1 || pageWidth <= 0 || width <= 0 || height <= 0) return std::nullopt;
  const long long cells = pageWidth / 2;
  if (width / ratio <= cells) return std::nullopt;
  const long long newWidth = cells * ratio;
  // Rounded to the nearest, halves up; at least a cell high, so that a wide picture at a small
  // width still gives a page, unless the region itself is lower than a cell.
  const long long newHeight = (2LL * height * newWidth + width) / (2LL * width);
  const long long lowest = std::min(ratio, height);
  return PixelSize{static_cast<int>(newWidth), static_cast<int>(std::max(lowest, newHeight))};
}

long long PageCells(int width, int height, int ratio, int pageWidth) {
  if (const auto size = PageWidthSize(width, height, ratio, pageWidth)) {
    width = size->Width;
    height = size->Height;
  }
  if (ratio < 1 || width <= 0 || height <= 0) return 0;
  return static_cast<long long>(width / ratio) * (height / ratio);
}

Picture AreaAverage(const Picture& picture, const Region& region, PixelSize size) {
  const int width = region.Width;
  const int height = region.Height;
  const std::vector<Spread> across = Spreads(width, size.Width);
  const std::vector<Spread> down = Spreads(height, size.Height);
  const auto newWidth = static_cast<std::size_t>(size.Width);

  // One source row summed across (shares add up to `width` per new pixel), and the sums down of
  // the new row being made and of the one below it.
  std::vector<std::uint64_t> row(3 * newWidth);
  std::vector<std::uint64_t> current(3 * newWidth);
  std::vector<std::uint64_t> next(3 * newWidth);
  std::vector<PackedColor> pixels;
  pixels.reserve(newWidth * static_cast<std::size_t>(size.Height));
  const std::uint64_t total =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  const auto emit = [&] {
    for (std::size_t x = 0; x < newWidth; ++x) {
      PackedColor colour = 0;
      for (std::size_t c = 0; c < 3; ++c) {
        colour |= static_cast<PackedColor>((current[3 * x + c] + total / 2) / total) << (8 * c);
      }
      pixels.push_back(colour);
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
  };

  int made = 0;
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    const int sourceY = region.Top + y;
    // Outside the picture is black: only the columns inside add to the sums.
    const bool inside = sourceY >= 0 && sourceY < picture.Height();
    const int first = std::clamp(-region.Left, 0, width);
    const int last = inside ? std::clamp(picture.Width() - region.Left, first, width) : first;
    for (int x = first; x < last; ++x) {
      const int sourceX = region.Left + x;
      const PackedColor colour = picture.Row(sourceY)[static_cast<std::size_t>(sourceX)];
      const Spread& s = across[static_cast<std::size_t>(x)];
      for (std::size_t c = 0; c < 3; ++c) {
        const auto channel = static_cast<std::uint64_t>((colour >> (8 * c)) & 0xFF);
        const std::size_t at = 3 * static_cast<std::size_t>(s.first) + c;
        row[at] += s.a * channel;
        if (s.b != 0) row[at + 3] += s.b * channel;
      }
    }
    const Spread& s = down[static_cast<std::size_t>(y)];
    while (made < s.first) {
      emit();
      ++made;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
      current[i] += s.a * row[i];
      if (s.b != 0) next[i] += s.b * row[i];
    }
  }
  while (made < size.Height) {
    emit();
    ++made;
  }
  return Picture(size.Width, size.Height, std::move(pixels));
}

std::optional<Picture> ScaleForPageWidth(const Picture& picture,
                                         const std::optional<Region>& selection, int ratio,
                                         int pageWidth) {
  const Region region = selection.value_or(Region{0, 0, picture.Width(), picture.Height()});
  const auto size = PageWidthSize(region.Width, region.Height, ratio, pageWidth);
  if (!size) return std::nullopt;
  // A selection keeps to the run's 16-bit coordinates, as it does without a page width.
  if (selection) {
    for (const int value : {region.Left, region.Top, region.Width, region.Height}) To16(value);
  }
  return AreaAverage(picture, region, *size);
}

std::string PageWidthCaption(int pageWidth) {
  return pageWidth > 0 ? "  Width-" + std::to_string(pageWidth) : std::string();
}

}  // namespace stipplor
