#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "engine/options.h"

namespace stipplor {

// Browsers show pages of up to about this many cells; beyond it the desktop program asks first.
inline constexpr long long kPageCellLimit = 1'000'000;

// The widths of the Options menu's "Page Width", largest first.
inline constexpr std::array<int, 4> kMenuPageWidths = {1600, 1200, 800, 400};

// The bytes of "Fit 100 KB (mail)": mail programs clip messages above about 100 KB.
inline constexpr long long kMailPageBytes = 100'000;

// The question before a run whose page has more cells than browsers show when they open the saved
// page, which they hold whole (the result window shows any page): encode it scaled to
// the largest menu width whose page stays within the limit, at full size anyway, or not at all.
struct PageGuard {
  long long cells = 0;
  long long approximateBytes = 0;
  int scaledWidth = 0;  // 0: no menu width keeps the page within the limit; not offered then

  QString Text() const;
  // The answers, in the order of the buttons: scaled (when offered), full size, cancel.
  QStringList Choices() const;
  // The page width of the run for the answer given (the index of a choice, or -1 when the
  // question was closed), or nothing when the run is cancelled.
  std::optional<int> WidthFor(int answer, int pageWidth) const;
};

// The status bar's words for a run's page: "480,000 cells, 26 MB", kilobytes below a megabyte.
QString PageSummary(long long cells, long long bytes);

// The question for a run over `region` with these options, or nothing when its page stays within
// the limit.
std::optional<PageGuard> GuardPage(const Region& region, const EncodeOptions& options,
                                   int pageWidth);

}  // namespace stipplor
