#include "fuzz/document_shape.h"

#include <cstdio>
#include <cstdlib>

namespace stipplor::fuzz {

namespace {

constexpr std::string_view kHead = "<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>";
constexpr std::string_view kTableStart = "<table noborder cellpadding=0 cellspacing=0 height=";
constexpr std::string_view kFontStyle = " style='FONT-SIZE:3px;LINE-HEIGHT:2px;FONT-FAMILY:Arial";
constexpr std::string_view kBWRowStart = "<tr><td><nobr>";
constexpr std::string_view kBWRowEnd = "</nobr></td></tr>";
constexpr std::string_view kColoredRowEnd = "</tr></table>";
constexpr std::string_view kBWTail = "</table></DIV></BODY></HTML>";
constexpr std::string_view kColoredTail = "</DIV></BODY></HTML>";
constexpr std::string_view kBlank = "&nbsp;";

// Cells per row (rows) of a region side: whole cells only, none for a side below one cell.
int CellsAlong(long long side, int ratio) {
  return side >= ratio ? static_cast<int>(side / ratio) : 0;
}

// Reads a line from left to right; every Take* consumes only on success.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) {}

  bool AtEnd() const { return rest_.empty(); }
  bool Next(std::string_view piece) const { return rest_.starts_with(piece); }

  bool Take(std::string_view piece) {
    if (!Next(piece)) return false;
    rest_.remove_prefix(piece.size());
    return true;
  }

  bool TakeNumber(long long& number) {
    std::size_t i = rest_.starts_with('-') ? 1 : 0;
    const std::size_t digits = i;
    while (i < rest_.size() && i < 12 && rest_[i] >= '0' && rest_[i] <= '9') ++i;
    if (i == digits || (rest_[digits] == '0' && i > digits + 1)) return false;
    number = std::atoll(std::string(rest_.substr(0, i)).c_str());
    rest_.remove_prefix(i);
    return true;
  }

  // "#" and six upper-case hexadecimal digits.
  bool TakeColour(std::string& colour) {
    if (rest_.size() < 7 || rest_[0] != '#') return false;
    for (std::size_t i = 1; i < 7; ++i) {
      const char c = rest_[i];
      if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    colour.assign(rest_.substr(0, 7));
    rest_.remove_prefix(7);
    return true;
  }

  // One character of a cell's pair: "I", ".", "'", a blank written "&nbsp;" or, where
  // `space` allows, a plain space.
  bool TakeInk(bool space, std::string& pair) {
    for (const std::string_view ink :
         {std::string_view("I"), std::string_view("."), std::string_view("'"), kBlank}) {
      if (Take(ink)) {
        pair.append(ink);
        return true;
      }
    }
    if (space && Take(" ")) {
      pair.push_back(' ');
      return true;
    }
    return false;
  }

  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

void Expect(bool condition, std::string_view what, std::string_view line) {
  if (!condition) Fail(what, line);
}

void CheckBWRow(std::string_view line, int columns) {
  Cursor cursor(line);
  Expect(cursor.Take(kBWRowStart), "B&W row start", line);
  for (int i = 0; i < columns; ++i) {
    std::string pair;
    // A blank first character is always written "&nbsp;", a blank second one as a space.
    Expect(cursor.TakeInk(false, pair) && cursor.TakeInk(true, pair) && !pair.ends_with(kBlank),
           "B&W fragment", line);
  }
  Expect(cursor.Take(kBWRowEnd) && cursor.AtEnd(), "B&W row: cell count or end", line);
}

// One cell of a colored row as the run chose it; `pair` is empty without characters.
struct ColoredCell {
  std::string background, font, pair;
};

std::string PlainCell(const ColoredCell& cell) {
  std::string text = "<td bgcolor=" + cell.background + ">";
  if (!cell.pair.empty()) text += "<font color=" + cell.font + ">" + cell.pair + "</font>";
  return text + "</td>";
}

// Runs of equal colours of a row without characters, one cell each.
std::string MergedSingleColour(const std::vector<ColoredCell>& cells) {
  std::string merged, previous;
  int count = 0;
  for (const ColoredCell& cell : cells) {
    if (cell.background != previous && count > 0) {
      merged += "<td width=" + std::to_string(2 * count) + " bgcolor=" + previous + "></td>";
      count = 1;
    } else {
      ++count;
    }
    previous = cell.background;
  }
  return merged + "<td width=" + std::to_string(2 * count) + " bgcolor=" + previous + "></td>";
}

// Runs of equal backgrounds of a row with characters, the font colour changing inside a run.
std::string MergedTwoColour(const std::vector<ColoredCell>& cells) {
  std::string merged, previousBackground, previousFont, pending;
  int count = 0;
  for (const ColoredCell& cell : cells) {
    if (cell.background != previousBackground) {
      if (count > 0) merged += "<td width=" + std::to_string(2 * count) + pending + "</font></td>";
      pending = " bgcolor=" + cell.background + "><font color=" + cell.font + ">" + cell.pair;
      count = 1;
    } else {
      if (cell.font != previousFont) pending += "</font><font color=" + cell.font + ">";
      pending += cell.pair;
      ++count;
    }
    previousBackground = cell.background;
    previousFont = cell.font;
  }
  return merged + "<td width=" + std::to_string(2 * count) + pending + "</font></td>";
}

// The row the run must write for these cells: the plain row, or with merging the merged row
// when it has fewer characters.
std::string ExpectedColoredRow(const std::string& prefix, const std::vector<ColoredCell>& cells,
                               bool merge, bool characters) {
  std::string plain = prefix;
  for (const ColoredCell& cell : cells) plain += PlainCell(cell);
  if (merge) {
    const std::string merged =
        prefix + (characters ? MergedTwoColour(cells) : MergedSingleColour(cells));
    if (merged.size() < plain.size()) return merged + std::string(kColoredRowEnd);
  }
  return plain + std::string(kColoredRowEnd);
}

// Reads the cells of a colored row, plain or merged, and checks that the row is the one the
// run must write for them.
void CheckColoredRow(std::string_view line, const std::string& prefix, const DocumentShape& shape) {
  Cursor cursor(line);
  Expect(cursor.Take(prefix), "colored row start", line);
  std::vector<ColoredCell> cells;
  while (!cursor.Next(kColoredRowEnd)) {
    Expect(cursor.Take("<td"), "colored cell start", line);
    long long width = 2;
    if (cursor.Take(" width=")) {
      Expect(shape.mayMerge && cursor.TakeNumber(width) && width >= 2 && width % 2 == 0,
             "merged cell width", line);
    }
    ColoredCell cell;
    Expect(cursor.Take(" bgcolor=") && cursor.TakeColour(cell.background) && cursor.Take(">"),
           "cell background", line);
    const long long count = width / 2;
    if (!shape.characters) {
      Expect(cursor.Take("</td>"), "colored cell end", line);
      cells.insert(cells.end(), static_cast<std::size_t>(count), cell);
      continue;
    }
    for (long long i = 0; i < count; ++i) {
      if (i == 0 || cursor.Next("</font>")) {
        if (i > 0) cursor.Take("</font>");
        Expect(cursor.Take("<font color=") && cursor.TakeColour(cell.font) && cursor.Take(">"),
               "font colour", line);
      }
      cell.pair.clear();
      Expect(cursor.TakeInk(false, cell.pair) && cursor.TakeInk(false, cell.pair), "character pair",
             line);
      cells.push_back(cell);
    }
    Expect(cursor.Take("</font></td>"), "colored cell end", line);
    Expect(cells.size() <= static_cast<std::size_t>(shape.columns), "too many cells", line);
  }
  Expect(cells.size() == static_cast<std::size_t>(shape.columns), "cell count", line);
  Expect(line == ExpectedColoredRow(prefix, cells, shape.mayMerge, shape.characters),
         "plain or merged row, whichever the run must choose", line);
}

}  // namespace

DocumentShape ExpectedShape(const Picture& picture, const std::optional<Region>& selection,
                            const EncodeOptions& options) {
  const Region region = selection.value_or(Region{0, 0, picture.Width(), picture.Height()});
  DocumentShape shape;
  shape.bw = options.BW != 0;
  shape.colorized = options.Colorized != 0;
  shape.characters = !shape.bw && options.HighQuality != 0 && options.Ratio >= 2;
  shape.mayMerge = !shape.bw && options.MinimizeSize != 0;
  shape.rows = CellsAlong(region.Height, options.Ratio);
  shape.columns = CellsAlong(region.Width, options.Ratio);
  // Twice the cells of the cut region; a side below one cell is cut to a negative offset,
  // which the table dimension shows as it is.
  shape.w2 = 2LL * (region.Width / options.Ratio);
  shape.h2 = 2LL * (region.Height / options.Ratio);
  return shape;
}

void CheckDocument(const LineRecorder& document, const DocumentShape& shape) {
  const std::vector<std::string>& lines = document.lines;
  const std::size_t expected = static_cast<std::size_t>(shape.rows) + (shape.bw ? 3 : 2);
  if (document.begun != 1 || document.ended != 1) Fail("document not begun and ended once");
  if (lines.size() != expected) {
    Fail("line count", std::to_string(lines.size()) + " instead of " + std::to_string(expected));
  }
  Expect(lines.front() == kHead, "head line", lines.front());
  Expect(lines.back() == (shape.bw ? kBWTail : kColoredTail), "tail line", lines.back());
  const std::size_t firstRow = shape.bw ? 2 : 1;
  if (shape.bw) {
    Cursor cursor(lines[1]);
    long long h2 = 0, w2 = 0;
    std::string ink, background;
    Expect(cursor.Take(kTableStart) && cursor.TakeNumber(h2) && h2 == shape.h2 &&
               cursor.Take(" width=") && cursor.TakeNumber(w2) && w2 == shape.w2 &&
               cursor.Take(kFontStyle),
           "B&W table line", lines[1]);
    if (shape.colorized) {
      Expect(cursor.Take(";background-color:") && cursor.TakeColour(background) &&
                 cursor.Take(";color:") && cursor.TakeColour(ink),
             "colour style", lines[1]);
    }
    Expect(cursor.Take("'>") && cursor.AtEnd(), "B&W table line end", lines[1]);
    for (std::size_t i = firstRow; i + 1 < lines.size(); ++i) CheckBWRow(lines[i], shape.columns);
    return;
  }
  const std::string prefix = std::string(kTableStart) + "2 width=" + std::to_string(shape.w2) +
                             std::string(kFontStyle) + "'><tr>";
  for (std::size_t i = firstRow; i + 1 < lines.size(); ++i) {
    CheckColoredRow(lines[i], prefix, shape);
  }
}

void Fail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "malformed document: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::abort();
}

}  // namespace stipplor::fuzz
