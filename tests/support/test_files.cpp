#include "tests/support/test_files.h"

#include <unistd.h>

#include <QBuffer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace stipplor::test {

namespace {

// `value` in `count` bytes, the lowest first.
QByteArray Le(std::uint64_t value, int count) {
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  return bytes;
}

// LZW data of a GIF frame with 2-bit pixels: a clear code (4) before each pixel keeps the code
// table from growing, so that every code has 3 bits; 5 ends the data.
QByteArray GifImageData(const std::vector<std::uint8_t>& indexes) {
  QByteArray packed;
  std::uint32_t bits = 0;
  int count = 0;
  const auto put = [&](std::uint32_t code) {
    bits |= code << count;
    for (count += 3; count >= 8; count -= 8, bits >>= 8) packed.append(static_cast<char>(bits));
  };
  for (const std::uint8_t index : indexes) put(4), put(index);
  put(5);
  if (count > 0) packed.append(static_cast<char>(bits));
  QByteArray data(1, '\2');  // the minimum code size
  for (qsizetype at = 0; at < packed.size(); at += 255) {
    data.append(static_cast<char>(packed.mid(at, 255).size())).append(packed.mid(at, 255));
  }
  return data.append('\0');
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = "/tmp/stipplor-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::Names() const { return NamesIn(path_); }

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

WithoutRootPrivileges::WithoutRootPrivileges() {
  constexpr id_t kNobody = 65534;
  if (::geteuid() != 0) return;
  // Real and effective ids both, so that the programs started meanwhile are wholly nobody's;
  // the saved ids stay root's, which allows the way back.
  if (::setresgid(kNobody, kNobody, 0) != 0 || ::setresuid(kNobody, kNobody, 0) != 0) {
    throw std::runtime_error("cannot act as nobody");
  }
  switched_ = true;
}

WithoutRootPrivileges::~WithoutRootPrivileges() {
  // The tests after would lie.
  if (switched_ && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) std::abort();
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(bytes.constData(), bytes.size()))
    throw std::runtime_error("cannot write " + path);
}

QByteArray ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return QByteArray::fromStdString(bytes);
}

QByteArray Encoded(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format, quality)) {
    throw std::runtime_error("cannot encode");
  }
  return bytes;
}

QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
  }
  return image;
}

QByteArray GifFile(int width, int height, const std::vector<QRgb>& palette,
                   const std::vector<std::vector<std::uint8_t>>& frames, int transparentIndex) {
  const QByteArray size =
      Le(static_cast<std::uint32_t>(width), 2) + Le(static_cast<std::uint32_t>(height), 2);
  // A global table of 4 colours.
  QByteArray gif = "GIF89a" + size + QByteArray("\x91\0\0", 3);
  for (std::size_t i = 0; i < 4; ++i) {
    const QRgb c = i < palette.size() ? palette[i] : 0;
    gif.append(static_cast<char>(qRed(c))).append(static_cast<char>(qGreen(c)));
    gif.append(static_cast<char>(qBlue(c)));
  }
  for (const auto& frame : frames) {
    // Graphic control: a delay of 10/100 s and the transparent index if any; then the frame.
    gif.append("\x21\xF9\x04", 3).append(transparentIndex >= 0 ? '\1' : '\0').append(Le(10, 2));
    gif.append(static_cast<char>(std::max(transparentIndex, 0))).append('\0');
    gif.append('\x2C').append(Le(0, 4)).append(size).append('\0').append(GifImageData(frame));
  }
  return gif.append('\x3B');
}

QByteArray BmpHeaderClaiming(std::int32_t width, std::int32_t height) {
  constexpr std::uint32_t kHeaders = 14 + 40;
  return "BM" + Le(kHeaders, 4) + Le(0, 4) + Le(kHeaders, 4) + Le(40, 4) +
         Le(static_cast<std::uint32_t>(width), 4) + Le(static_cast<std::uint32_t>(height), 4) +
         Le(1, 2) + Le(24, 2) + Le(0, 8) + Le(2835, 4) + Le(2835, 4) + Le(0, 8);
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation) {
  // "Exif", then a little-endian TIFF structure of one directory with one entry: Orientation
  // (0x0112), one SHORT.
  const QByteArray segment = QByteArray("Exif\0\0II*\0", 10) + Le(8, 4) + Le(1, 2) + Le(0x0112, 2) +
                             Le(3, 2) + Le(1, 4) + Le(static_cast<std::uint32_t>(orientation), 4) +
                             Le(0, 4);
  const auto length = static_cast<std::uint32_t>(segment.size() + 2);
  return jpeg.left(2) + "\xFF\xE1" + static_cast<char>(length >> 8) +
         static_cast<char>(length & 0xFF) + segment + jpeg.mid(2);
}

}  // namespace stipplor::test
