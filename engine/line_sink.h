#pragma once

#include <string_view>

namespace stipplor {

// Where a run writes its document: begin a new document, append lines, end it.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Begin() = 0;
  virtual void AppendLine(std::string_view line) = 0;
  virtual void End() = 0;
};

}  // namespace stipplor
