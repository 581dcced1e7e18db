#pragma once

#include <string_view>
#include <vector>

namespace stipplor {

// Where each row of a shown document lies in its text, for the view that draws only the rows in
// sight. A page is its head line, on a B&W page the start tag of its one table, one line per row
// of cells (a table of its own on a colored page, a table row on a B&W page) and a tail line.
class DocumentRows {
 public:
  DocumentRows() = default;
  // `text` is the whole document, every line ended by CR LF; it must outlive this index.
  explicit DocumentRows(std::string_view text);

  int Count() const { return static_cast<int>(starts_.size()) - 1; }
  bool BW() const { return !tableStart_.empty(); }
  // The page's extent in CSS pixels: the width attribute of its tables and 2 pixels a row.
  int Width() const { return width_; }
  int Height() const { return 2 * Count(); }
  // The first line: the document's head, the centring DIV and the font's style element, if any.
  std::string_view Head() const { return head_; }
  // The start tag of a B&W page's table; empty on a colored page.
  std::string_view TableStart() const { return tableStart_; }
  // The lines of rows from..to - 1 as the document holds them, each ended by CR LF; `from` and
  // `to` are clamped to the rows there are.
  std::string_view Lines(int from, int to) const;

 private:
  std::string_view text_;
  std::string_view head_;
  std::string_view tableStart_;
  int width_ = 0;
  std::vector<std::size_t> starts_{0};  // where each row's line starts, then where the last ends
};

}  // namespace stipplor
