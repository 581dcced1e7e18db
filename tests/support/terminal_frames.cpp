#include "tests/support/terminal_frames.h"

#include <regex>

namespace stipplor::test {

TerminalOutput ParseTerminalOutput(const std::string& bytes) {
  static const std::regex frame(R"(\[(#*)( *)\] (\d+)/(\d+) rows(?:, (\d+)/(\d+) files)? *)");
  static const std::regex blank(" +");
  TerminalOutput output;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t cr = bytes.find('\r', at);
    std::string piece = bytes.substr(at, cr == std::string::npos ? std::string::npos : cr - at);
    at = cr == std::string::npos ? bytes.size() : cr + 1;
    // A report follows the erased bar: its lines end in "\n".
    for (std::size_t newline; (newline = piece.find('\n')) != std::string::npos;) {
      if (output.barLeft && output.malformed.empty()) output.malformed = "line over the bar";
      output.lines.push_back(piece.substr(0, newline));
      piece.erase(0, newline + 1);
    }
    std::smatch match;
    if (piece.empty()) continue;
    if (std::regex_match(piece, match, frame)) {
      Frame f;
      f.filled = static_cast<int>(match[1].length());
      f.width = static_cast<int>(match[1].length() + match[2].length());
      f.done = std::stoll(match[3]);
      f.rows = std::stoll(match[4]);
      if (match[5].matched) f.filesDone = std::stoi(match[5]), f.files = std::stoi(match[6]);
      output.frames.push_back(f);
      output.barLeft = true;
    } else if (std::regex_match(piece, blank) && cr != std::string::npos) {
      output.barLeft = false;
    } else if (output.malformed.empty()) {
      output.malformed = piece;
    }
  }
  return output;
}

}  // namespace stipplor::test
