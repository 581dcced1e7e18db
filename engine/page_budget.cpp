#include "engine/page_budget.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>
#include <string>
#include <string_view>

#include "engine/encode.h"
#include "engine/stream_sinks.h"

namespace stipplor {

namespace {

// Stops a run whose page has passed its limit.
struct OverLimit : std::exception {};

// A page measured: its width in cells and its size in bytes.
struct Probe {
  int cells = 0;
  long long bytes = 0;
};

// The cells of a first page, cheap to measure, whose size sets the scale of the search.
constexpr int kFirstCells = 16;

// Where the line through two probes reaches `maxBytes`, in cells (not a number when it is
// level). A page's bytes grow about as its cells, the square of its width, so the line is drawn
// through their square roots.
double Reach(const Probe& a, const Probe& b, long long maxBytes) {
  const double ra = std::sqrt(static_cast<double>(a.bytes));
  const double rb = std::sqrt(static_cast<double>(b.bytes));
  if (ra == rb) return std::nan("");
  return a.cells +
         (std::sqrt(static_cast<double>(maxBytes)) - ra) * (b.cells - a.cells) / (rb - ra);
}

}  // namespace

long long PageBytes(const Picture& picture, const std::optional<Region>& selection,
                    const EncodeOptions& options, bool document, long long limit, int threads) {
  long long bytes = 0;
  const auto sink = PageWriter(document, [&bytes, limit](std::string_view part) {
    bytes += static_cast<long long>(part.size());
    if (bytes > limit) throw OverLimit();
  });
  try {
    Encode(picture, selection, options, *sink, threads);
  } catch (const OverLimit&) {
    return limit + 1;
  }
  return bytes;
}

// A page's size grows with its width only roughly: every width samples the picture anew, so
// cells merge differently and the height rounds differently, and a page can be a little smaller
// than a narrower one. Ruling out every wider width would cost a run each. So the search keeps
// the widest width measured to fit and the narrowest measured not to, and narrows the two down
// until they are neighbours: the answer fits, the next width does not, and every width measured
// above it was too large. Each guess is where the line through two measured pages reaches the
// budget (see Reach), which is close after a few pages; a guess that twice lands on the same side
// halves the interval instead, so that the search always ends.
int FitPageWidth(int widest, long long maxBytes, const PageSizer& pageBytes) {
  const int cells = std::max(1, widest / 2);
  Probe fit{0, 0};           // the widest width measured to fit; 0 cells: none yet
  Probe over{cells + 1, 0};  // the narrowest measured not to; beyond `cells`: none yet
  Probe last{0, 0};          // the previous page measured: at first the empty page
  bool lastFits = true;
  // A page twice over the budget is counted no further: its size only steers the next guess.
  const long long stop = maxBytes <= LLONG_MAX / 2 ? 2 * maxBytes : LLONG_MAX;
  double guess = std::min(cells, kFirstCells);
  while (over.cells - fit.cells > 1) {
    const int c =
        static_cast<int>(std::floor(std::clamp(guess, fit.cells + 1.0, over.cells - 1.0)));
    // The narrowest page is counted whole: when nothing fits, its size is the message.
    const Probe probe{c, pageBytes(2 * c, c == 1 ? LLONG_MAX : stop)};
    const bool fits = probe.bytes <= maxBytes;
    (fits ? fit : over) = probe;
    const double middle = (fit.cells + over.cells) / 2.0;
    if (fit.cells > 0 && over.cells <= cells) {
      guess = fits == lastFits ? middle : Reach(fit, over, maxBytes);
    } else {
      guess = Reach(last, probe, maxBytes);
      // Still one-sided: a guess that does not move away from the page measured doubles or
      // halves it instead.
      if (!(fits ? guess > c : guess < c)) guess = fits ? 2.0 * c : c / 2.0;
    }
    if (!std::isfinite(guess)) guess = middle;
    last = probe;
    lastFits = fits;
  }
  if (fit.cells == 0) throw PageBudgetError(over.bytes, maxBytes);
  return 2 * fit.cells;
}

PageBudgetError::PageBudgetError(long long narrowestBytes, long long maxBytes)
    : std::runtime_error("even the narrowest page, 2 pixels wide, takes " +
                         std::to_string(narrowestBytes) + " bytes, more than the " +
                         std::to_string(maxBytes) + " allowed") {}

}  // namespace stipplor
