#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/line_sink.h"

namespace stipplor {

// Receives the bytes of a document as they are produced.
using ByteWriter = std::function<void(std::string_view bytes)>;

// Streams the document itself: every line followed by CR LF.
class DocumentWriter : public LineSink {
 public:
  explicit DocumentWriter(ByteWriter write) : write_(std::move(write)) {}
  void Begin() override {}
  void AppendLine(std::string_view line) override;
  void End() override {}

 private:
  ByteWriter write_;
};

// Streams the saved-file form of the document, byte for byte what SavedFileForm gives for the
// body markup of the same document, while holding only one line. It relies on the shape of a
// run's documents: the body opens in the first line and closes in the last.
class SavedFileWriter : public LineSink {
 public:
  explicit SavedFileWriter(ByteWriter write) : write_(std::move(write)) {}
  void Begin() override;
  void AppendLine(std::string_view line) override;
  void End() override;

 private:
  void WriteHeld(bool last);

  ByteWriter write_;
  std::string held_;
  bool holding_ = false;
  bool first_ = true;
};

// The writer of a page in the form asked for: the generated document with `document`, else the
// saved-file form.
std::unique_ptr<LineSink> PageWriter(bool document, ByteWriter write);

}  // namespace stipplor
