#pragma once

#include <string>
#include <string_view>

#include "engine/line_sink.h"

namespace stipplor {

// Every line of a document ends in CR LF; its body lies between these two tags.
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kBodyStart = "<BODY>";
inline constexpr std::string_view kBodyEnd = "</BODY>";

// Keeps a document as the result window shows it: every appended line followed by CR LF.
class HtmlDocument : public LineSink {
 public:
  void Begin() override;
  void AppendLine(std::string_view line) override;
  void End() override;

  const std::string& Text() const { return text_; }
  bool Ended() const { return ended_; }

  // The text strictly between the first "<BODY>" and the last "</BODY>"; empty when the
  // document has no such pair.
  std::string_view BodyMarkup() const;

 private:
  std::string text_;
  bool ended_ = false;
};

// What "Save As" writes: "<HTML><HEAD></HEAD><BODY>", the body markup and "</BODY></HTML>",
// each followed by CR LF.
std::string SavedFileForm(std::string_view bodyMarkup);

}  // namespace stipplor
