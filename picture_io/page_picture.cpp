#include "picture_io/page_picture.h"

#include "engine/page_width.h"
#include "picture_io/load_picture.h"

namespace stipplor {

namespace {

int DividedUp(int value, int divisor) { return (value + divisor - 1) / divisor; }

}  // namespace

std::optional<Picture> PictureForPage(const QByteArray& file,
                                      const std::function<const Picture&()>& whole,
                                      const std::optional<Region>& selection, int ratio,
                                      int pageWidth, const ScaledDecoder& decode) {
  if (pageWidth <= 0) return std::nullopt;
  if (!selection) {
    std::optional<PixelSize> wanted;
    const auto choose = [&](QSize shown) {
      wanted = PageWidthSize(shown.width(), shown.height(), ratio, pageWidth);
      if (wanted) {
        for (const int divisor : {8, 4, 2}) {
          const QSize scaled(DividedUp(shown.width(), divisor), DividedUp(shown.height(), divisor));
          if (scaled.width() >= wanted->Width && scaled.height() >= wanted->Height) return scaled;
        }
      }
      return QSize();
    };
    if (const auto decoded = decode(file, choose)) {
      // The decoder's size is at least the one asked for; it is averaged down from there.
      if (decoded->Width() >= wanted->Width && decoded->Height() >= wanted->Height) {
        return AreaAverage(*decoded, Region{0, 0, decoded->Width(), decoded->Height()}, *wanted);
      }
    }
  }
  return ScaleForPageWidth(whole(), selection, ratio, pageWidth);
}

}  // namespace stipplor
