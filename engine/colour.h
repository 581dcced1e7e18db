#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/int16.h"
#include "engine/picture.h"

namespace stipplor {

// "#" and six upper-case hexadecimal digits, red, green, blue. Kept in place, not on the heap:
// a run makes one or two per cell.
struct ColorText {
  std::array<char, 7> chars{};
  std::string_view View() const { return {chars.data(), chars.size()}; }
  std::string Str() const { return std::string(View()); }
  // Two overlapping 4-byte loads instead of a library call: rows compare every cell's colour.
  friend bool operator==(const ColorText& a, const ColorText& b) {
    std::uint32_t a0, a1, b0, b1;
    std::memcpy(&a0, a.chars.data(), 4);
    std::memcpy(&a1, a.chars.data() + 3, 4);
    std::memcpy(&b0, b.chars.data(), 4);
    std::memcpy(&b1, b.chars.data() + 3, 4);
    return a0 == b0 && a1 == b1;
  }
};

// Splits a packed colour into its channels. Defined for every 32-bit value with the
// remainder taking the dividend's sign, so the outside value -1 gives red -1, green 0, blue 0.
inline void Long2RGB(PackedColor Color, Int16& Red, Int16& Green, Int16& Blue) {
  const std::int32_t red = Color % 256;
  const std::int32_t t = (Color - red) / 256;
  const std::int32_t green = t % 256;
  Red = static_cast<Int16>(red);
  Green = static_cast<Int16>(green);
  Blue = static_cast<Int16>((t - green) / 256);
}

// Thrown by RGB2Hex for a channel outside 0..255.
class InvalidArgumentError : public EncodeError {
 public:
  InvalidArgumentError() : EncodeError("Invalid procedure call or argument") {}
};

namespace detail {
// The two hexadecimal digits of every channel value, high digit first.
inline constexpr auto kHexPairs = [] {
  std::array<std::array<char, 2>, 256> pairs{};
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int c = 0; c < 256; ++c)
    pairs[static_cast<std::size_t>(c)] = {kDigits[c / 16], kDigits[c % 16]};
  return pairs;
}();
}  // namespace detail

// "#RRGGBB" of three channels 0..255; any other channel value is refused.
inline ColorText RGB2Hex(int Red, int Green, int Blue) {
  if (Red < 0 || Red > 255 || Green < 0 || Green > 255 || Blue < 0 || Blue > 255) {
    throw InvalidArgumentError();
  }
  const auto& r = detail::kHexPairs[static_cast<std::size_t>(Red)];
  const auto& g = detail::kHexPairs[static_cast<std::size_t>(Green)];
  const auto& b = detail::kHexPairs[static_cast<std::size_t>(Blue)];
  return ColorText{{'#', r[0], r[1], g[0], g[1], b[0], b[1]}};
}

// Sum of the absolute channel differences of two colours.
inline int ColorDist(int rr0, int gg0, int bb0, int rr1, int gg1, int bb1) {
  const auto abs = [](int v) { return v < 0 ? -v : v; };
  return abs(rr0 - rr1) + abs(gg0 - gg1) + abs(bb0 - bb1);
}

// 2 * red + 3 * green + blue: 0 for black, 1530 for white.
inline int Brightness(int red, int green, int blue) { return 2 * red + 3 * green + blue; }

}  // namespace stipplor
