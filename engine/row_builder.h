#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/cell_grid.h"
#include "engine/line_buffer.h"
#include "engine/options.h"
#include "engine/picture.h"
#include "engine/run_merger.h"

namespace stipplor {

// What every row of one run shares.
struct RowContext {
  const Picture& picture;
  const EncodeOptions& options;
  CellGrid grid;
  BrightnessRange range;
  // Colored runs: "<table ... width=W2 style='...'><tr>", the start of every row.
  std::string coloredPrefix;
};

// Builds the line of one row of cells. Keeps its buffers between rows; one per thread.
class RowBuilder {
 public:
  explicit RowBuilder(const RowContext& context) : context_(context) {}

  // The line of the cell row whose top pixel row is y. Valid until the next call.
  std::string_view Build(int y);

 private:
  void BuildBW(int y);
  void BuildColored(int y);
  std::string_view PixelEntry(int b, int x, int y) const;
  template <typename Cells>
  void PutCells(const Cells& cells);

  const RowContext& context_;
  LineBuffer row_;
  std::vector<PackedColor> pixels_;
  std::vector<ColorText> colours_;
  std::vector<TwoColourCell> twoColourCells_;
};

}  // namespace stipplor
