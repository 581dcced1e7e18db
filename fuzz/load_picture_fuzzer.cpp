// Fuzz target: arbitrary bytes as a picture file through the one loader of both programs. The
// loader either gives a picture whose every pixel is a packed colour or refuses the file with
// PictureError; nothing else may happen. Headers that claim more than the loader's limit must be
// refused, naming the size.

#include <sys/mman.h>
#include <unistd.h>

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

// The bytes as a file: an anonymous memory file, reached through its /proc name, so that the
// loader's checks on regular files apply and nothing is left on disk.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("picture", MFD_CLOEXEC)) {
    if (fd_ < 0) Fail("memfd_create failed");
    path_ = QString::fromStdString("/proc/self/fd/" + std::to_string(fd_));
  }

  const QString& Write(const std::uint8_t* bytes, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) Fail("ftruncate failed");
    std::size_t done = 0;
    while (done < size) {
      const ssize_t written = pwrite(fd_, bytes + done, size - done, static_cast<off_t>(done));
      if (written <= 0) Fail("pwrite failed");
      done += static_cast<std::size_t>(written);
    }
    return path_;
  }

 private:
  int fd_;
  QString path_;
};

// The size Qt's reader sees in the header, without decoding; invalid when it cannot tell.
QSize DeclaredSize(const std::uint8_t* bytes, std::size_t size) {
  QByteArray data =
      QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
  QBuffer device(&data);
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
  static MemoryFile file;

  const QSize declared = DeclaredSize(bytes, size);
  const long long pixels = static_cast<long long>(declared.width()) * declared.height();
  const bool overLimit = declared.isValid() && pixels > kMaxDecodedBytes / 4;
  if (declared.isValid() && pixels > kMaxFuzzedPixels && !overLimit) return 0;
  if (GifCanvasPixels(bytes, size, declared) > kMaxFuzzedPixels) return 0;

  Picture picture;
  try {
    picture = LoadPicture(file.Write(bytes, size));
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
  return 0;
}
