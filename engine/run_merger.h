#pragma once

#include <string_view>

#include "engine/colour.h"
#include "engine/line_buffer.h"

namespace stipplor {

// Builds the merged form of a colored row, in which runs of neighbouring cells of one colour
// become one wider cell. Both mergers append to a row that already holds the table prefix.

// Cells of one colour each (one-pixel cells and the lower quality).
class SingleColourMerger {
 public:
  void Start();
  void Add(const ColorText& colour, LineBuffer& row);
  void Finish(LineBuffer& row);

 private:
  ColorText previous_{};
  bool hasPrevious_ = false;
  int count_ = 0;
};

// Cells of a background colour carrying characters in a font colour (the higher quality).
class TwoColourMerger {
 public:
  void Start();
  void Add(const ColorText& bbCol, const ColorText& ffCol, std::string_view ssCol, LineBuffer& row);
  void Finish(LineBuffer& row);

 private:
  ColorText previousBackground_{};
  ColorText previousFont_{};
  bool hasPrevious_ = false;
  int count_ = 0;
  LineBuffer pending_;
};

}  // namespace stipplor
