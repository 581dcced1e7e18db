#include "picture_io/load_picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QPainter>
#include <QtEndian>
#include <string>

#include "picture_io/file_names.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/page_picture.h"
#include "picture_io/picture_file.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using namespace test;

// The cause the loader gives for the file at `path` or else for the bytes, or "" when they load.
std::string Refusal(const QByteArray& bytes, const std::string& path = "") {
  try {
    path.empty() ? DecodePicture(bytes) : LoadPicture(QString::fromStdString(path));
    return "";
  } catch (const PictureError& error) {
    return error.what();
  }
}

const QRgb kWhite = qRgb(255, 255, 255);

// A picture of the fuzzers' corpus.
QByteArray Corpus(const std::string& name) {
  return ReadFile(STIPPLOR_SOURCE_DIR "/fuzz/corpus/load_picture/" + name);
}

// The corpus's BMP headers, claiming the given size; no pixels follow.
QByteArray BmpClaiming(qint32 width, qint32 height) {
  QByteArray bmp = Corpus("bmp_claims_60000x60000.bmp");
  qToLittleEndian(width, bmp.data() + 18);
  qToLittleEndian(height, bmp.data() + 22);
  return bmp;
}

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
  const QRgb onWhite[] = {kWhite, qRgb(127, 127, 127), qRgb(191, 216, 241), qRgb(128, 128, 128)};
  for (int x = 0; x < 4; ++x) alpha.setPixel(x, 0, translucent[x]);
  const QImage loaded = ToQImage(DecodePicture(Encoded(alpha, "PNG")));
  ASSERT_EQ(loaded.size(), QSize(4, 1));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(loaded.pixel(x, 0), onWhite[x]) << x;
  // The first of two frames (red, then blue); transparent pixels on white.
  QImage expected(6, 6, QImage::Format_RGB32);
  expected.fill(qRgb(255, 0, 0));
  EXPECT_EQ(ToQImage(DecodePicture(Corpus("gif_two_frames.gif"))), expected);
  expected.fill(kWhite);
  for (int i = 0; i < 9; ++i) expected.setPixel(1 + i % 3, 1 + i / 3, qRgb(255, 0, 0));
  EXPECT_EQ(ToQImage(DecodePicture(Corpus("gif_transparent.gif"))), expected);
  // Orientation 6 turns the 16 x 12 pixels a quarter clockwise: their dark bottom comes left.
  const QImage turned = ToQImage(DecodePicture(Corpus("jpeg_exif_rotated.jpg")));
  ASSERT_EQ(turned.size(), QSize(12, 16));
  EXPECT_TRUE(qGreen(turned.pixel(0, 8)) < 140 && qGreen(turned.pixel(11, 8)) > 240);
  // Every seed picture loads (progressive, grey JPEG, RLE, 1-bit BMP...) but the refusals below.
  for (const std::string& name : NamesIn(STIPPLOR_SOURCE_DIR "/fuzz/corpus/load_picture")) {
    const bool refused = name.find("claims_") != name.npos || name.find("without_") != name.npos;
    EXPECT_EQ(refused ? "" : Refusal(Corpus(name)), "") << name;
  }
}

// Every prefix of a BMP, a GIF (but its trailer) and a JPEG is refused as cut short once its
// signature ("GIF89a" at most) is whole; the whole file loads, with bytes appended too.
TEST(LoadPicture, RefusesEveryPrefixOfAPicture) {
  for (const QByteArray& whole :
       {Encoded(Gradient(21, 9), "BMP"), Corpus("gif_gradient.gif").chopped(1),
        Encoded(Gradient(40, 24), "JPEG", 90)}) {
    ASSERT_EQ(Refusal(whole + "trailing bytes"), "");
    for (qsizetype size = 1; size < whole.size(); ++size) {
      const std::string cause = Refusal(whole.left(size));
      ASSERT_TRUE(cause == "damaged picture file (truncated)" ||
                  (size < 6 && cause == "not a picture file (unsupported or damaged)"))
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
  QByteArray gif = Corpus("gif_gradient.gif");
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
      {"", "picture is 60000 x 60000" + over, BmpClaiming(60000, 60000)},
      {"", "picture is 16384 x 16385" + over, BmpClaiming(16384, 16385)},
      // Exactly 1 GiB passes the size check and is then found to lack its pixels.
      {"", "damaged picture file (truncated)", BmpClaiming(16384, 16384)},
      {"", "picture is 20000 x 60000" + over, gif},
      {"", "picture is 60000 x 60000" + over, jpeg},
  };
  for (const auto& c : cases) EXPECT_EQ(Refusal(c.bytes, c.path), c.cause) << c.path;
}

// How far the page's pixels lie from the region averaged down another way: each pixel repeated
// (page size) times each way, each page pixel the mean of its block; halves up, outside black.
int FromAverage(const Picture& page, const Picture& picture, const Region& r) {
  const long long w = page.Width(), h = page.Height(), total = 1LL * r.Width * r.Height;
  long long most = 0;
  for (long long l = 0; l < h; ++l) {
    for (long long k = 0; k < w; ++k) {
      long long sum[3] = {};
      for (long long v = l * r.Height; v < (l + 1) * r.Height; ++v) {
        for (long long u = k * r.Width; u < (k + 1) * r.Width; ++u) {
          const PackedColor c = std::max(0, picture.Pixel(int(r.Left + u / w), int(r.Top + v / h)));
          for (int i = 0; i < 3; ++i) sum[i] += c >> (8 * i) & 0xFF;
        }
      }
      const PackedColor got = page.Pixel(int(k), int(l));
      for (int i = 0; i < 3; ++i)
        most = std::max(most, std::abs((sum[i] + total / 2) / total - (got >> (8 * i) & 0xFF)));
    }
  }
  return int(most);
}

// A BMP and a selection scaled by factors not whole give the area average; a JPEG decoded smaller
// nearly that of its whole decode, its partial last column and row counted by their share.
TEST(PictureForPage, GivesTheRegionsAreaAverage) {
  QImage edged(161, 50, QImage::Format_RGB32);
  edged.fill(Qt::white);
  QPainter(&edged).fillRect(160, 0, 1, 50, Qt::black);
  QPainter(&edged).fillRect(0, 48, 161, 2, Qt::black);
  const QByteArray bmp = Encoded(Gradient(97, 61), "BMP");
  const struct {
    QByteArray file;
    std::optional<Region> selection;
    int ratio, pageWidth, width, height, tolerance;
  } cases[] = {
      {bmp, {}, 1, 62, 31, 19, 0},
      {bmp, Region{-5, 7, 90, 50}, 3, 40, 60, 33, 0},
      {bmp, Region{15, -4, 90, 50}, 3, 40, 60, 33, 0},
      {Encoded(edged, "JPEG", 100), {}, 2, 40, 40, 12, 3},
      {Corpus("jpeg_exif_rotated.jpg"), {}, 1, 6, 3, 4, 3},  // averaged as stored, then turned
  };
  for (const auto& c : cases) {
    const Picture whole = DecodePicture(c.file);
    const auto page = PictureForPage(
        c.file, [&]() -> const Picture& { return whole; }, c.selection, c.ratio, c.pageWidth);
    ASSERT_TRUE(page && page->Width() == c.width && page->Height() == c.height) << c.width;
    const Region all{0, 0, whole.Width(), whole.Height()};
    EXPECT_LE(FromAverage(*page, whole, c.selection.value_or(all)), c.tolerance) << c.width;
  }
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
      {"a\x1B[31mb\n\x7F\xC2\x9B\xC2\xA0", "a\\x1B[31mb\\x0A\\x7F\\xC2\\x9B\xC2\xA0"},  // controls
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
