#include "engine/run_merger.h"

#include "engine/int16.h"

namespace stipplor {

namespace {

// "<td width=" + 2 x count; the run count is a 16-bit value like every count of a run.
void PutRunStart(LineBuffer& row, int count) {
  row.Put("<td width=");
  row.PutNumber(Mul16(2, count));
}

}  // namespace

void SingleColourMerger::Start() {
  hasPrevious_ = false;
  count_ = 0;
}

void SingleColourMerger::Add(const ColorText& colour, LineBuffer& row) {
  if (count_ > 0 && colour != previous_) {
    Finish(row);
    count_ = 1;
  } else {
    count_ = Add16(count_, 1);
  }
  previous_ = colour;
  hasPrevious_ = true;
}

void SingleColourMerger::Finish(LineBuffer& row) {
  PutRunStart(row, count_);
  row.Put(" bgcolor=");
  // Before the first cell the previous colour text is empty.
  if (hasPrevious_) row.Put(previous_);
  row.Put("></td>");
}

void TwoColourMerger::Start() {
  hasPrevious_ = false;
  count_ = 0;
  pending_.Clear();
}

void TwoColourMerger::Add(const ColorText& bbCol, const ColorText& ffCol, std::string_view ssCol,
                          LineBuffer& row) {
  if (!hasPrevious_ || bbCol != previousBackground_) {
    if (count_ > 0) Finish(row);
    pending_.Clear();
    pending_.Put(" bgcolor=");
    pending_.Put(bbCol);
    pending_.Put("><font color=");
    pending_.Put(ffCol);
    pending_.Put(">");
    pending_.Put(ssCol);
    count_ = 1;
  } else {
    if (ffCol != previousFont_) {
      pending_.Put("</font><font color=");
      pending_.Put(ffCol);
      pending_.Put(">");
    }
    pending_.Put(ssCol);
    count_ = Add16(count_, 1);
  }
  previousBackground_ = bbCol;
  previousFont_ = ffCol;
  hasPrevious_ = true;
}

void TwoColourMerger::Finish(LineBuffer& row) {
  PutRunStart(row, count_);
  row.Put(pending_.View());
  row.Put("</font></td>");
}

}  // namespace stipplor
