#include "engine/encode.h"

#include <array>
#include <string>
#include <string_view>

#include "engine/cell_grid.h"
#include "engine/cells.h"
#include "engine/colour.h"
#include "engine/ordered_rows.h"
#include "engine/pixel_font.h"
#include "engine/row_builder.h"

namespace stipplor {

namespace {

constexpr std::string_view kDocumentHead = "<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>";
constexpr std::string_view kTableStart = "<table noborder cellpadding=0 cellspacing=0 height=";
constexpr std::string_view kFontStyle = " style='FONT-SIZE:3px;LINE-HEIGHT:2px;FONT-FAMILY:";
constexpr std::string_view kBWTail = "</table></DIV></BODY></HTML>";
constexpr std::string_view kColoredTail = "</DIV></BODY></HTML>";
// Browsers measure each cell's text 1/64 px wider than its whole pixels, which widens a table
// of many cells past its width and off the pixel grid; a fixed layout keeps the given widths.
constexpr std::string_view kPixelFontLayout = "table{table-layout:fixed}";
constexpr std::array<std::string_view, 4> kSizeNames = {"1:2", "1:1", "3:2", "2:1"};
constexpr std::array<std::string_view, 4> kStyleNames = {"  Plain", "  Pattern", "  Dotted",
                                                         "  Fractal"};

bool IsSet(Int16 flag) { return flag != 0; }

// The pixel font serves pages whose cells carry characters; colour cells alone keep their bytes.
bool UsesPixelFont(const EncodeOptions& options) {
  return options.PixelFont && (IsSet(options.BW) || ColoredCellsCarryCharacters(options));
}

void CheckOptions(const EncodeOptions& options) {
  if (options.Ratio < 1 || options.Ratio > 4 || options.BWEncoding < 0 || options.BWEncoding > 3) {
    throw InvalidArgumentError();
  }
}

}  // namespace

std::string Caption(const EncodeOptions& options) {
  CheckOptions(options);
  std::string caption(kSizeNames[static_cast<std::size_t>(options.Ratio - 1)]);
  if (IsSet(options.BW)) {
    caption.append("  B&W").append(kStyleNames[static_cast<std::size_t>(options.BWEncoding)]);
    caption.append(IsSet(options.Colorized) ? "  Colorized" : "  Grey");
  } else {
    caption.append("  Colored");
    caption.append(IsSet(options.HighQuality) ? "  High-Quality" : "  Low-Quality");
    if (IsSet(options.MinimizeSize)) caption.append("  Size-Minimized");
  }
  // Named only where the page carries the font.
  if (UsesPixelFont(options)) caption.append("  Pixel-Font");
  return caption;
}

EncodeResult Encode(const Picture& picture, const std::optional<Region>& selection,
                    const EncodeOptions& options, LineSink& sink, int threads) {
  CheckOptions(options);
  const bool bw = IsSet(options.BW);
  RowContext context{picture, options, CellGrid::Cut(picture, selection, options.Ratio), {}, {}};
  const CellGrid& grid = context.grid;

  // The colours of a B&W page are chosen whenever Colorized is set, also for a colored run:
  // the brightness range it leaves behind is part of the run's result.
  std::string styleSuffix;
  if (IsSet(options.Colorized)) {
    ColorText ffCol, bbCol;
    GetBWColors(picture, options.BWEncoding, grid.Left, grid.Top, grid.Width, grid.Height, ffCol,
                bbCol, context.range);
    styleSuffix.append(";background-color:").append(bbCol.View());
    styleSuffix.append(";color:").append(ffCol.View());
  } else {
    context.range = BrightnessRange{0, 1530};
  }

  // The font's style element joins the head line, so that the lines of every page stay the
  // head, the B&W table and the rows; it lies in the body, which is all a saved file keeps.
  const bool pixelFont = UsesPixelFont(options);
  std::string head(kDocumentHead);
  std::string fontStyle(kFontStyle);
  if (pixelFont) {
    head.append("<style>").append(kPixelFontFace).append(kPixelFontLayout).append("</style>");
    fontStyle.append(kPixelFontFamily).append(",");
  }
  fontStyle.append("Arial");

  sink.Begin();
  sink.AppendLine(head);
  if (bw) {
    std::string table(kTableStart);
    table.append(std::to_string(grid.H2()));
    table.append(" width=");
    table.append(std::to_string(grid.W2()));
    table.append(fontStyle).append(styleSuffix).append("'>");
    sink.AppendLine(table);
  }
  // The row bound of the walk is a 16-bit value too.
  Add16(grid.Top, grid.Height);
  const int rows = grid.Rows();
  if (!bw && rows > 0) {
    Add16(grid.Left, grid.Width);
    context.coloredPrefix.assign(kTableStart).append("2 width=");
    context.coloredPrefix.append(std::to_string(grid.W2()));
    context.coloredPrefix.append(fontStyle).append("'><tr>");
  }
  WriteRowsInOrder(context, threads, sink);
  if (rows > 0) StepPastLast(grid.RowTop(rows - 1), grid.Ratio);
  sink.AppendLine(bw ? kBWTail : kColoredTail);
  sink.End();
  return EncodeResult{Caption(options), context.range};
}

}  // namespace stipplor
