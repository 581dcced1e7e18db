#pragma once

// The two forms of a colored row's cells: plain, one table cell per picture cell, and merged,
// where a run of neighbouring cells of one colour becomes one wider cell. A row is written in
// the merged form only when that is strictly shorter, so both are measured first and only the
// chosen one is built.

#include <cstddef>
#include <span>
#include <string_view>

#include "engine/colour.h"
#include "engine/line_buffer.h"

namespace stipplor {

// Cells of one colour each (one-pixel cells and the lower quality).
class SingleColourCells {
 public:
  explicit SingleColourCells(std::span<const ColorText> colours) : colours_(colours) {}
  std::size_t PlainLength() const;
  std::size_t MergedLength() const;
  void PutPlain(LineBuffer& row) const;
  void PutMerged(LineBuffer& row) const;

 private:
  std::span<const ColorText> colours_;
};

// A cell drawn as two characters in a font colour on a background colour.
struct TwoColourCell {
  ColorText bbCol;
  ColorText ffCol;
  std::string_view ssCol;
};

// Cells of the higher quality; a run shares its background, the font colour may change inside.
class TwoColourCells {
 public:
  explicit TwoColourCells(std::span<const TwoColourCell> cells) : cells_(cells) {}
  std::size_t PlainLength() const;
  std::size_t MergedLength() const;
  void PutPlain(LineBuffer& row) const;
  void PutMerged(LineBuffer& row) const;

 private:
  std::span<const TwoColourCell> cells_;
};

}  // namespace stipplor
