#include "engine/run_merger.h"

#include <charconv>

#include "engine/int16.h"

namespace stipplor {

void AppendNumber(std::string& text, int number) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  text.append(digits, end);
}

namespace {

// "<td width=" + 2 x count; the run count is a 16-bit value like every count of a run.
void AppendRunStart(std::string& row, int count) {
  row.append("<td width=");
  AppendNumber(row, Mul16(2, count));
}

}  // namespace

void SingleColourMerger::Start() {
  hasPrevious_ = false;
  count_ = 0;
}

void SingleColourMerger::Add(const ColorText& colour, std::string& row) {
  if (count_ > 0 && colour != previous_) {
    Finish(row);
    count_ = 1;
  } else {
    count_ = Add16(count_, 1);
  }
  previous_ = colour;
  hasPrevious_ = true;
}

void SingleColourMerger::Finish(std::string& row) {
  AppendRunStart(row, count_);
  row.append(" bgcolor=");
  // Before the first cell the previous colour text is empty.
  if (hasPrevious_) row.append(previous_.View());
  row.append("></td>");
}

void TwoColourMerger::Start() {
  hasPrevious_ = false;
  count_ = 0;
  pending_.clear();
}

void TwoColourMerger::Add(const ColorText& bbCol, const ColorText& ffCol, std::string_view ssCol,
                          std::string& row) {
  if (!hasPrevious_ || bbCol != previousBackground_) {
    if (count_ > 0) AppendRun(row);
    pending_.assign(" bgcolor=").append(bbCol.View()).append("><font color=");
    pending_.append(ffCol.View()).append(">").append(ssCol);
    count_ = 1;
  } else {
    if (ffCol != previousFont_) {
      pending_.append("</font><font color=").append(ffCol.View()).append(">");
    }
    pending_.append(ssCol);
    count_ = Add16(count_, 1);
  }
  previousBackground_ = bbCol;
  previousFont_ = ffCol;
  hasPrevious_ = true;
}

void TwoColourMerger::Finish(std::string& row) { AppendRun(row); }

void TwoColourMerger::AppendRun(std::string& row) const {
  AppendRunStart(row, count_);
  row.append(pending_).append("</font></td>");
}

}  // namespace stipplor
