#include "engine/run_merger.h"

namespace stipplor {

namespace {

constexpr std::size_t kColourLength = 7;

// Decimal digits of a run's width attribute.
std::size_t Digits(std::size_t number) {
  std::size_t digits = 1;
  while (number >= 10) {
    number /= 10;
    ++digits;
  }
  return digits;
}

// "<td width=" + 2 x count. The count never exceeds the cells of a row, and twice that is the
// table's width attribute, already known to fit in 16 bits.
void PutRunStart(LineBuffer& row, std::size_t count) {
  row.Put("<td width=");
  row.PutNumber(static_cast<int>(2 * count));
}

constexpr std::size_t kRunStartLength = sizeof("<td width=") - 1;

}  // namespace

// "<td bgcolor=" + colour + "></td>"
std::size_t SingleColourCells::PlainLength() const {
  return colours_.size() * (sizeof("<td bgcolor=></td>") - 1 + kColourLength);
}

void SingleColourCells::PutPlain(LineBuffer& row) const {
  for (const ColorText& colour : colours_) {
    row.Put("<td bgcolor=");
    row.Put(colour);
    row.Put("></td>");
  }
}

// Each run: "<td width=" + 2 x count + " bgcolor=" + colour + "></td>". A row without cells still
// closes an empty run with an empty colour text.
std::size_t SingleColourCells::MergedLength() const {
  constexpr std::size_t kRunRest = sizeof(" bgcolor=></td>") - 1;
  if (colours_.empty()) return kRunStartLength + 1 + kRunRest;
  std::size_t length = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    ++count;
    if (i + 1 == colours_.size() || colours_[i + 1] != colours_[i]) {
      length += kRunStartLength + Digits(2 * count) + kRunRest + kColourLength;
      count = 0;
    }
  }
  return length;
}

void SingleColourCells::PutMerged(LineBuffer& row) const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    ++count;
    if (i + 1 == colours_.size() || colours_[i + 1] != colours_[i]) {
      PutRunStart(row, count);
      row.Put(" bgcolor=");
      row.Put(colours_[i]);
      row.Put("></td>");
      count = 0;
    }
  }
}

// "<td bgcolor=" + bbCol + "><font color=" + ffCol + ">" + ssCol + "</font></td>"
std::size_t TwoColourCells::PlainLength() const {
  constexpr std::size_t kFixed =
      sizeof("<td bgcolor=><font color=></font></td>") - 1 + 2 * kColourLength;
  std::size_t length = cells_.size() * kFixed;
  for (const TwoColourCell& cell : cells_) length += cell.ssCol.size();
  return length;
}

void TwoColourCells::PutPlain(LineBuffer& row) const {
  for (const TwoColourCell& cell : cells_) {
    row.Put("<td bgcolor=");
    row.Put(cell.bbCol);
    row.Put("><font color=");
    row.Put(cell.ffCol);
    row.Put(">");
    row.Put(cell.ssCol);
    row.Put("</font></td>");
  }
}

// Each run: "<td width=" + 2 x count + " bgcolor=" + bbCol + "><font color=" + ffCol + ">" and
// the characters of its cells, with "</font><font color=" + ffCol + ">" before a cell whose
// font colour differs from its neighbour's, then "</font></td>". A row without cells still
// closes an empty run.
std::size_t TwoColourCells::MergedLength() const {
  constexpr std::size_t kRunOpen = sizeof(" bgcolor=><font color=>") - 1 + 2 * kColourLength;
  constexpr std::size_t kFontChange = sizeof("</font><font color=>") - 1 + kColourLength;
  constexpr std::size_t kRunClose = sizeof("</font></td>") - 1;
  if (cells_.empty()) return kRunStartLength + 1 + kRunClose;
  std::size_t length = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const TwoColourCell& cell = cells_[i];
    if (count == 0) {
      length += kRunOpen;
    } else if (cell.ffCol != cells_[i - 1].ffCol) {
      length += kFontChange;
    }
    length += cell.ssCol.size();
    ++count;
    if (i + 1 == cells_.size() || cells_[i + 1].bbCol != cell.bbCol) {
      length += kRunStartLength + Digits(2 * count) + kRunClose;
      count = 0;
    }
  }
  return length;
}

void TwoColourCells::PutMerged(LineBuffer& row) const {
  std::size_t start = 0;
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    if (i + 1 < cells_.size() && cells_[i + 1].bbCol == cells_[i].bbCol) continue;
    PutRunStart(row, i + 1 - start);
    row.Put(" bgcolor=");
    row.Put(cells_[start].bbCol);
    row.Put("><font color=");
    row.Put(cells_[start].ffCol);
    row.Put(">");
    for (std::size_t j = start; j <= i; ++j) {
      if (j > start && cells_[j].ffCol != cells_[j - 1].ffCol) {
        row.Put("</font><font color=");
        row.Put(cells_[j].ffCol);
        row.Put(">");
      }
      row.Put(cells_[j].ssCol);
    }
    row.Put("</font></td>");
    start = i + 1;
  }
}

}  // namespace stipplor
