#include "bench/bench_picture.h"

#include "picture_io/load_picture.h"

namespace stipplor {

namespace {

// Index into a tile of `size` when the tile is repeated mirrored: 0 1 2 2 1 0 0 1 2 ...
int Mirrored(int i, int size) {
  const int period = i % (2 * size);
  return period < size ? period : 2 * size - 1 - period;
}

}  // namespace

Picture TiledSample(int width, int height) {
  const Picture sample = LoadPicture(QStringLiteral(STIPPLOR_SOURCE_DIR "/samples/astronaut.jpg"));
  Picture tiled(width, height);
  for (int y = 0; y < height; ++y) {
    const auto from = sample.Row(Mirrored(y, sample.Height()));
    auto to = tiled.Row(y);
    for (int x = 0; x < width; ++x) {
      to[static_cast<std::size_t>(x)] = from[static_cast<std::size_t>(Mirrored(x, sample.Width()))];
    }
  }
  return tiled;
}

const Picture& BenchPicture() {
  static const Picture picture = TiledSample();
  return picture;
}

}  // namespace stipplor
