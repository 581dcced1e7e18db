#pragma once

#include <QByteArray>
#include <functional>
#include <map>
#include <optional>

#include "engine/options.h"
#include "engine/picture.h"
#include "picture_io/load_picture.h"

namespace stipplor {

// The pictures that runs over one file read at any page width, made as PictureForPage makes
// them, each scaled decode of a JPEG made once: what a search for a page width measures, and
// then the run at the width found.
class PagePictures {
 public:
  // `whole` answers the picture decoded whole and is asked only when needed; `selection` is the
  // region of a run, none for the whole picture.
  PagePictures(QByteArray file, std::function<const Picture&()> whole,
               std::optional<Region> selection, int ratio);

  // The picture a run at this page width reads; nothing when it reads the region as it is.
  std::optional<Picture> For(int pageWidth);
  // The region's own page width, two pixels a cell: no page of it is wider.
  int FullWidth();

  const Picture& Whole() const { return whole_(); }
  const std::optional<Region>& Selection() const { return selection_; }

 private:
  std::optional<Picture> Fraction(QByteArrayView file, int divisor);

  QByteArray file_;
  std::function<const Picture&()> whole_;
  std::optional<Region> selection_;
  int ratio_;
  std::map<int, std::optional<Picture>> fractions_;  // the JPEG decoded, by divisor
};

// The widest page width, up to the region's own, whose page in the form written (the generated
// document with `document`, else the saved file) is at most `maxBytes` bytes: see FitPageWidth.
// Throws PageBudgetError when even the narrowest page is larger.
int FitPageToBytes(PagePictures& pictures, const EncodeOptions& options, bool document,
                   long long maxBytes, int threads);

}  // namespace stipplor
