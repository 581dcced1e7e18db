#include "picture_io/load_picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "picture_io/file_names.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/picture_file.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::Encoded;
using test::Gradient;
using test::TempDir;
using test::WriteFile;

// The cause the loader gives for the file at `path` or else for the bytes, or "" when they load.
std::string Refusal(const QByteArray& bytes, const std::string& path = "") {
  try {
    path.empty() ? DecodePicture(bytes) : LoadPicture(QString::fromStdString(path));
    return "";
  } catch (const PictureError& error) {
    return error.what();
  }
}

// The pixels the loader gives, row after row.
std::vector<QRgb> PixelsOf(const QByteArray& bytes) {
  const QImage image = ToQImage(DecodePicture(bytes));
  std::vector<QRgb> pixels;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    pixels.insert(pixels.end(), row, row + image.width());
  }
  return pixels;
}

const std::vector<QRgb> kPalette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                    qRgb(10, 20, 30)};
const QRgb kWhite = qRgb(255, 255, 255);

TEST(LoadPicture, GivesThePixelsOnWhiteTheFirstFrameAndTheStoredOrientation) {
  const QImage gradient = Gradient(37, 21);
  const QImage indexed = gradient.convertToFormat(QImage::Format_Indexed8);
  EXPECT_EQ(ToQImage(DecodePicture(Encoded(gradient, "BMP"))), gradient);
  EXPECT_EQ(ToQImage(DecodePicture(Encoded(indexed, "BMP"))),
            indexed.convertToFormat(QImage::Format_RGB32));
  // Translucent pixels over white: each channel (c * a + 255 * (255 - a)) / 255, rounded.
  QImage alpha(4, 1, QImage::Format_ARGB32);
  const QRgb translucent[] = {qRgba(255, 0, 0, 0), qRgba(0, 0, 0, 128), qRgba(0, 100, 200, 64),
                              qRgba(1, 1, 1, 127)};
  for (int x = 0; x < 4; ++x) alpha.setPixel(x, 0, translucent[x]);
  EXPECT_EQ(PixelsOf(Encoded(alpha, "PNG")),
            (std::vector{kWhite, qRgb(127, 127, 127), qRgb(191, 216, 241), qRgb(128, 128, 128)}));
  // The first of two frames; index 2 is transparent.
  EXPECT_EQ(PixelsOf(test::GifFile(3, 2, kPalette, {{0, 1, 2, 3, 3, 0}, {1, 1, 1, 1, 1, 1}}, 2)),
            (std::vector{kPalette[0], kPalette[1], kWhite, kPalette[3], kPalette[3], kPalette[0]}));

  // Orientation 6 turns the picture a quarter clockwise: the left half (red) comes to the top.
  QImage halves(32, 16, QImage::Format_RGB32);
  halves.fill(qRgb(0, 0, 255));
  for (int i = 0; i < 16 * 16; ++i) halves.setPixel(i % 16, i / 16, qRgb(255, 0, 0));
  const QImage turned =
      ToQImage(DecodePicture(test::WithExifOrientation(Encoded(halves, "JPEG", 95), 6)));
  ASSERT_EQ(turned.size(), QSize(16, 32));
  EXPECT_TRUE(qRed(turned.pixel(8, 4)) > 240 && qBlue(turned.pixel(8, 4)) < 15);
  EXPECT_TRUE(qBlue(turned.pixel(8, 28)) > 240 && qRed(turned.pixel(8, 28)) < 15);
}

// Every prefix of a BMP, a GIF (but for its trailer) and a JPEG is refused as damaged, before
// the decoder fills the rest with something; the whole file loads, with bytes appended too.
TEST(LoadPicture, RefusesEveryPrefixOfAPicture) {
  const QByteArray gif = test::GifFile(48, 8, kPalette, {std::vector<std::uint8_t>(384, 2)});
  for (const QByteArray& whole :
       {Encoded(Gradient(21, 9), "BMP"), gif.chopped(1), Encoded(Gradient(40, 24), "JPEG", 90)}) {
    ASSERT_EQ(Refusal(whole + "trailing bytes"), "");
    for (qsizetype size = 1; size < whole.size(); ++size) {
      const std::string cause = Refusal(whole.left(size));
      ASSERT_TRUE(cause == "not a picture file (unsupported or damaged)" ||
                  cause.starts_with("damaged picture file ("))
          << size << " of " << whole.size() << " bytes: " << cause;
    }
  }
}

TEST(LoadPicture, RefusesWhatIsNotAPictureFileAndPicturesLargerThanTheLimit) {
  TempDir dir;
  WriteFile(dir / "empty.jpg", {});
  WriteFile(dir / "text.jpg", "This is not a picture.\n");
  ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);
  ::mkdir((dir / "folder.jpg").c_str(), 0755);
  // Sparse: takes no disk space, but would take 2 GiB of memory if it were read.
  WriteFile(dir / "huge.jpg", {});
  ASSERT_EQ(::truncate((dir / "huge.jpg").c_str(), kMaxFileBytes + 1), 0);
  // Headers claiming more pixels than the limit are refused before anything is allocated.
  QByteArray gif = test::GifFile(1, 1, kPalette, {{1}});
  gif.replace(6, 4, QByteArray("\x20\x4E\x60\xEA", 4));  // a screen of 20000 x 60000
  QByteArray jpeg = Encoded(Gradient(8, 8), "JPEG");
  jpeg.replace(jpeg.indexOf("\xFF\xC0") + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
  const std::string over = " pixels, larger than the 1 GiB limit";
  const struct {
    std::string path;
    std::string cause;
    QByteArray bytes = {};
  } cases[] = {
      {dir / "missing.jpg", "no such file"},
      {dir / "missing-folder/picture.jpg", "no such file"},
      {dir / "empty.jpg", "empty file"},
      {dir / "text.jpg", "not a picture file (unsupported or damaged)"},
      {dir / "folder.jpg", "is a directory"},
      {dir / "huge.jpg", "file larger than the 2 GiB limit"},
      {dir / "fifo.jpg", "not a regular file (a device, FIFO or socket)"},  // must not wait
      // It claims a page and holds a few bytes, as a file cut while it is read does.
      {"/sys/devices/system/cpu/online", "damaged picture file (truncated)"},
      // Qt's MNG reader reports success for these bytes and hands over no picture.
      {STIPPLOR_SOURCE_DIR "/fuzz/corpus/load_picture/mng_without_a_picture_loaded_as_0x0.mng",
       "damaged picture file (no picture in it)"},
      {"", "picture is 60000 x 60000" + over, test::BmpHeaderClaiming(60000, 60000)},
      {"", "picture is 16384 x 16385" + over, test::BmpHeaderClaiming(16384, 16385)},
      // Exactly 1 GiB passes the size check and is then found to lack its pixels.
      {"", "damaged picture file (truncated)", test::BmpHeaderClaiming(16384, 16384)},
      {"", "picture is 20000 x 60000" + over, gif},
      {"", "picture is 60000 x 60000" + over, jpeg},
  };
  for (const auto& c : cases) EXPECT_EQ(Refusal(c.bytes, c.path), c.cause) << c.path;
}

// A file that shrinks while it is loaded (a download still being written) fails that load
// alone: its bytes are read, not mapped, so none can vanish under the decoder (SIGBUS).
TEST(PictureFile, HoldsTheBytesItRead) {
  TempDir dir;
  const QByteArray bmp = Encoded(Gradient(300, 300), "BMP");
  WriteFile(dir / "p.bmp", bmp);
  const PictureFile file(QString::fromStdString(dir / "p.bmp"));
  ASSERT_EQ(::truncate((dir / "p.bmp").c_str(), 0), 0);
  EXPECT_EQ(file.Bytes(), bmp);
}

TEST(FileNames, EveryByteStringComesBackAndReadsAsUtf8WithOtherBytesEscaped) {
  const struct {
    std::string bytes;
    std::string readable;
  } cases[] = {
      {"Café « 写真 » 😀.jpg", "Café « 写真 » 😀.jpg"},
      {"caf\xE9.bmp", "caf\\xE9.bmp"},                    // Latin-1
      {"\xC3", "\\xC3"},                                  // a sequence cut short
      {"\xC0\xAF", "\\xC0\\xAF"},                         // an overlong "/"
      {"\xED\xB2\x80", "\\xED\\xB2\\x80"},                // a surrogate, the form of an escape
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},       // above U+10FFFF
      {"\xF0\x90\x82\x80\xE9", "\xF0\x90\x82\x80\\xE9"},  // U+10080 (its low half is DC80)
  };
  for (const auto& c : cases) {
    const QString name = FileNameFromBytes(QByteArrayView(c.bytes.data(), c.bytes.size()));
    EXPECT_EQ(FileNameBytes(name).toStdString(), c.bytes) << c.readable;
    EXPECT_EQ(ReadableFileName(c.bytes), c.readable);
    EXPECT_EQ(ReadableFileName(name).toStdString(), c.readable);
  }
}

}  // namespace
}  // namespace stipplor
