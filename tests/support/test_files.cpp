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

void AppendLe16(QByteArray& bytes, std::uint32_t value) {
  bytes.append(static_cast<char>(value & 0xFF)).append(static_cast<char>((value >> 8) & 0xFF));
}

void AppendLe32(QByteArray& bytes, std::uint32_t value) {
  AppendLe16(bytes, value & 0xFFFF);
  AppendLe16(bytes, value >> 16);
}

// LZW data of a GIF frame with 2-bit pixels, written so that every code has 3 bits: a clear
// code before each pixel keeps the code table from growing.
QByteArray GifImageData(const std::vector<std::uint8_t>& indexes) {
  constexpr std::uint32_t kClear = 4;
  constexpr std::uint32_t kEnd = 5;
  constexpr int kCodeBits = 3;
  QByteArray packed;
  std::uint32_t bits = 0;
  int bitCount = 0;
  const auto put = [&](std::uint32_t code) {
    bits |= code << bitCount;
    bitCount += kCodeBits;
    while (bitCount >= 8) {
      packed.append(static_cast<char>(bits & 0xFF));
      bits >>= 8;
      bitCount -= 8;
    }
  };
  for (const std::uint8_t index : indexes) {
    put(kClear);
    put(index);
  }
  put(kEnd);
  if (bitCount > 0) packed.append(static_cast<char>(bits & 0xFF));

  QByteArray data;
  data.append(static_cast<char>(2));  // minimum code size
  for (qsizetype at = 0; at < packed.size(); at += 255) {
    const QByteArray block = packed.mid(at, 255);
    data.append(static_cast<char>(block.size())).append(block);
  }
  data.append(static_cast<char>(0));
  return data;
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
  // Real and effective ids both, so that the programs started meanwhile are plainly nobody's;
  // the saved ids stay root's, which allows the way back.
  if (::setresgid(kNobody, kNobody, 0) != 0 || ::setresuid(kNobody, kNobody, 0) != 0) {
    throw std::runtime_error("cannot act as nobody");
  }
  switched_ = true;
}

WithoutRootPrivileges::~WithoutRootPrivileges() {
  if (!switched_) return;
  // The tests after would lie.
  if (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0) std::abort();
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.constData(), bytes.size());
  if (!file) throw std::runtime_error("cannot write " + path);
}

QByteArray ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray Encoded(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format, quality)) throw std::runtime_error("cannot encode");
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
  constexpr std::uint32_t kFourColourTable = 0x80 | 0x10 | 0x01;  // global table, 2^(1+1) entries
  QByteArray gif = "GIF89a";
  AppendLe16(gif, static_cast<std::uint32_t>(width));
  AppendLe16(gif, static_cast<std::uint32_t>(height));
  gif.append(static_cast<char>(kFourColourTable)).append('\0').append('\0');
  for (int i = 0; i < 4; ++i) {
    const QRgb c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
    gif.append(static_cast<char>(qRed(c)))
        .append(static_cast<char>(qGreen(c)))
        .append(static_cast<char>(qBlue(c)));
  }
  for (const auto& frame : frames) {
    // Graphic control: no disposal, a delay of 10/100 s, the transparent index if any.
    gif.append("\x21\xF9\x04", 3);
    gif.append(static_cast<char>(transparentIndex >= 0 ? 1 : 0));
    AppendLe16(gif, 10);
    gif.append(static_cast<char>(transparentIndex >= 0 ? transparentIndex : 0)).append('\0');
    gif.append('\x2C');
    AppendLe16(gif, 0);
    AppendLe16(gif, 0);
    AppendLe16(gif, static_cast<std::uint32_t>(width));
    AppendLe16(gif, static_cast<std::uint32_t>(height));
    gif.append('\0');
    gif.append(GifImageData(frame));
  }
  gif.append('\x3B');
  return gif;
}

QByteArray BmpHeaderClaiming(std::int32_t width, std::int32_t height) {
  constexpr std::uint32_t kHeadersSize = 14 + 40;
  constexpr std::uint32_t kPixelsPerMetre = 2835;
  QByteArray bmp = "BM";
  AppendLe32(bmp, kHeadersSize);
  AppendLe32(bmp, 0);
  AppendLe32(bmp, kHeadersSize);
  AppendLe32(bmp, 40);
  AppendLe32(bmp, static_cast<std::uint32_t>(width));
  AppendLe32(bmp, static_cast<std::uint32_t>(height));
  AppendLe16(bmp, 1);   // planes
  AppendLe16(bmp, 24);  // bits a pixel
  AppendLe32(bmp, 0);   // no compression
  AppendLe32(bmp, 0);   // image size, may be 0 when uncompressed
  AppendLe32(bmp, kPixelsPerMetre);
  AppendLe32(bmp, kPixelsPerMetre);
  AppendLe32(bmp, 0);
  AppendLe32(bmp, 0);
  return bmp;
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation) {
  QByteArray tiff = "II*";  // little-endian TIFF structure, first directory at offset 8
  tiff.append('\0');
  AppendLe32(tiff, 8);
  AppendLe16(tiff, 1);       // one entry
  AppendLe16(tiff, 0x0112);  // Orientation
  AppendLe16(tiff, 3);       // SHORT
  AppendLe32(tiff, 1);
  AppendLe16(tiff, static_cast<std::uint32_t>(orientation));
  AppendLe16(tiff, 0);
  AppendLe32(tiff, 0);  // no next directory
  QByteArray segment("Exif\0\0", 6);
  segment.append(tiff);
  const auto length = static_cast<std::uint32_t>(segment.size() + 2);
  QByteArray app1("\xFF\xE1", 2);
  app1.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
  app1.append(segment);
  return jpeg.left(2) + app1 + jpeg.mid(2);
}

}  // namespace stipplor::test
