#include "engine/colored_candidates.h"

#include <gtest/gtest.h>

#include <random>

namespace stipplor {
namespace {

void ExpectSameChoice(const QuadrantColors& q) {
  const Candidate plain = BestCandidatePlain(q);
  const Candidate fast = BestCandidate(q);
  ASSERT_TRUE(fast.k == plain.k && fast.ink == plain.ink && fast.blank == plain.blank)
      << "quadrant reds " << q[0].red << " " << q[1].red << " " << q[2].red << " " << q[3].red;
}

TEST(BestCandidate, SideBySideSearchAgreesWithThePlainOne) {
  std::mt19937 random(20240611);
  // Few distinct values make ties and exact divisions; the full range tests the reciprocals.
  for (const int top : {1, 3, 255}) {
    std::uniform_int_distribution<int> channel(0, top);
    for (int n = 0; n < 20000; ++n) {
      QuadrantColors quadrants;
      for (RgbValues& q : quadrants) q = {channel(random), channel(random), channel(random)};
      ExpectSameChoice(quadrants);
    }
  }
}

TEST(BestCandidate, ChannelsBeyondTheByteRangeTakeThePlainSearch) {
  ExpectSameChoice(
      {RgbValues{-1, 0, 0}, RgbValues{255, 255, 255}, RgbValues{-1, 0, 0}, RgbValues{300, 0, 0}});
}

}  // namespace
}  // namespace stipplor
