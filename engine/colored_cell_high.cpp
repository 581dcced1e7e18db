// PixColHiQu: the colored cell encoder of higher quality. A cell becomes two characters in a font
// colour on a background colour. Each character covers one half of the cell and inks its upper
// quadrant, its lower one or both; the left character always inks the lower-left quadrant.
// Eight ways of inking the other three quadrants are tried, each with the mean colours of its
// ink and blank quadrants, and the way whose worst quadrant is closest wins.

#include "engine/cells.h"
#include "engine/colored_candidates.h"

namespace stipplor {
namespace {

// The character pair of candidate k (see colored_candidates.h).
constexpr std::array<std::string_view, 8> kPairs = {
    "II", ".I", "I.", "..", "I'", ".'", "I&nbsp;", ".&nbsp;",
};

}  // namespace

void PixColHiQu(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height,
                ColorText& bbCol, ColorText& ffCol, std::string_view& ssCol) {
  const QuadrantColors quadrants = WithCellSize(Width, Height, [&]<int W, int H>() {
    return QuadrantMeans(CellPixels<W, H>(picture, Left, Top, 0));
  });
  const Candidate best = BestCandidate(quadrants);
  ffCol = RGB2Hex(best.ink.red, best.ink.green, best.ink.blue);
  // With every quadrant inked the blank colour is unused; the background takes the font colour.
  bbCol = best.k == 0 ? ffCol : RGB2Hex(best.blank.red, best.blank.green, best.blank.blue);
  ssCol = kPairs[static_cast<std::size_t>(best.k)];
}

}  // namespace stipplor
