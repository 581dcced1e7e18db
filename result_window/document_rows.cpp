#include "result_window/document_rows.h"

#include <algorithm>
#include <charconv>

#include "engine/html_document.h"

namespace stipplor {

namespace {

// The number after " width=" in a table's start tag, or 0.
int TableWidth(std::string_view tag) {
  constexpr std::string_view kWidth = " width=";
  const auto at = tag.find(kWidth);
  int width = 0;
  if (at != std::string_view::npos) {
    const std::string_view digits = tag.substr(at + kWidth.size());
    std::from_chars(digits.data(), digits.data() + digits.size(), width);
  }
  return width;
}

}  // namespace

DocumentRows::DocumentRows(std::string_view text) : text_(text) {
  std::vector<std::string_view> lines;
  std::vector<std::size_t> offsets;
  for (std::size_t at = 0; at < text.size();) {
    const auto end = text.find(kLineEnd, at);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + kLineEnd.size();
    offsets.push_back(at);
    lines.push_back(text.substr(at, (end == std::string_view::npos ? text.size() : end) - at));
    at = next;
  }
  if (lines.size() < 2) return;
  head_ = lines.front();
  // A B&W page's second line is its table's start tag; every line of a colored row holds its
  // own table row.
  std::size_t first = 1;
  if (lines[1].starts_with("<table") && lines[1].find("<tr>") == std::string_view::npos) {
    tableStart_ = lines[1];
    first = 2;
  }
  const std::size_t last = lines.size() - 1;  // the tail
  starts_.clear();
  for (std::size_t i = first; i <= std::max(first, last); ++i) starts_.push_back(offsets[i]);
  const std::string_view sample = BW() ? tableStart_ : (Count() > 0 ? lines[first] : "");
  width_ = TableWidth(sample);
}

std::string_view DocumentRows::Lines(int from, int to) const {
  from = std::clamp(from, 0, Count());
  to = std::clamp(to, from, Count());
  const auto begin = starts_[static_cast<std::size_t>(from)];
  return text_.substr(begin, starts_[static_cast<std::size_t>(to)] - begin);
}

}  // namespace stipplor
