#include "engine/colored_candidates.h"

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stipplor {
namespace {

// Group means are truncated, unlike the rounded quadrant means.
constexpr RgbValues MeanOf(const RgbValues& sum, int count) {
  return {sum.red / count, sum.green / count, sum.blue / count};
}

int Distance(const RgbValues& a, const RgbValues& b) {
  return ColorDist(a.red, a.green, a.blue, b.red, b.green, b.blue);
}

// Quadrants 1, 2 and 4 (indices 0, 1, 3) and the bit of k that leaves each blank.
constexpr std::array<std::array<int, 2>, 3> kChoosable = {{{0, 1}, {1, 2}, {3, 4}}};

}  // namespace

Candidate BestCandidatePlain(const QuadrantColors& quadrant) {
  Candidate best;
  int bestScore = 10000;
  Unrolled<8>([&](auto candidate) {
    constexpr int k = decltype(candidate)::value;
    RgbValues inkSum = quadrant[2];
    RgbValues blankSum;
    for (const auto& [q, blankMask] : kChoosable) {
      RgbValues& group = (k & blankMask) != 0 ? blankSum : inkSum;
      group.red += quadrant[q].red;
      group.green += quadrant[q].green;
      group.blue += quadrant[q].blue;
    }
    constexpr int blankCount = std::popcount(static_cast<unsigned>(k));
    const RgbValues ink = MeanOf(inkSum, 4 - blankCount);
    const RgbValues blank = blankCount > 0 ? MeanOf(blankSum, blankCount) : RgbValues{};
    int score = Distance(quadrant[2], ink);
    for (const auto& [q, blankMask] : kChoosable) {
      const int d = Distance(quadrant[q], (k & blankMask) != 0 ? blank : ink);
      if (d > score) score = d;
    }
    if (score < bestScore) {
      bestScore = score;
      best = {k, ink, blank};
    }
  });
  return best;
}

#if defined(__SSE2__)

namespace {

// floor(sum / count) = (2 sum * r) >> 16 (the high half of an unsigned 16-bit product) for every
// group sum 0..1020, with r by count; count 0 gives the unused blank colour (0, 0, 0) of k = 0.
constexpr std::array<std::uint16_t, 5> kReciprocal = {0, 32768, 16384, 10923, 8192};

constexpr bool ReciprocalsDivideExactly() {
  for (int count = 1; count <= 4; ++count) {
    for (unsigned sum = 0; sum <= 1020; ++sum) {
      if ((2 * sum * kReciprocal[count]) >> 16 != sum / count) return false;
    }
  }
  return true;
}
static_assert(ReciprocalsDivideExactly());

}  // namespace

// Lane k of every vector belongs to candidate k. Channels of 0..255 keep every sum (at most
// 1020), mean and distance (at most 765) inside 16-bit lanes.
Candidate BestCandidate(const QuadrantColors& quadrant) {
  int all = 0;
  for (const RgbValues& q : quadrant) all |= q.red | q.green | q.blue;
  if ((all & ~0xFF) != 0) return BestCandidatePlain(quadrant);

  // All ones where the quadrant is ink: quadrants 1, 2 and 4 by bits 0, 1 and 2 of the lane.
  // (Plain arrays: the vector type's alignment attribute does not pass through std::array.)
  const __m128i inkLanes[3] = {
      _mm_setr_epi16(-1, 0, -1, 0, -1, 0, -1, 0),
      _mm_setr_epi16(-1, -1, 0, 0, -1, -1, 0, 0),
      _mm_setr_epi16(-1, -1, -1, -1, 0, 0, 0, 0),
  };
  // Group means by multiplication: lane k divides by the count of its ink (blank) quadrants,
  // 4 (0), 3 (1), 3 (1), 2 (2), 3 (1), 2 (2), 2 (2), 1 (3).
  constexpr auto r = [](int count) { return static_cast<std::int16_t>(kReciprocal[count]); };
  const __m128i inkReciprocal = _mm_setr_epi16(r(4), r(3), r(3), r(2), r(3), r(2), r(2), r(1));
  const __m128i blankReciprocal = _mm_setr_epi16(r(0), r(1), r(1), r(2), r(1), r(2), r(2), r(3));
  const auto absDiff = [](__m128i a, __m128i b) {
    return _mm_sub_epi16(_mm_max_epi16(a, b), _mm_min_epi16(a, b));
  };

  __m128i distance[4] = {};  // per quadrant, summed over the channels
  alignas(16) std::array<std::array<std::int16_t, 8>, 3> inkMean;
  alignas(16) std::array<std::array<std::int16_t, 8>, 3> blankMean;
  for (int c = 0; c < 3; ++c) {
    const auto channel = [&](int q) {
      const RgbValues& v = quadrant[static_cast<std::size_t>(q)];
      return _mm_set1_epi16(static_cast<std::int16_t>(c == 0 ? v.red : c == 1 ? v.green : v.blue));
    };
    const __m128i value[4] = {channel(0), channel(1), channel(2), channel(3)};
    __m128i inkSum = value[2];
    for (int i = 0; i < 3; ++i) {
      const int q = kChoosable[static_cast<std::size_t>(i)][0];
      inkSum = _mm_add_epi16(inkSum, _mm_and_si128(inkLanes[i], value[q]));
    }
    const __m128i total =
        _mm_add_epi16(_mm_add_epi16(value[0], value[1]), _mm_add_epi16(value[2], value[3]));
    const __m128i blankSum = _mm_sub_epi16(total, inkSum);
    const __m128i ink = _mm_mulhi_epu16(_mm_slli_epi16(inkSum, 1), inkReciprocal);
    const __m128i blank = _mm_mulhi_epu16(_mm_slli_epi16(blankSum, 1), blankReciprocal);
    _mm_store_si128(reinterpret_cast<__m128i*>(inkMean[c].data()), ink);
    _mm_store_si128(reinterpret_cast<__m128i*>(blankMean[c].data()), blank);

    distance[2] = _mm_add_epi16(distance[2], absDiff(value[2], ink));
    for (int i = 0; i < 3; ++i) {
      const int q = kChoosable[static_cast<std::size_t>(i)][0];
      const __m128i& isInk = inkLanes[i];
      const __m128i group = _mm_or_si128(_mm_and_si128(isInk, ink), _mm_andnot_si128(isInk, blank));
      distance[q] = _mm_add_epi16(distance[q], absDiff(value[q], group));
    }
  }
  const __m128i score = _mm_max_epi16(_mm_max_epi16(distance[0], distance[1]),
                                      _mm_max_epi16(distance[2], distance[3]));
  // The lowest score in every lane, then the first lane that has it.
  __m128i lowest = _mm_min_epi16(score, _mm_shuffle_epi32(score, _MM_SHUFFLE(1, 0, 3, 2)));
  lowest = _mm_min_epi16(lowest, _mm_shuffle_epi32(lowest, _MM_SHUFFLE(2, 3, 0, 1)));
  lowest =
      _mm_min_epi16(lowest, _mm_or_si128(_mm_srli_epi32(lowest, 16), _mm_slli_epi32(lowest, 16)));
  const auto lanes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(score, lowest)));
  const int k = std::countr_zero(lanes) / 2;

  const auto at = [&](const std::array<std::array<std::int16_t, 8>, 3>& mean) {
    return RgbValues{mean[0][k], mean[1][k], mean[2][k]};
  };
  return {k, at(inkMean), at(blankMean)};
}

#else

Candidate BestCandidate(const QuadrantColors& quadrant) { return BestCandidatePlain(quadrant); }

#endif

}  // namespace stipplor
