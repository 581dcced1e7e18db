#pragma once

// Internal to PixColHiQu: the search for the best way of inking a cell's quadrants.
//
// Candidate k leaves quadrant 1 blank when bit 0 of k is set, quadrant 2 with bit 1 and
// quadrant 4 with bit 2; quadrant 3 is always ink. A candidate's ink and blank colours are the
// truncated means of its ink and blank quadrants, and its score is the largest colour distance
// between a quadrant and its group's colour. The lowest score wins, ties to the lower k.

#include "engine/cell_quadrants.h"

namespace stipplor {

struct Candidate {
  int k = 0;
  RgbValues ink;
  RgbValues blank;  // (0, 0, 0) for k = 0, which has no blank quadrant
};

// The search as written: one candidate after the other.
Candidate BestCandidatePlain(const QuadrantColors& quadrant);

// The same result; where the processor allows, all eight candidates are scored side by side.
Candidate BestCandidate(const QuadrantColors& quadrant);

}  // namespace stipplor
