#include "picture_io/page_pictures.h"

#include <QSize>

#include "engine/page_budget.h"
#include "picture_io/page_picture.h"

namespace stipplor {

PagePictures::PagePictures(QByteArray file, std::function<const Picture&()> whole,
                           std::optional<Region> selection, int ratio)
    : file_(std::move(file)), whole_(std::move(whole)), selection_(selection), ratio_(ratio) {}

std::optional<Picture> PagePictures::For(int pageWidth) {
  return PictureForPage(file_, whole_, selection_, ratio_, pageWidth,
                        [this](const QByteArray& file, const ScaledSizeChoice& choose) {
                          return Decode(file, choose);
                        });
}

int PagePictures::FullWidth() {
  int width = 0;
  if (selection_) {
    width = selection_->Width;
  } else {
    // A JPEG's size comes from its header, as the decoder shows it; any other file is decoded.
    const auto shown = [&width](QSize size) {
      width = size.width();
      return QSize();
    };
    if (!DecodeJpegScaled(file_, shown) && width == 0) width = whole_().Width();
  }
  return 2 * (width / ratio_);
}

// A size decoded before is answered from the decodes kept: the decoder is asked to decode nothing.
std::optional<Picture> PagePictures::Decode(const QByteArray& file,
                                            const ScaledSizeChoice& choose) {
  std::pair<int, int> size;
  const Picture* kept = nullptr;
  std::optional<Picture> decoded = DecodeJpegScaled(file, [&](QSize shown) {
    const QSize wanted = choose(shown);
    size = {wanted.width(), wanted.height()};
    const auto found = decodes_.find(size);
    if (!wanted.isValid() || found == decodes_.end()) return wanted;
    kept = &found->second;
    return QSize();
  });
  if (decoded) return decodes_.emplace(size, std::move(*decoded)).first->second;
  if (kept != nullptr) return *kept;
  return std::nullopt;
}

int FitPageToBytes(PagePictures& pictures, const EncodeOptions& options, bool document,
                   long long maxBytes, int threads) {
  return FitPageWidth(pictures.FullWidth(), maxBytes, [&](int pageWidth, long long limit) {
    const std::optional<Picture> scaled = pictures.For(pageWidth);
    if (scaled) return PageBytes(*scaled, std::nullopt, options, document, limit, threads);
    return PageBytes(pictures.Whole(), pictures.Selection(), options, document, limit, threads);
  });
}

}  // namespace stipplor
