#include "picture_io/page_pictures.h"

#include <QSize>

#include "engine/page_budget.h"
#include "picture_io/page_picture.h"

namespace stipplor {

PagePictures::PagePictures(QByteArray file, std::function<const Picture&()> whole,
                           std::optional<Region> selection, int ratio)
    : file_(std::move(file)), whole_(std::move(whole)), selection_(selection), ratio_(ratio) {}

std::optional<Picture> PagePictures::For(int pageWidth) {
  return PictureForPage(
      file_, whole_, selection_, ratio_, pageWidth,
      [this](QByteArrayView file, int divisor) { return Fraction(file, divisor); });
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

// Each fraction of the JPEG is decoded once; every width that reads it averages it anew.
std::optional<Picture> PagePictures::Fraction(QByteArrayView file, int divisor) {
  auto found = fractions_.find(divisor);
  if (found == fractions_.end())
    found = fractions_.emplace(divisor, DecodeJpegFraction(file, divisor)).first;
  return found->second;
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
