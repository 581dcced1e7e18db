// Fuzz target: an arbitrary small picture, region (also beyond the picture, and up to sizes and
// places that overflow the 16-bit arithmetic) and option values through Encode. A run either
// completes with a well-formed document or stops with "Overflow"; one thread and three threads
// give the same lines and the same outcome.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/encode.h"
#include "fuzz/document_shape.h"

namespace stipplor::fuzz {
namespace {

constexpr int kMaxPictureSide = 48;
// Far enough to leave the 16-bit range on either side.
constexpr int kFar = 70000;
// A region this close to the origin never overflows, in any style (the Fractal style's
// bound, 4 x column + row <= 16383, is the tightest).
constexpr long long kSafe = 3000;

struct Outcome {
  LineRecorder document;
  std::optional<EncodeResult> result;
  std::string error;  // what() of the error that stopped the run
};

Outcome Run(const Picture& picture, const std::optional<Region>& selection,
            const EncodeOptions& options, int threads) {
  Outcome outcome;
  try {
    outcome.result = Encode(picture, selection, options, outcome.document, threads);
  } catch (const OverflowError& error) {
    outcome.error = error.what();
  }
  return outcome;
}

// Long sides take long to encode and check and teach nothing that short ones do not, except
// next to the limits: twice a side of 16383 cells (a table dimension) and 32767 (a coordinate).
// Lengths away from those bands are folded back to short ones.
int FoldMiddle(int length) {
  const int size = length < 0 ? -length : length;
  const bool nearLimit = (size >= 16256 && size <= 16512) || size >= 32512;
  return size > 256 && !nearLimit ? length % 256 : length;
}

// A region small enough to encode quickly: one side may reach far out or be huge, then the
// other stays within a few cells, so a run never has more than a few ten thousand cells.
std::optional<Region> ConsumeSelection(FuzzedDataProvider& data, int pictureWidth,
                                       int pictureHeight) {
  switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return std::nullopt;
    case 1: {  // around the picture
      const int left = data.ConsumeIntegralInRange(-kMaxPictureSide, 2 * kMaxPictureSide);
      const int top = data.ConsumeIntegralInRange(-kMaxPictureSide, 2 * kMaxPictureSide);
      const int width = data.ConsumeIntegralInRange(-8, 2 * kMaxPictureSide);
      const int height = data.ConsumeIntegralInRange(-8, 2 * kMaxPictureSide);
      return Region{left, top, width, height};
    }
    case 2: {  // anywhere, a few cells in size
      const int left = data.ConsumeIntegralInRange(-kFar, kFar);
      const int top = data.ConsumeIntegralInRange(-kFar, kFar);
      const int width = data.ConsumeIntegralInRange(-8, 24);
      const int height = data.ConsumeIntegralInRange(-8, 24);
      return Region{left, top, width, height};
    }
    default: {  // one side long, up to beyond the 16-bit range, the other short
      const int left = data.ConsumeIntegralInRange(-pictureWidth, pictureWidth);
      const int top = data.ConsumeIntegralInRange(-pictureHeight, pictureHeight);
      const int length = FoldMiddle(data.ConsumeIntegralInRange(-kFar, kFar));
      const int across = data.ConsumeIntegralInRange(-2, 4);
      if (data.ConsumeBool()) return Region{left, top, length, across};
      return Region{left, top, across, length};
    }
  }
}

// A flag: clear half of the time, so that both sides of every option are common; when set,
// the program's -1 or any other non-zero value.
Int16 ConsumeFlag(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return 0;
  const Int16 value = data.ConsumeIntegral<Int16>();
  return value == 0 ? Int16{-1} : value;
}

EncodeOptions ConsumeOptions(FuzzedDataProvider& data) {
  EncodeOptions options;
  options.BW = ConsumeFlag(data);
  options.Ratio = data.ConsumeIntegralInRange<Int16>(1, 4);
  options.Colorized = ConsumeFlag(data);
  options.HighQuality = ConsumeFlag(data);
  options.MinimizeSize = ConsumeFlag(data);
  options.BWEncoding = data.ConsumeIntegralInRange<Int16>(0, 3);
  options.BWSmoothTransition = ConsumeFlag(data);
  return options;
}

// Pixels from the rest of the input, a few colours picked from a small palette so that runs of
// equal cells (merging) and uniform cells are common; black once the input is used up.
Picture ConsumePicture(FuzzedDataProvider& data, int width, int height) {
  std::vector<PackedColor> palette(data.ConsumeIntegralInRange(1, 8));
  for (PackedColor& colour : palette) colour = data.ConsumeIntegralInRange(0, 0xFFFFFF);
  std::vector<PackedColor> pixels(static_cast<std::size_t>(width) *
                                  static_cast<std::size_t>(height));
  for (PackedColor& pixel : pixels) {
    pixel = palette[data.ConsumeIntegralInRange<std::size_t>(0, palette.size() - 1)];
  }
  return Picture(width, height, std::move(pixels));
}

bool WithinSafeRange(const Picture& picture, const std::optional<Region>& selection) {
  const Region r = selection.value_or(Region{0, 0, picture.Width(), picture.Height()});
  for (const long long v :
       {static_cast<long long>(r.Left), static_cast<long long>(r.Top),
        static_cast<long long>(r.Width), static_cast<long long>(r.Height),
        static_cast<long long>(r.Left) + r.Width, static_cast<long long>(r.Top) + r.Height}) {
    if (v < -kSafe || v > kSafe) return false;
  }
  return true;
}

}  // namespace
}  // namespace stipplor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace stipplor;
  using namespace stipplor::fuzz;
  FuzzedDataProvider data(bytes, size);
  const EncodeOptions options = ConsumeOptions(data);
  const int width = data.ConsumeIntegralInRange(0, kMaxPictureSide);
  const int height = data.ConsumeIntegralInRange(0, kMaxPictureSide);
  // The picture's size is known before its pixels, so the selection is drawn first and the
  // pixels take what is left of the input.
  const std::optional<Region> selection = ConsumeSelection(data, width, height);
  const Picture picture = ConsumePicture(data, width, height);

  const Outcome single = Run(picture, selection, options, 1);
  const Outcome parallel = Run(picture, selection, options, 3);
  if (!single.document.SameAs(parallel.document) || single.error != parallel.error ||
      single.result.has_value() != parallel.result.has_value()) {
    Fail("one thread and three threads differ");
  }
  if (!single.result) {
    if (single.error != "Overflow") Fail("run stopped with", single.error);
    if (WithinSafeRange(picture, selection)) Fail("overflow of a region near the origin");
    if (single.document.ended != 0) Fail("stopped run ended its document");
    return 0;
  }
  if (single.result->Caption != parallel.result->Caption ||
      single.result->Range != parallel.result->Range) {
    Fail("one thread and three threads give different results");
  }
  CheckDocument(single.document, ExpectedShape(picture, selection, options));
  return 0;
}
