#include "picture_io/page_picture.h"

#include "engine/page_width.h"
#include "picture_io/load_picture.h"

namespace stipplor {

std::optional<Picture> PictureForPage(const QByteArray& file,
                                      const std::function<const Picture&()>& whole,
                                      const std::optional<Region>& selection, int ratio,
                                      int pageWidth, const FractionDecoder& decode) {
  if (pageWidth <= 0) return std::nullopt;
  if (!selection) {
    const auto choose = [&](QSize shown) {
      const auto wanted = PageWidthSize(shown.width(), shown.height(), ratio, pageWidth);
      return wanted ? QSize(wanted->Width, wanted->Height) : QSize();
    };
    if (auto scaled = DecodeJpegScaled(file, choose, decode)) return scaled;
  }
  return ScaleForPageWidth(whole(), selection, ratio, pageWidth);
}

}  // namespace stipplor
