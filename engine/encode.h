#pragma once

#include <optional>
#include <string>

#include "engine/line_sink.h"
#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor {

// What a completed run leaves behind besides its document.
struct EncodeResult {
  std::string Caption;    // the option summary, e.g. "1:1  Colored  High-Quality  Size-Minimized"
  BrightnessRange Range;  // BWMin / BWMax as the run set them
};

// Turns the picture, or the selection when one is given, into one HTML document written to
// `sink` line by line. Throws EncodeError (OverflowError: "Overflow") and stops at once; the
// lines already written stay in the sink and the document is not ended. With more than one
// thread, rows are built in parallel; the document is the same.
EncodeResult Encode(const Picture& picture, const std::optional<Region>& selection,
                    const EncodeOptions& options, LineSink& sink, int threads = 1);

// The caption of a run with these options.
std::string Caption(const EncodeOptions& options);

}  // namespace stipplor
