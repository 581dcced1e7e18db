#pragma once

#include <bit>

namespace stipplor {

// sum / Divisor rounded to the nearest integer, halves to the even neighbour, for sums of
// magnitude up to 65536 (a cell's weighted sums stay within 4 x 255 x 16).
//
// The cell encoders define a mean as sum / Width / Height computed in double and rounded half
// to even; this integer form gives the same value for every sum a cell can produce. The exact
// quotient is either a half (which the double divisions by 1..4 reproduce exactly) or at least
// 1 / (2 * Divisor) away from one, far beyond the rounding error of a double. The tests compare
// both forms over every possible cell sum.
template <int Divisor>
constexpr int RoundHalfEven(int sum) {
  static_assert(Divisor > 0);
  if constexpr (Divisor == 1) {
    return sum;
  } else if constexpr ((Divisor & (Divisor - 1)) == 0) {
    // A power of two: the floor quotient is a shift, and adding just under a half (a full half
    // when the quotient is odd) rounds it.
    constexpr int kBits = std::countr_zero(static_cast<unsigned>(Divisor));
    return (sum + Divisor / 2 - 1 + (sum >> kBits & 1)) >> kBits;
  } else {
    // Shifting by an even multiple of the divisor keeps the quotient's parity and makes the
    // division unsigned, which compiles to a multiplication.
    constexpr unsigned kShift = 65536;
    constexpr unsigned kDivisor = Divisor;
    const unsigned shifted = static_cast<unsigned>(sum) + kShift * kDivisor;
    unsigned quotient = shifted / kDivisor;
    const unsigned twiceRemainder = 2 * (shifted % kDivisor);
    if (twiceRemainder > kDivisor || (twiceRemainder == kDivisor && quotient % 2 != 0)) ++quotient;
    return static_cast<int>(quotient) - static_cast<int>(kShift);
  }
}

}  // namespace stipplor
