#include "engine/page_width.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace stipplor {

namespace {

// How one pixel of a row (or column) spreads over the new ones.
struct Spread {
  int first;        // the new pixel it starts in
  std::uint64_t a;  // its share of `first`
  std::uint64_t b;  // its share of `first` + 1
};

// The spreads of a row's pixels, one after the other, worked out as they are needed, so that
// nothing is kept for each pixel of a very wide row. Scaling a row of `full` pixels down to
// `size`, pixel i stands for [i * step, min((i + 1) * step, full)) of the full row (`step` > 1
// for a row decoded smaller, whose last pixel stands for what is left); times `size`, that is
// [i * step * size, ...), and new pixel k covers [k * full, (k + 1) * full). No pixel is wider
// than a new one (step * size <= full), so each overlaps at most two.
class SpreadWalk {
 public:
  SpreadWalk(long long full, int step, int size, long long from)
      : full_(full),
        span_(static_cast<long long>(step) * size),
        last_(full * size),
        start_(from * span_),
        first_(start_ / full),
        boundary_((first_ + 1) * full) {}

  Spread Next() {
    const long long end = std::min(start_ + span_, last_);
    while (start_ >= boundary_) {
      ++first_;
      boundary_ += full_;
    }
    const long long a = std::min(end, boundary_) - start_;
    const Spread spread{static_cast<int>(first_), static_cast<std::uint64_t>(a),
                        static_cast<std::uint64_t>(end - start_ - a)};
    start_ = end;
    return spread;
  }

 private:
  long long full_;
  long long span_;
  long long last_;
  long long start_;
  long long first_;
  long long boundary_;
};

// Averages the pixels of `region` down to `size`, each standing for `step` x `step` pixels of a
// region of `full` size (see SpreadWalk). Pixels outside the picture count as black.
Picture Average(const Picture& picture, const Region& region, PixelSize full, int step,
                PixelSize size) {
  const int width = region.Width;
  const int height = region.Height;
  const auto newWidth = static_cast<std::size_t>(size.Width);

  // One row summed across (shares add up to `full.Width` per new pixel), and the sums down of
  // the new row being made and of the one below it.
  std::vector<std::uint64_t> row(3 * newWidth);
  std::vector<std::uint64_t> current(3 * newWidth);
  std::vector<std::uint64_t> next(3 * newWidth);
  std::vector<PackedColor> pixels;
  pixels.reserve(newWidth * static_cast<std::size_t>(size.Height));
  const std::uint64_t total =
      static_cast<std::uint64_t>(full.Width) * static_cast<std::uint64_t>(full.Height);
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

  SpreadWalk down(full.Height, step, size.Height, 0);
  int made = 0;
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    const int sourceY = region.Top + y;
    // Outside the picture is black: only the columns inside add to the sums.
    const bool inside = sourceY >= 0 && sourceY < picture.Height();
    const int first = std::clamp(-region.Left, 0, width);
    const int last = inside ? std::clamp(picture.Width() - region.Left, first, width) : first;
    SpreadWalk across(full.Width, step, size.Width, first);
    for (int x = first; x < last; ++x) {
      const int sourceX = region.Left + x;
      const PackedColor colour = picture.Row(sourceY)[static_cast<std::size_t>(sourceX)];
      const Spread s = across.Next();
      for (std::size_t c = 0; c < 3; ++c) {
        const auto channel = static_cast<std::uint64_t>((colour >> (8 * c)) & 0xFF);
        const std::size_t at = 3 * static_cast<std::size_t>(s.first) + c;
        row[at] += s.a * channel;
        if (s.b != 0) row[at + 3] += s.b * channel;
      }
    }
    const Spread s = down.Next();
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
  return Average(picture, region, PixelSize{region.Width, region.Height}, 1, size);
}

Picture AreaAverageDecoded(const Picture& decoded, PixelSize full, int divisor, PixelSize size) {
  return Average(decoded, Region{0, 0, decoded.Width(), decoded.Height()}, full, divisor, size);
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
