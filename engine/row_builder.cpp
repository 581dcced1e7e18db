#include "engine/row_builder.h"

#include <algorithm>

#include "engine/cells.h"
#include "engine/colour.h"
#include "engine/pixel_entries.h"

namespace stipplor {

namespace {

constexpr std::string_view kBWRowStart = "<tr><td><nobr>";
constexpr std::string_view kBWRowEnd = "</nobr></td></tr>";
constexpr std::string_view kColoredRowEnd = "</tr></table>";

bool IsSet(Int16 flag) { return flag != 0; }

// Reads the pixels of one row of one-pixel cells; outside positions read as `outside`.
void ReadRow(const Picture& picture, int left, int y, int count, PackedColor outside,
             std::vector<PackedColor>& pixels) {
  pixels.assign(static_cast<std::size_t>(count), outside);
  if (y < 0 || y >= picture.Height()) return;
  const auto row = picture.Row(y);
  const int from = std::max(left, 0);
  const int to = std::min(left + count, picture.Width());
  for (int x = from; x < to; ++x) {
    pixels[static_cast<std::size_t>(x - left)] = row[static_cast<std::size_t>(x)];
  }
}

}  // namespace

std::string_view RowBuilder::Build(int y) {
  const CellGrid& grid = context_.grid;
  // The column bound of the walk is evaluated for every row.
  Add16(grid.Left, grid.Width);
  if (IsSet(context_.options.BW)) {
    BuildBW(y);
  } else {
    BuildColored(y);
  }
  return row_.View();
}

std::string_view RowBuilder::PixelEntry(int b, int x, int y) const {
  const EncodeOptions& options = context_.options;
  const bool odd = (x + y) % 2 != 0;
  if (IsSet(options.BWSmoothTransition)) b += odd ? 77 : -77;
  b = std::clamp(b, 0, 1530);
  switch (options.BWEncoding) {
    case 0: {
      const BrightnessRange& range = context_.range;
      const int v = std::clamp((b - range.BWMin) * 1530 / (range.BWMax - range.BWMin), 0, 1530);
      return v < 766 ? kPlainPattern[0] : kPlainPattern[4];
    }
    case 1:
      return kPlainPattern[static_cast<std::size_t>(BrightnessLevel(b))];
    case 2:
      return (odd ? kDottedOdd : kDottedEven)[static_cast<std::size_t>(BrightnessLevel(b))];
    default:
      return kFractal[static_cast<std::size_t>(GetHilbertShape(x, y))]
                     [static_cast<std::size_t>(BrightnessLevel(b))];
  }
}

void RowBuilder::BuildBW(int y) {
  const CellGrid& grid = context_.grid;
  const EncodeOptions& options = context_.options;
  const int columns = grid.Columns();
  row_.Clear();
  row_.Put(kBWRowStart);
  if (grid.Ratio == 1) {
    // Parity needs x + y, a 16-bit sum; it grows with x, so checking the row's ends covers all.
    if (columns > 0 && (IsSet(options.BWSmoothTransition) || options.BWEncoding == 2)) {
      Add16(grid.Left, y);
      Add16(grid.Left + grid.Width, y);
    }
    ReadRow(context_.picture, grid.Left, y, columns, kOutside, pixels_);
    for (int i = 0; i < columns; ++i) {
      Int16 red, green, blue;
      Long2RGB(pixels_[static_cast<std::size_t>(i)], red, green, blue);
      row_.Put(PixelEntry(Brightness(red, green, blue), grid.ColumnLeft(i), y));
    }
  } else {
    for (int i = 0; i < columns; ++i) {
      row_.Put(GetPixBW(context_.picture, static_cast<Int16>(grid.ColumnLeft(i)),
                        static_cast<Int16>(y), grid.Ratio, grid.Ratio, options.BWEncoding,
                        options.BWSmoothTransition, context_.range));
    }
  }
  if (columns > 0) StepPastLast(grid.Left + grid.Width, grid.Ratio);
  row_.Put(kBWRowEnd);
}

// The plain form, or the merged one with MinimizeSize when it is strictly shorter.
template <typename Cells>
void RowBuilder::PutCells(const Cells& cells) {
  if (IsSet(context_.options.MinimizeSize) && cells.MergedLength() < cells.PlainLength()) {
    cells.PutMerged(row_);
  } else {
    cells.PutPlain(row_);
  }
}

void RowBuilder::BuildColored(int y) {
  const CellGrid& grid = context_.grid;
  const int columns = grid.Columns();
  row_.Clear();
  row_.Put(context_.coloredPrefix);
  if (ColoredCellsCarryCharacters(context_.options)) {
    twoColourCells_.resize(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
      TwoColourCell& cell = twoColourCells_[static_cast<std::size_t>(i)];
      PixColHiQu(context_.picture, static_cast<Int16>(grid.ColumnLeft(i)), static_cast<Int16>(y),
                 grid.Ratio, grid.Ratio, cell.bbCol, cell.ffCol, cell.ssCol);
    }
    if (columns > 0) StepPastLast(grid.Left + grid.Width, grid.Ratio);
    PutCells(TwoColourCells(twoColourCells_));
  } else {
    colours_.resize(static_cast<std::size_t>(columns));
    if (grid.Ratio == 1) {
      // Outside the picture a colored run draws black.
      ReadRow(context_.picture, grid.Left, y, columns, 0, pixels_);
      for (int i = 0; i < columns; ++i) {
        Int16 red, green, blue;
        Long2RGB(pixels_[static_cast<std::size_t>(i)], red, green, blue);
        colours_[static_cast<std::size_t>(i)] = RGB2Hex(red, green, blue);
      }
    } else {
      for (int i = 0; i < columns; ++i) {
        colours_[static_cast<std::size_t>(i)] =
            GetPixColLoQu(context_.picture, static_cast<Int16>(grid.ColumnLeft(i)),
                          static_cast<Int16>(y), grid.Ratio, grid.Ratio);
      }
    }
    if (columns > 0) StepPastLast(grid.Left + grid.Width, grid.Ratio);
    PutCells(SingleColourCells(colours_));
  }
  row_.Put(kColoredRowEnd);
}

}  // namespace stipplor
