// Writes the benchmarks' 12-megapixel photograph as a JPEG, for end-to-end timings of the
// command line against a plain JPEG decoder.

#include <cstdio>

#include "bench/bench_picture.h"
#include "picture_io/packed_pixels.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bench_jpeg OUTPUT.jpg\n");
    return 2;
  }
  if (!stipplor::ToQImage(stipplor::TiledSample()).save(argv[1], "JPEG", 90)) {
    std::fprintf(stderr, "make_bench_jpeg: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
