// Throughput of whole encoding runs over a 12-megapixel photograph, per family and cell size,
// in input megapixels per second. The document goes to a sink that only counts its bytes, so
// the figures are the engine's own.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_picture.h"
#include "engine/encode.h"

namespace stipplor {
namespace {

class CountingSink : public LineSink {
 public:
  void Begin() override { bytes = 0; }
  void AppendLine(std::string_view line) override { bytes += line.size() + 2; }
  void End() override {}
  std::size_t bytes = 0;
};

enum Family { kColoredHigh, kColoredLow, kPlain, kPattern, kDotted, kFractal, kColorizedDotted };

EncodeOptions OptionsFor(Family family, int ratio) {
  EncodeOptions o;  // start options: colored, high quality, minimized
  o.Ratio = static_cast<Int16>(ratio);
  switch (family) {
    case kColoredHigh:
      break;
    case kColoredLow:
      o.HighQuality = 0;
      break;
    case kColorizedDotted:
      o.Colorized = -1;
      [[fallthrough]];
    default:
      o.BW = -1;
      o.BWEncoding = static_cast<Int16>(family == kColorizedDotted ? 2 : family - kPlain);
  }
  return o;
}

void BM_Encode(benchmark::State& state) {
  const Picture& picture = BenchPicture();
  const EncodeOptions options =
      OptionsFor(static_cast<Family>(state.range(0)), static_cast<int>(state.range(1)));
  CountingSink sink;
  for (auto _ : state) {
    Encode(picture, std::nullopt, options, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  const double pixels = static_cast<double>(picture.Width()) * picture.Height();
  state.counters["Mpx/s"] =
      benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["out_MB"] = static_cast<double>(sink.bytes) / 1e6;
  state.SetLabel(Caption(options));
}

BENCHMARK(BM_Encode)
    ->ArgsProduct({{kColoredHigh, kColoredLow, kPlain, kPattern, kDotted, kFractal,
                    kColorizedDotted},
                   {1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond)
    // CPU time: the machine is shared, and a single-threaded run's CPU time is its own work.
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace stipplor
