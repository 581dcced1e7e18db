#include "picture_io/load_picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <fstream>
#include <string>

#include "picture_io/packed_pixels.h"
#include "picture_io/picture_file.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::Encoded;
using test::Gradient;
using test::TempDir;
using test::WriteFile;

PackedColor Packed(int red, int green, int blue) { return red | green << 8 | blue << 16; }

Picture Load(const std::string& path) { return LoadPicture(QString::fromStdString(path)); }

// Inputs the command line is tried with end to end (names, permissions, cut files, content
// against extension) are in tests/robustness; here are the loader's own cases.

// The cause LoadPicture gives for the file, or "" when it loads.
std::string Refusal(const std::string& path) {
  try {
    Load(path);
    return "";
  } catch (const PictureError& error) {
    return error.what();
  }
}

void ExpectSamePixels(const Picture& picture, const QImage& image) {
  ASSERT_EQ(picture.Width(), image.width());
  ASSERT_EQ(picture.Height(), image.height());
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      ASSERT_EQ(picture.Pixel(x, y), Packed(qRed(p), qGreen(p), qBlue(p))) << x << "," << y;
    }
  }
}

TEST(LoadPicture, LosslessFormatsGiveEveryPixelExactly) {
  TempDir dir;
  const QImage image = Gradient(37, 21);
  for (const char* format : {"BMP", "PNG", "TIFF"}) {
    const std::string path = dir / (std::string("picture.") + format);
    WriteFile(path, Encoded(image, format));
    SCOPED_TRACE(format);
    ExpectSamePixels(Load(path), image);
  }
}

TEST(LoadPicture, JpegGivesTheSizeAndColoursCloseToTheOriginal) {
  TempDir dir;
  QImage image(40, 24, QImage::Format_RGB32);
  image.fill(qRgb(200, 30, 90));
  WriteFile(dir / "picture.jpg", Encoded(image, "JPEG", 95));
  const Picture picture = Load(dir / "picture.jpg");
  ASSERT_EQ(picture.Width(), 40);
  ASSERT_EQ(picture.Height(), 24);
  const PackedColor c = picture.Pixel(20, 12);
  EXPECT_NEAR(c & 0xFF, 200, 3);
  EXPECT_NEAR((c >> 8) & 0xFF, 30, 3);
  EXPECT_NEAR((c >> 16) & 0xFF, 90, 3);
}

TEST(LoadPicture, GrayscaleAndIndexedPicturesGiveTheirColours) {
  TempDir dir;
  const QImage grey = Gradient(16, 8).convertToFormat(QImage::Format_Grayscale8);
  WriteFile(dir / "grey.png", Encoded(grey, "PNG"));
  ExpectSamePixels(Load(dir / "grey.png"), grey);
  const QImage indexed = Gradient(16, 8).convertToFormat(QImage::Format_Indexed8);
  WriteFile(dir / "indexed.bmp", Encoded(indexed, "BMP"));
  ExpectSamePixels(Load(dir / "indexed.bmp"), indexed);
}

TEST(LoadPicture, GifGivesItsFirstFrame) {
  TempDir dir;
  const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                     qRgb(10, 20, 30)};
  const std::vector<std::uint8_t> first = {0, 1, 2, 3, 3, 2};
  const std::vector<std::uint8_t> second = {1, 1, 1, 1, 1, 1};
  WriteFile(dir / "animated.gif", test::GifFile(3, 2, palette, {first, second}));
  const Picture picture = Load(dir / "animated.gif");
  ASSERT_EQ(picture.Width(), 3);
  ASSERT_EQ(picture.Height(), 2);
  const PackedColor expected[] = {Packed(255, 0, 0),  Packed(0, 255, 0),  Packed(0, 0, 255),
                                  Packed(10, 20, 30), Packed(10, 20, 30), Packed(0, 0, 255)};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(picture.Pixel(i % 3, i / 3), expected[i]) << i;
}

TEST(LoadPicture, TransparentGifPixelsAreWhite) {
  TempDir dir;
  const std::vector<QRgb> palette = {qRgb(0, 0, 0), qRgb(9, 99, 199), qRgb(0, 0, 0), qRgb(0, 0, 0)};
  WriteFile(dir / "transparent.gif", test::GifFile(2, 1, palette, {{1, 2}}, 2));
  const Picture picture = Load(dir / "transparent.gif");
  EXPECT_EQ(picture.Pixel(0, 0), Packed(9, 99, 199));
  EXPECT_EQ(picture.Pixel(1, 0), Packed(255, 255, 255));
}

TEST(LoadPicture, TranslucentPixelsAreCompositedOverWhite) {
  struct Case {
    QRgb argb;
    PackedColor expected;
  };
  // Each channel becomes (c * a + 255 * (255 - a)) / 255, rounded.
  const Case cases[] = {
      {qRgba(255, 0, 0, 255), Packed(255, 0, 0)},
      {qRgba(255, 0, 0, 0), Packed(255, 255, 255)},
      {qRgba(0, 0, 0, 128), Packed(127, 127, 127)},
      {qRgba(255, 0, 0, 128), Packed(255, 127, 127)},
      {qRgba(0, 100, 200, 64), Packed(191, 216, 241)},
      {qRgba(0, 0, 0, 1), Packed(254, 254, 254)},
  };
  QImage image(std::size(cases), 1, QImage::Format_ARGB32);
  for (int i = 0; i < image.width(); ++i) image.setPixel(i, 0, cases[i].argb);
  TempDir dir;
  WriteFile(dir / "alpha.png", Encoded(image, "PNG"));
  const Picture picture = Load(dir / "alpha.png");
  for (int i = 0; i < image.width(); ++i) EXPECT_EQ(picture.Pixel(i, 0), cases[i].expected) << i;
}

TEST(LoadPicture, AppliesTheStoredOrientation) {
  // Left half red, right half blue; orientation 6 turns the picture a quarter clockwise, so
  // the left half comes to the top.
  QImage image(32, 16, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 255));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) image.setPixel(x, y, qRgb(255, 0, 0));
  }
  TempDir dir;
  WriteFile(dir / "turned.jpg", test::WithExifOrientation(Encoded(image, "JPEG", 95), 6));
  const Picture picture = Load(dir / "turned.jpg");
  ASSERT_EQ(picture.Width(), 16);
  ASSERT_EQ(picture.Height(), 32);
  EXPECT_GT(picture.Pixel(8, 4) & 0xFF, 240);
  EXPECT_LT((picture.Pixel(8, 4) >> 16) & 0xFF, 15);
  EXPECT_GT((picture.Pixel(8, 28) >> 16) & 0xFF, 240);
  EXPECT_LT(picture.Pixel(8, 28) & 0xFF, 15);
}

TEST(LoadPicture, RefusesWhatIsNotAPictureFile) {
  TempDir dir;
  WriteFile(dir / "empty.jpg", {});
  WriteFile(dir / "text.jpg", "This is not a picture.\n");
  ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);
  ::mkdir((dir / "folder.jpg").c_str(), 0755);
  // Sparse: takes no disk space, but would take 2 GiB of memory if it were read.
  WriteFile(dir / "huge.jpg", {});
  ASSERT_EQ(::truncate((dir / "huge.jpg").c_str(), kMaxFileBytes + 1), 0);
  struct Case {
    std::string path;
    std::string cause;
  };
  const Case cases[] = {
      {dir / "missing.jpg", "no such file"},
      {dir / "missing-folder/picture.jpg", "no such file"},
      {dir / "empty.jpg", "empty file"},
      {dir / "text.jpg", "not a picture file (unsupported or damaged)"},
      {dir / "folder.jpg", "is a directory"},
      {dir / "huge.jpg", "file larger than the 2 GiB limit"},
      // Must not wait for a writer.
      {dir / "fifo.jpg", "not a regular file (a device, FIFO or socket)"},
      // Must not read on forever.
      {"/dev/zero", "not a regular file (a device, FIFO or socket)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.path), c.cause) << c.path;
}

// A file that shrinks while it is loaded (a download still being written) fails that load alone:
// its bytes are read, not mapped, so none can vanish under the decoder (SIGBUS), and a read
// that ends early means a truncated file.
TEST(PictureFile, AFileThatShrinksWhileLoadedIsTruncatedNotFatal) {
  TempDir dir;
  const QByteArray bmp = Encoded(Gradient(300, 300), "BMP");
  WriteFile(dir / "p.bmp", bmp);
  const PictureFile file(QString::fromStdString(dir / "p.bmp"));
  ASSERT_EQ(::truncate((dir / "p.bmp").c_str(), 0), 0);
  EXPECT_EQ(file.Bytes(), bmp);
  // A file of /sys claims a page and holds a few bytes, as one cut during the read does.
  const std::string claimsMore = "/sys/devices/system/cpu/online";
  if (QFile::exists(QString::fromStdString(claimsMore))) {
    EXPECT_EQ(Refusal(claimsMore), "damaged picture file (truncated)");
  }
}

TEST(LoadPicture, AcceptsCompleteFilesWithSomethingAppended) {
  TempDir dir;
  const QImage image = Gradient(20, 10);
  WriteFile(dir / "tail.bmp", Encoded(image, "BMP") + "trailing bytes");
  ExpectSamePixels(Load(dir / "tail.bmp"), image);
  WriteFile(dir / "tail.jpg", Encoded(image, "JPEG") + "trailing bytes");
  EXPECT_EQ(Refusal(dir / "tail.jpg"), "");
}

TEST(LoadPicture, RefusesABmpOneByteShortOfItsLastRowsPadding) {
  // Qt's reader reads whole padded rows and leaves a row it cannot read whole unset.
  TempDir dir;
  const QImage image = Gradient(3, 2).convertToFormat(QImage::Format_RGB888);
  const QByteArray bmp = Encoded(image, "BMP");  // rows of 9 bytes padded to 12
  WriteFile(dir / "whole.bmp", bmp);
  ExpectSamePixels(Load(dir / "whole.bmp"), image.convertToFormat(QImage::Format_RGB32));
  WriteFile(dir / "short.bmp", bmp.left(bmp.size() - 1));
  EXPECT_EQ(Refusal(dir / "short.bmp"), "damaged picture file (truncated)");
}

TEST(LoadPicture, RefusesHugePicturesFromTheirHeaderNamingTheSize) {
  TempDir dir;
  WriteFile(dir / "bomb.bmp", test::BmpHeaderClaiming(60000, 60000));
  EXPECT_EQ(Refusal(dir / "bomb.bmp"),
            "picture is 60000 x 60000 pixels, larger than the 1 GiB limit");
  // One row more than 1 GiB of pixels is too much; exactly 1 GiB passes the size check and is
  // then found to lack its pixels.
  WriteFile(dir / "over.bmp", test::BmpHeaderClaiming(16384, 16385));
  EXPECT_EQ(Refusal(dir / "over.bmp"),
            "picture is 16384 x 16385 pixels, larger than the 1 GiB limit");
  WriteFile(dir / "limit.bmp", test::BmpHeaderClaiming(16384, 16384));
  EXPECT_EQ(Refusal(dir / "limit.bmp"), "damaged picture file (truncated)");
}

// A GIF's logical screen, as its header claims it.
QByteArray WithScreen(QByteArray gif, int width, int height) {
  gif[6] = static_cast<char>(width & 0xFF);
  gif[7] = static_cast<char>(width >> 8);
  gif[8] = static_cast<char>(height & 0xFF);
  gif[9] = static_cast<char>(height >> 8);
  return gif;
}

TEST(LoadPicture, GifIsDrawnOnItsLogicalScreen) {
  TempDir dir;
  const QByteArray gif =
      test::GifFile(1, 1, {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9), qRgb(0, 0, 0)}, {{1}});
  WriteFile(dir / "screen.gif", WithScreen(gif, 3, 2));
  const Picture picture = Load(dir / "screen.gif");
  ASSERT_EQ(picture.Width(), 3);
  ASSERT_EQ(picture.Height(), 2);
  EXPECT_EQ(picture.Pixel(0, 0), Packed(4, 5, 6));
  EXPECT_EQ(picture.Pixel(2, 1), Packed(1, 2, 3));  // the screen's background colour
  // A screen beyond the limit is refused from the header, before the canvas is allocated.
  WriteFile(dir / "bomb.gif", WithScreen(gif, 20000, 60000));
  EXPECT_EQ(Refusal(dir / "bomb.gif"),
            "picture is 20000 x 60000 pixels, larger than the 1 GiB limit");
}

TEST(ToQImage, ShowsExactlyThePixelsOfThePicture) {
  const Picture picture(3, 2,
                        {Packed(1, 2, 3), Packed(255, 0, 0), Packed(0, 255, 0), Packed(0, 0, 255),
                         Packed(255, 255, 255), Packed(0, 0, 0)});
  const QImage image = ToQImage(picture);
  ASSERT_EQ(image.size(), QSize(3, 2));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const QRgb p = image.pixel(x, y);
      EXPECT_EQ(Packed(qRed(p), qGreen(p), qBlue(p)), picture.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(ToQImage, RoundTripsThroughALosslessFile) {
  const QImage image = Gradient(9, 7);
  TempDir dir;
  WriteFile(dir / "p.png", Encoded(image, "PNG"));
  const QImage shown = ToQImage(Load(dir / "p.png"));
  EXPECT_EQ(shown, image);
}

}  // namespace
}  // namespace stipplor
