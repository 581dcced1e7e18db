#pragma once

// Internal to the cell encoders: reading one cell's block of pixels and their channels, and
// choosing the compile-time cell size that the encoders' kernels are built for.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "engine/colour.h"
#include "engine/picture.h"

namespace stipplor {

// The largest cell edge the encoders accept; a run passes 2..4.
inline constexpr int kMaxCellEdge = 4;

struct RgbValues {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const RgbValues&, const RgbValues&) = default;
};

// Long2RGB, with the usual case of a packed colour (bits 24-31 clear) split by masks.
inline RgbValues SplitPixel(PackedColor color) {
  if ((color & ~0xFFFFFF) == 0) [[likely]] {
    return {color & 0xFF, color >> 8 & 0xFF, color >> 16};
  }
  Int16 red = 0;
  Int16 green = 0;
  Int16 blue = 0;
  Long2RGB(color, red, green, blue);
  return {red, green, blue};
}

// The W x H pixels of the cell whose top-left pixel is (left, top), as H row pointers.
// Whether the cell leaves the picture is decided once: a cell wholly inside reads straight
// from the picture's rows; any other cell is copied, with `outside` for pixels beyond the edges.
template <int W, int H>
class CellPixels {
 public:
  CellPixels(const Picture& picture, int left, int top, PackedColor outside) {
    if (left >= 0 && top >= 0 && left + W <= picture.Width() && top + H <= picture.Height()) {
      for (int y = 0; y < H; ++y) rows_[y] = picture.Row(top + y).data() + left;
      return;
    }
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const int px = left + x;
        const int py = top + y;
        copy_[y * W + x] =
            picture.Contains(px, py) ? picture.Row(py)[static_cast<std::size_t>(px)] : outside;
      }
      rows_[y] = copy_.data() + y * W;
    }
  }
  CellPixels(const CellPixels&) = delete;
  CellPixels& operator=(const CellPixels&) = delete;

  const PackedColor* Row(int y) const { return rows_[static_cast<std::size_t>(y)]; }

 private:
  std::array<const PackedColor*, H> rows_;
  std::array<PackedColor, static_cast<std::size_t>(W) * H> copy_;
};

// Calls kernel.template operator()<W, H>() for the given cell size, so that every loop bound and
// every division by the cell size is a constant. Sizes outside 1..kMaxCellEdge are refused.
template <typename Kernel>
decltype(auto) WithCellSize(int width, int height, Kernel&& kernel) {
  using Result = decltype(kernel.template operator()<1, 1>());
  using Call = Result (*)(Kernel&);
  // One entry per size, (W - 1) * kMaxCellEdge + H - 1: a single indirect call, whatever the size.
  static constexpr auto kCalls = []<int... I>(std::integer_sequence<int, I...>) {
    return std::array<Call, sizeof...(I)>{+[](Kernel& k) -> Result {
      return k.template operator()<I / kMaxCellEdge + 1, I % kMaxCellEdge + 1>();
    }...};
  }
  (std::make_integer_sequence<int, kMaxCellEdge * kMaxCellEdge>{});
  if (width < 1 || width > kMaxCellEdge || height < 1 || height > kMaxCellEdge) {
    throw std::invalid_argument("a cell must be 1 to 4 pixels wide and high");
  }
  return kCalls[static_cast<std::size_t>((width - 1) * kMaxCellEdge + height - 1)](kernel);
}

// Calls f(std::integral_constant<int, i>{}) for i = 0..N-1 in order, so that a kernel's loop
// index is a constant and per-position weights fold away.
template <int N, typename F>
constexpr void Unrolled(F&& f) {
  [&]<int... I>(std::integer_sequence<int, I...>) { (f(std::integral_constant<int, I>{}), ...); }
  (std::make_integer_sequence<int, N>{});
}

}  // namespace stipplor
