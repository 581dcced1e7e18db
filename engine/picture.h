#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace stipplor {

// A pixel's colour: red in bits 0-7, green in bits 8-15, blue in bits 16-23.
using PackedColor = std::int32_t;

// What the pixel query answers for a position outside the picture.
inline constexpr PackedColor kOutside = -1;

// The picture an encoding run reads: its size and its pixels as rows of packed colours.
// Hot loops take whole rows; the per-pixel query is for edges and tests.
class Picture {
 public:
  Picture() = default;
  // A black picture of the given size.
  Picture(int width, int height);
  // Takes width * height pixels, row after row.
  Picture(int width, int height, std::vector<PackedColor> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }

  std::span<const PackedColor> Row(int y) const {
    return {pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
            static_cast<std::size_t>(width_)};
  }
  std::span<PackedColor> Row(int y) {
    return {pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
            static_cast<std::size_t>(width_)};
  }

  // The colour of pixel (x, y), or kOutside when (x, y) is not in the picture.
  PackedColor Pixel(int x, int y) const {
    return Contains(x, y) ? Row(y)[static_cast<std::size_t>(x)] : kOutside;
  }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Whether the whole rectangle lies inside the picture (an empty one always does).
  bool Contains(int left, int top, int width, int height) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<PackedColor> pixels_;
};

}  // namespace stipplor
