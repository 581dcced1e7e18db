#pragma once

#include <string>
#include <vector>

namespace stipplor::test {

// One drawing of the progress bar: "[#####     ] 1200/3000 rows, 1/4 files".
struct Frame {
  int filled = 0;  // '#' in the bar
  int width = 0;   // of the bar
  long long done = -1;
  long long rows = -1;
  int filesDone = -1;  // -1 when the frame names no files
  int files = -1;
};

// What a run wrote to its terminal, split at carriage returns.
struct TerminalOutput {
  std::vector<Frame> frames;       // the bars drawn, in order
  std::vector<std::string> lines;  // the lines written between them (reports), without "\n"
  bool barLeft = false;            // a bar is still on the screen at the end
  std::string malformed;           // a piece that is none of these; empty when all are
};

TerminalOutput ParseTerminalOutput(const std::string& bytes);

}  // namespace stipplor::test
