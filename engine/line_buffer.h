#pragma once

#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "engine/colour.h"

namespace stipplor {

// A line under construction. Pieces are copied in with one well-predicted size check each and
// the memory is kept from row to row, so building a row allocates nothing once it has grown.
class LineBuffer {
 public:
  void Clear() { size_ = 0; }

  // A literal: its length is known at compile time, so the copy is a few moves.
  template <std::size_t N>
  void Put(const char (&literal)[N]) {
    PutBytes(literal, N - 1);
  }
  void Put(std::string_view piece) { PutBytes(piece.data(), piece.size()); }
  void Put(const ColorText& colour) { PutBytes(colour.chars.data(), colour.chars.size()); }
  void PutNumber(int number) {
    char digits[12];
    PutBytes(digits,
             static_cast<std::size_t>(std::to_chars(digits, digits + 12, number).ptr - digits));
  }

  std::size_t Size() const { return size_; }
  std::string_view View() const { return {buffer_.data(), size_}; }
  void Swap(LineBuffer& other) noexcept {
    buffer_.swap(other.buffer_);
    std::swap(size_, other.size_);
  }

 private:
  void PutBytes(const char* bytes, std::size_t count) {
    // An empty piece may have no storage at all, and memcpy wants real pointers even for 0 bytes.
    if (count == 0) return;
    if (size_ + count > buffer_.size()) buffer_.resize(2 * (size_ + count) + 256);
    std::memcpy(buffer_.data() + size_, bytes, count);
    size_ += count;
  }

  std::vector<char> buffer_;
  std::size_t size_ = 0;
};

}  // namespace stipplor
