#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace stipplor {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file

[[noreturn]] void Fail(int error) { throw OutputError(std::strerror(error)); }

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `status` is the file standard output or standard error already write to, as when
// the target is /dev/stdout and the shell redirected it to a file: replacing that file would
// pull it away from under the shell's redirection.
int StandardStreamOf(const struct stat& status) {
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat stream {};
    if (::fstat(fd, &stream) == 0 && SameFile(stream, status)) return fd;
  }
  return -1;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file system that cannot flush a folder (EINVAL) keeps its names by other means. A folder
// this user may write to but not read (a drop folder) cannot be opened to be flushed; the page
// is in place all the same, so that is no failure either.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EPERM)) return;
  if (fd < 0) Fail(errno);
  const int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  if (error != 0 && error != EINVAL) Fail(error);
}

}  // namespace

OutputFile::OutputFile() : fd_(STDOUT_FILENO), buffer_(new char[kBufferSize]) {}

OutputFile::OutputFile(const std::string& path) : buffer_(new char[kBufferSize]) {
  struct stat status {};
  const bool exists = ::stat(path.c_str(), &status) == 0;
  if (!exists && errno != ENOENT) Fail(errno);
  if (exists && S_ISDIR(status.st_mode)) Fail(EISDIR);

  if (exists && !S_ISREG(status.st_mode)) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) Fail(errno);
    ownsFd_ = true;
    return;
  }
  if (exists) {
    if (const int stream = StandardStreamOf(status); stream >= 0) {
      fd_ = stream;
      return;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno);
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) Fail(errno);
    target_ = resolved;
  } else {
    target_ = path;
  }

  std::string pattern = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) Fail(errno);
  ownsFd_ = true;
  temporary_ = pattern;
  // The replacement keeps the permissions of the file it replaces; a new file gets the usual.
  const mode_t mode = exists ? (status.st_mode & 0777) : (kNewFileMode & ~CurrentUmask());
  if (::fchmod(fd_, mode) != 0) Fail(errno);
}

OutputFile::~OutputFile() {
  if (ownsFd_) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void OutputFile::Write(std::string_view bytes) {
  if (bytes.size() > kBufferSize - used_) {
    Flush();
    if (bytes.size() >= kBufferSize) {
      WriteAll(bytes.data(), bytes.size());
      return;
    }
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void OutputFile::Commit() {
  Flush();
  if (!ownsFd_) return;
  const int fd = fd_;
  ownsFd_ = false;
  // The new bytes reach the disk before the new name does, and the name before success is
  // reported: after a power cut the target holds the old page or the new one, never nothing.
  if (!temporary_.empty() && ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    Fail(error);
  }
  // Some file systems report a full disk only when the file is closed.
  if (::close(fd) != 0) Fail(errno);
  if (temporary_.empty()) return;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporary_.clear();
  SyncFolder(FolderOf(target_));
}

void OutputFile::Flush() {
  const std::size_t size = used_;
  used_ = 0;
  WriteAll(buffer_.get(), size);
}

void OutputFile::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

}  // namespace stipplor
