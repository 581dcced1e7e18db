#include "engine/html_document.h"

namespace stipplor {

void HtmlDocument::Begin() {
  text_.clear();
  ended_ = false;
}

void HtmlDocument::AppendLine(std::string_view line) {
  text_.append(line);
  text_.append(kLineEnd);
}

void HtmlDocument::End() { ended_ = true; }

std::string_view HtmlDocument::BodyMarkup() const {
  const std::string_view text = text_;
  const auto start = text.find(kBodyStart);
  const auto end = text.rfind(kBodyEnd);
  if (start == std::string_view::npos || end == std::string_view::npos ||
      end < start + kBodyStart.size()) {
    return {};
  }
  return text.substr(start + kBodyStart.size(), end - start - kBodyStart.size());
}

std::string SavedFileForm(std::string_view bodyMarkup) {
  std::string file;
  file.reserve(bodyMarkup.size() + 48);
  file.append("<HTML><HEAD></HEAD><BODY>").append(kLineEnd);
  file.append(bodyMarkup).append(kLineEnd);
  file.append("</BODY></HTML>").append(kLineEnd);
  return file;
}

}  // namespace stipplor
