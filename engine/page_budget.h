#pragma once

#include <functional>
#include <optional>
#include <stdexcept>

#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor {

// The size in bytes of a run's page in the form it would be written: the saved-file form, or
// the generated document with `document`. The bytes are counted, never kept. A page larger than
// `limit` stops the run there and answers limit + 1.
long long PageBytes(const Picture& picture, const std::optional<Region>& selection,
                    const EncodeOptions& options, bool document, long long limit, int threads);

// Answers the size of the page at a page width, or any size above `limit` for a larger page.
using PageSizer = std::function<long long(int pageWidth, long long limit)>;

// A byte budget: the widest page width, up to `widest` (the region's own page width, which
// leaves it as it is), whose page is at most `maxBytes`. Widths go in steps of two pixels, a
// cell. Throws PageBudgetError when even the narrowest page, 2 pixels wide, is larger.
int FitPageWidth(int widest, long long maxBytes, const PageSizer& pageBytes);

// Even the narrowest page exceeds the byte budget; what() names that page's size.
class PageBudgetError : public std::runtime_error {
 public:
  PageBudgetError(long long narrowestBytes, long long maxBytes);
};

}  // namespace stipplor
