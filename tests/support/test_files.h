#pragma once

// Real files for the tests: a temporary folder, and pictures made by Qt's writers.

#include <sys/stat.h>

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

namespace stipplor::test {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> Names() const;  // sorted

 private:
  std::string path_;
};

std::vector<std::string> NamesIn(const std::string& folder);  // sorted
void WriteFile(const std::string& path, const QByteArray& bytes);
QByteArray ReadFile(const std::string& path);
struct stat StatusOf(const std::string& path);  // of the link itself, for a symbolic link

// The image in the given format ("BMP", "PNG", "JPEG", ...) as Qt writes it.
QByteArray Encoded(const QImage& image, const char* format, int quality = -1);

// A picture whose pixels all differ from their neighbours: red x, green y, blue x + y.
QImage Gradient(int width, int height);

}  // namespace stipplor::test
