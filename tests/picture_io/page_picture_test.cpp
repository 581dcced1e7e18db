#include "picture_io/page_picture.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>

#include "picture_io/load_picture.h"
#include "picture_io/packed_pixels.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

// The region averaged down to `size` pixel by pixel: each new pixel sums the region's pixels
// under it by their overlap, in 1/size of a pixel each way; halves round up, outside is black.
QImage Averaged(const Picture& picture, const Region& r, QSize size) {
  const long long w = size.width(), h = size.height();
  const auto overlap = [](long long at, long long span, long long from, long long length) {
    return std::max(0LL, std::min(at + span, from + length) - std::max(at, from));
  };
  QImage image(size, QImage::Format_RGB32);
  for (long long l = 0; l < h; ++l) {
    for (long long k = 0; k < w; ++k) {
      long long sum[3] = {};
      for (long long y = l * r.Height / h; y <= (l + 1) * r.Height / h && y < r.Height; ++y) {
        for (long long x = k * r.Width / w; x <= (k + 1) * r.Width / w && x < r.Width; ++x) {
          const long long share =
              overlap(x * w, w, k * r.Width, r.Width) * overlap(y * h, h, l * r.Height, r.Height);
          const PackedColor c = std::max(0, picture.Pixel(int(r.Left + x), int(r.Top + y)));
          for (int i = 0; i < 3; ++i) sum[i] += share * (c >> (8 * i) & 0xFF);
        }
      }
      const long long total = static_cast<long long>(r.Width) * r.Height;
      for (long long& s : sum) s = (s + total / 2) / total;
      image.setPixel(int(k), int(l), qRgb(int(sum[0]), int(sum[1]), int(sum[2])));
    }
  }
  return image;
}

int MostApart(const QImage& a, const QImage& b) {
  int most = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
        most = std::max(most, std::abs(d));
      }
    }
  }
  return most;
}

// A BMP (and a selection of it) scaled by factors that are not whole both ways gives the area
// average; a JPEG decoded smaller gives nearly the average of its whole decode, its last column
// and row (a quarter and half of a decoded pixel here) counting by the area they stand for.
TEST(PictureForPage, GivesTheRegionsAreaAverage) {
  const char* kRotated = STIPPLOR_SOURCE_DIR "/fuzz/corpus/load_picture/jpeg_exif_rotated.jpg";
  QImage edged(1289, 402, QImage::Format_RGB32);
  edged.fill(Qt::white);
  QPainter(&edged).fillRect(1288, 0, 1, 402, Qt::black);
  QPainter(&edged).fillRect(0, 400, 1289, 2, Qt::black);
  const struct {
    QByteArray file;
    std::optional<Region> selection;
    int ratio, pageWidth;
    QSize size;
    int tolerance;
  } cases[] = {
      {test::Encoded(test::Gradient(97, 61), "BMP"), {}, 1, 62, {31, 19}, 0},
      {test::Encoded(test::Gradient(97, 61), "BMP"), Region{-5, 7, 90, 50}, 3, 40, {60, 33}, 0},
      {test::Encoded(edged, "JPEG", 100), {}, 2, 322, {322, 100}, 3},
      // 16 x 12 stored turned a quarter: averaged as stored, then turned.
      {test::ReadFile(kRotated), {}, 1, 6, {3, 4}, 3},
  };
  for (const auto& c : cases) {
    const Picture whole = DecodePicture(c.file);
    const auto page = PictureForPage(
        c.file, [&]() -> const Picture& { return whole; }, c.selection, c.ratio, c.pageWidth);
    ASSERT_TRUE(page);
    const Region region = c.selection.value_or(Region{0, 0, whole.Width(), whole.Height()});
    const QImage expected = Averaged(whole, region, c.size);
    ASSERT_EQ(ToQImage(*page).size(), c.size);
    EXPECT_LE(MostApart(ToQImage(*page), expected), c.tolerance) << c.size.width();
  }
}

}  // namespace
}  // namespace stipplor
