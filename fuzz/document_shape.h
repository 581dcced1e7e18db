#pragma once

// What every document of a completed run must look like, worked out from the region and the
// options alone, and a check of a document against it. The fuzz targets abort on any
// difference, so that libFuzzer keeps the input that shows it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_sink.h"
#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor::fuzz {

// Keeps the lines of a document, and whether it was begun and ended.
class LineRecorder : public LineSink {
 public:
  void Begin() override { ++begun; }
  void AppendLine(std::string_view line) override { lines.emplace_back(line); }
  void End() override { ++ended; }

  std::vector<std::string> lines;
  int begun = 0;
  int ended = 0;

  bool SameAs(const LineRecorder& other) const {
    return lines == other.lines && begun == other.begun && ended == other.ended;
  }
};

// The cell rows and columns of a run and its table dimensions.
struct DocumentShape {
  bool bw = false;
  bool colorized = false;
  int rows = 0;             // lines between head and tail (after the B&W table line)
  int columns = 0;          // cells in each of them
  bool characters = false;  // colored cells carry a font colour and a character pair
  bool mayMerge = false;    // colored rows may be written merged
  long long w2 = 0;
  long long h2 = 0;
};

DocumentShape ExpectedShape(const Picture& picture, const std::optional<Region>& selection,
                            const EncodeOptions& options);

// Aborts with a description when the document of a completed run differs from the shape.
void CheckDocument(const LineRecorder& document, const DocumentShape& shape);

// Aborts with `what` on standard error.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

}  // namespace stipplor::fuzz
