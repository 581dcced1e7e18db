// Throughput of the cell encoders alone, in picture megapixels per second: every cell of a
// 4000 x 3000 photograph-like picture (smooth gradients plus noise) is encoded once per
// iteration, the way a run calls the encoders.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cells.h"

namespace stipplor {
namespace {

const Picture& Photograph() {
  static const Picture picture = [] {
    constexpr int kWidth = 4000;
    constexpr int kHeight = 3000;
    std::vector<PackedColor> pixels;
    pixels.reserve(static_cast<std::size_t>(kWidth) * kHeight);
    std::uint32_t noise = 12345;
    const auto channel = [&](int smooth) {
      noise = noise * 1664525u + 1013904223u;
      const int value = smooth + static_cast<int>(noise >> 27) - 16;  // +-16 of grain
      return value < 0 ? 0 : value > 255 ? 255 : value;
    };
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int red = channel(x * 255 / kWidth);
        const int green = channel(y * 255 / kHeight);
        const int blue = channel(((x + y) / 16) % 256);
        pixels.push_back(red | green << 8 | blue << 16);
      }
    }
    return Picture(kWidth, kHeight, std::move(pixels));
  }();
  return picture;
}

// Calls encode(x, y) for every whole cell of the picture and reports megapixels per second.
template <typename Encode>
void EveryCell(benchmark::State& state, int size, Encode encode) {
  const Picture& picture = Photograph();
  const int width = picture.Width() / size * size;
  const int height = picture.Height() / size * size;
  for (auto _ : state) {
    for (int y = 0; y < height; y += size) {
      for (int x = 0; x < width; x += size) encode(static_cast<Int16>(x), static_cast<Int16>(y));
    }
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(width) * height / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

void BM_GetPixBW(benchmark::State& state) {
  const auto size = static_cast<Int16>(state.range(0));
  const auto style = static_cast<Int16>(state.range(1));
  const BrightnessRange range;
  std::size_t length = 0;
  EveryCell(state, size, [&](Int16 x, Int16 y) {
    length += GetPixBW(Photograph(), x, y, size, size, style, -1, range).size();
  });
  benchmark::DoNotOptimize(length);
  static constexpr std::string_view kStyles[] = {"Plain", "Pattern", "Dotted", "Fractal"};
  state.SetLabel(std::string(kStyles[state.range(1)]));
}
BENCHMARK(BM_GetPixBW)->ArgsProduct({{2, 3, 4}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);

void BM_PixColHiQu(benchmark::State& state) {
  const auto size = static_cast<Int16>(state.range(0));
  ColorText bbCol;
  ColorText ffCol;
  std::string_view ssCol;
  std::size_t checksum = 0;
  EveryCell(state, size, [&](Int16 x, Int16 y) {
    PixColHiQu(Photograph(), x, y, size, size, bbCol, ffCol, ssCol);
    checksum += static_cast<std::size_t>(bbCol.chars[1] + ffCol.chars[6]) + ssCol.size();
  });
  benchmark::DoNotOptimize(checksum);
}
BENCHMARK(BM_PixColHiQu)->DenseRange(2, 4)->Unit(benchmark::kMillisecond);

void BM_GetPixColLoQu(benchmark::State& state) {
  const auto size = static_cast<Int16>(state.range(0));
  std::size_t checksum = 0;
  EveryCell(state, size, [&](Int16 x, Int16 y) {
    checksum += static_cast<std::size_t>(GetPixColLoQu(Photograph(), x, y, size, size).chars[6]);
  });
  benchmark::DoNotOptimize(checksum);
}
BENCHMARK(BM_GetPixColLoQu)->DenseRange(2, 4)->Unit(benchmark::kMillisecond);

// The shape of every cell index, as the Fractal style asks for it.
void BM_GetHilbertShape(benchmark::State& state) {
  const auto size = static_cast<int>(state.range(0));
  int sum = 0;
  EveryCell(state, size, [&](Int16 x, Int16 y) { sum += GetHilbertShape(x / size, y / size); });
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_GetHilbertShape)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// Once per run, over the whole picture.
void BM_GetBWColors(benchmark::State& state) {
  const Picture& picture = Photograph();
  ColorText ffCol;
  ColorText bbCol;
  BrightnessRange range;
  for (auto _ : state) {
    GetBWColors(picture, 2, 0, 0, static_cast<Int16>(picture.Width()),
                static_cast<Int16>(picture.Height()), ffCol, bbCol, range);
    benchmark::DoNotOptimize(range);
  }
  state.counters["Mpx/s"] =
      benchmark::Counter(static_cast<double>(picture.Width()) * picture.Height() / 1e6,
                         benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GetBWColors)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stipplor
