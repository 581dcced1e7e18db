#pragma once

// Helpers of the engine tests: colours, small pictures, cells and documents as text.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cells.h"
#include "engine/encode.h"
#include "engine/html_document.h"

namespace stipplor::test {

inline PackedColor Rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
inline PackedColor Grey(int g) { return Rgb(g, g, g); }

inline Picture Filled(int width, int height, PackedColor color) {
  return Picture(width, height, std::vector(static_cast<std::size_t>(width * height), color));
}

// A picture with a different colour in every pixel.
inline Picture Gradient(int width, int height) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.Row(y)[x] = Rgb((x * 37 + y * 7) % 256, (y * 40 + x) % 256, (x * y * 23) % 256);
    }
  }
  return picture;
}

// Some colour whose brightness 2r + 3g + b is exactly `brightness` (0..1530).
inline PackedColor BrightnessColor(int brightness) {
  for (int red = 0; red <= 255; ++red) {
    for (int blue = 0; blue <= 255; ++blue) {
      const int rest = brightness - 2 * red - blue;
      if (rest >= 0 && rest % 3 == 0 && rest / 3 <= 255) return Rgb(red, rest / 3, blue);
    }
  }
  throw std::invalid_argument("no colour has this brightness");
}

// Options by their values, in the order of EncodeOptions.
inline EncodeOptions With(Int16 bw, Int16 ratio, Int16 colorized = 0, Int16 high = -1,
                          Int16 minimize = -1, Int16 style = 2, Int16 smooth = -1) {
  return {bw, ratio, colorized, high, minimize, style, smooth};
}

// The lines of a document whose lines each end in CR LF.
inline std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find("\r\n");
    if (end == std::string_view::npos) throw std::invalid_argument("line without CR LF");
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

inline std::vector<std::string> EncodeLines(const Picture& picture, const EncodeOptions& options,
                                            const std::optional<Region>& selection = std::nullopt) {
  HtmlDocument document;
  Encode(picture, selection, options, document);
  if (!document.Ended()) throw std::logic_error("document not ended");
  return Lines(document.Text());
}

// "bbCol ffCol ssCol" of the size x size cell at (left, top), higher quality.
inline std::string High(const Picture& picture, Int16 left, Int16 top, Int16 size) {
  ColorText bbCol, ffCol;
  std::string_view ssCol;
  PixColHiQu(picture, left, top, size, size, bbCol, ffCol, ssCol);
  return bbCol.Str() + " " + ffCol.Str() + " " + std::string(ssCol);
}

inline std::string Low(const Picture& picture, Int16 left, Int16 top, Int16 size) {
  return GetPixColLoQu(picture, left, top, size, size).Str();
}

// The message of the E that `run` throws; empty when it throws none.
template <typename E, typename Run>
std::string ThrownWhat(const Run& run) {
  try {
    run();
  } catch (const E& error) {
    return error.what();
  }
  return {};
}

}  // namespace stipplor::test
