// Fuzz target: arbitrary bytes as a picture file through the one decoder of both programs. It
// either gives a picture whose every pixel is a packed colour or refuses the file with
// PictureError; nothing else may happen. Headers that claim more than the loader's limit must be
// refused, naming the size. A JPEG decoded smaller for a page width must come out at exactly the
// size asked, in the orientation shown.

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "picture_io/load_picture.h"

namespace stipplor::fuzz {
namespace {

// Larger pictures within the loader's limit are skipped: they decode correctly but slowly,
// and a fuzzer learns nothing from waiting for them.
constexpr long long kMaxFuzzedPixels = 512LL * 512;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

// The size Qt's reader sees in the header, without decoding; invalid when it cannot tell.
QSize DeclaredSize(QByteArray file) {
  QBuffer device(&file);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device);
  reader.setDecideFormatFromContent(true);
  return reader.size();
}

// The pixels a GIF decodes to: Qt's reader draws every GIF on a canvas of the logical screen's
// size, which its size() does not tell.
long long GifCanvasPixels(const std::uint8_t* bytes, std::size_t size, QSize declared) {
  if (size < 10 || std::memcmp(bytes, "GIF8", 4) != 0) return 0;
  const long long width = std::max(bytes[6] | bytes[7] << 8, declared.width());
  const long long height = std::max(bytes[8] | bytes[9] << 8, declared.height());
  return width * height;
}

void CheckPixels(const Picture& picture) {
  if (picture.Width() <= 0 || picture.Height() <= 0) Fail("empty picture loaded");
  for (int y = 0; y < picture.Height(); ++y) {
    for (const PackedColor pixel : picture.Row(y)) {
      if (pixel < 0 || pixel > 0xFFFFFF) Fail("pixel is no packed colour");
    }
  }
}

}  // namespace
}  // namespace stipplor::fuzz

// Qt's readers describe every damage they meet on standard error; the fuzzer's own report is
// what counts.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace stipplor;
  using namespace stipplor::fuzz;
  const QByteArray file = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), size);

  const QSize declared = DeclaredSize(file);
  const long long pixels = static_cast<long long>(declared.width()) * declared.height();
  const bool overLimit = declared.isValid() && pixels > kMaxDecodedBytes / 4;
  if (declared.isValid() && pixels > kMaxFuzzedPixels && !overLimit) return 0;
  if (GifCanvasPixels(bytes, size, declared) > kMaxFuzzedPixels) return 0;

  Picture picture;
  try {
    picture = DecodePicture(file);
  } catch (const PictureError& error) {
    const std::string cause = error.what();
    if (cause.empty()) Fail("refusal without a cause");
    const std::string across = std::to_string(declared.width()) + " x ";
    if (overLimit && cause.find(across + std::to_string(declared.height())) == std::string::npos) {
      Fail("huge picture refused without naming its size: " + cause);
    }
    return 0;
  }
  if (overLimit) Fail("picture beyond the limit loaded");
  CheckPixels(picture);

  QSize asked;
  const auto smaller = DecodeJpegScaled(file, [&asked](QSize shown) {
    return asked = QSize((shown.width() + 2) / 3, (shown.height() + 2) / 3);
  });
  if (smaller) {
    if (QSize(smaller->Width(), smaller->Height()) != asked) Fail("scaled JPEG of another size");
    CheckPixels(*smaller);
  }
  return 0;
}
