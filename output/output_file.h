#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace stipplor {

// The output could not be written; what() is the cause ("No space left on device", ...).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the program writes its output, through a large buffer.
// - A regular file (new or existing) is written to a temporary file beside it, which replaces
//   it only in Commit(): a run that fails halfway leaves an existing file byte-identical and no
//   temporary file behind. Through a symbolic link, the file it points to is replaced.
// - Anything else (standard output, a FIFO, a device such as /dev/full, or a path that names
//   the file standard output already writes to, like /dev/stdout) is written in place and never
//   replaced.
class OutputFile {
 public:
  // Standard output.
  OutputFile();
  // The file at `path`. Throws OutputError when it cannot be written (a directory, a missing
  // or read-only folder, a file without write permission).
  explicit OutputFile(const std::string& path);
  ~OutputFile();

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Throws OutputError; the output is then unusable and is discarded by the destructor.
  void Write(std::string_view bytes);
  // Writes what is buffered and puts a temporary file in the target's place, the file's bytes
  // and then its name flushed to the disk. Throws OutputError.
  void Commit();

 private:
  void Flush();
  void Discard();  // closes the file and removes a temporary one
  void WriteAll(const char* data, std::size_t size);

  int fd_ = -1;
  bool ownsFd_ = false;
  std::string target_;     // the file a temporary file replaces
  std::string temporary_;  // empty when writing in place or once committed
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace stipplor
