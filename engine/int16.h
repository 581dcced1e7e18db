#pragma once

#include <cstdint>
#include <stdexcept>

namespace stipplor {

// Errors that end an encoding run; what() is the description the user is shown.
class EncodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A coordinate, size or count of a run left the 16-bit range.
class OverflowError : public EncodeError {
 public:
  OverflowError() : EncodeError("Overflow") {}
};

// Coordinates, sizes, table dimensions and counts of a run are 16-bit signed values;
// leaving -32768..32767 stops the run instead of wrapping around.
using Int16 = std::int16_t;

inline Int16 To16(long long value) {
  if (value < INT16_MIN || value > INT16_MAX) throw OverflowError();
  return static_cast<Int16>(value);
}
inline Int16 Add16(long long a, long long b) { return To16(a + b); }
inline Int16 Sub16(long long a, long long b) { return To16(a - b); }
inline Int16 Mul16(long long a, long long b) { return To16(a * b); }

}  // namespace stipplor
