// A byte budget over the benchmarks' photograph as a 12-megapixel JPEG: the search for the
// widest page within the budget, followed by that page, against one --width run at the width
// found, both from the file's bytes with the page counted, not written. Both are timed in every
// iteration, so that their ratio holds on a loaded machine; each has its own scaled decodes.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <climits>
#include <ctime>

#include "bench/bench_picture.h"
#include "engine/page_budget.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/page_pictures.h"

namespace stipplor {
namespace {

const QByteArray& BenchJpeg() {
  static const QByteArray jpeg = [] {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ToQImage(TiledSample()).save(&buffer, "JPEG", 90);
    return bytes;
  }();
  return jpeg;
}

// The CPU time of the process: the runs take one thread, and the machine is shared.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The page a run at this width writes, counted; `pictures` makes its picture.
long long Page(PagePictures& pictures, const EncodeOptions& options, int pageWidth) {
  const std::optional<Picture> scaled = pictures.For(pageWidth);
  return PageBytes(scaled ? *scaled : pictures.Whole(), std::nullopt, options, false, LLONG_MAX, 1);
}

void BM_MaxBytes(benchmark::State& state) {
  const QByteArray& jpeg = BenchJpeg();
  const long long budget = state.range(0);
  const EncodeOptions options;  // the start options
  std::optional<Picture> whole;
  const auto decodeWhole = [&]() -> const Picture& {
    if (!whole) whole = DecodePicture(jpeg);
    return *whole;
  };
  int width = 0;
  long long bytes = 0;
  double searched = 0;
  double widthRun = 0;
  for (auto _ : state) {
    const double start = CpuSeconds();
    {
      PagePictures pictures(jpeg, decodeWhole, std::nullopt, options.Ratio);
      width = FitPageToBytes(pictures, options, false, budget, 1);
      bytes = Page(pictures, options, width);
    }
    const double between = CpuSeconds();
    {
      PagePictures pictures(jpeg, decodeWhole, std::nullopt, options.Ratio);
      benchmark::DoNotOptimize(Page(pictures, options, width));
    }
    const double end = CpuSeconds();
    state.SetIterationTime(between - start);
    searched += between - start;
    widthRun += end - between;
  }
  state.counters["width"] = width;
  state.counters["page_kB"] = static_cast<double>(bytes) / 1e3;
  state.counters["width_run_ms"] =
      benchmark::Counter(widthRun * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["x_width_run"] = searched / widthRun;  // the target: at most 4
}

BENCHMARK(BM_MaxBytes)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace
}  // namespace stipplor
