#include "engine/stream_sinks.h"

#include <stdexcept>

#include "engine/html_document.h"

namespace stipplor {

void DocumentWriter::AppendLine(std::string_view line) {
  write_(line);
  write_(kLineEnd);
}

void SavedFileWriter::Begin() {
  held_.clear();
  holding_ = false;
  first_ = true;
  write_("<HTML><HEAD></HEAD><BODY>\r\n");
}

void SavedFileWriter::AppendLine(std::string_view line) {
  if (holding_) WriteHeld(false);
  held_.assign(line);
  holding_ = true;
}

void SavedFileWriter::End() {
  if (holding_) WriteHeld(true);
  holding_ = false;
  write_("\r\n</BODY></HTML>\r\n");
}

void SavedFileWriter::WriteHeld(bool last) {
  std::string_view line = held_;
  if (first_) {
    const auto start = line.find(kBodyStart);
    if (start == std::string_view::npos) throw std::logic_error("document does not open a body");
    line.remove_prefix(start + kBodyStart.size());
    first_ = false;
  }
  if (last) {
    const auto end = line.rfind(kBodyEnd);
    if (end == std::string_view::npos) throw std::logic_error("document does not close its body");
    write_(line.substr(0, end));
    return;
  }
  write_(line);
  write_(kLineEnd);
}

std::unique_ptr<LineSink> PageWriter(bool document, ByteWriter write) {
  if (document) return std::make_unique<DocumentWriter>(std::move(write));
  return std::make_unique<SavedFileWriter>(std::move(write));
}

}  // namespace stipplor
