#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "output/temporary_files.h"

namespace stipplor {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
constexpr int kMaxLinks = 40;          // as the kernel follows at most

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

// Where a page written to `path` lands: through symbolic links (even one pointing nowhere, as
// the shell's ">" does) to the file they name. Relative links are taken from their own folder,
// and a relative path stays relative, so that no path grows past PATH_MAX.
std::string FinalTarget(std::string path) {
  for (int links = 0;; ++links) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    if (links == kMaxLinks) Fail(ELOOP);
    char buffer[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (size < 0) Fail(errno);
    if (static_cast<std::size_t>(size) == sizeof buffer) Fail(ENAMETOOLONG);
    const std::string_view link(buffer, static_cast<std::size_t>(size));
    path = link.starts_with('/') ? std::string(link) : FolderOf(path).append("/").append(link);
  }
}

// In a folder with the sticky bit (/tmp) only the owners of a file or of the folder may replace
// it; seen before the page is made rather than after. Root may in any case.
void RequireReplaceable(const struct stat& file, const std::string& folder) {
  struct stat status {};
  const uid_t user = ::geteuid();
  if (user == 0 || file.st_uid == user || ::stat(folder.c_str(), &status) != 0) return;
  if ((status.st_mode & S_ISVTX) != 0 && status.st_uid != user) {
    throw OutputError(std::string(std::strerror(EPERM)) +
                      " (another user's file in a folder with the sticky bit)");
  }
}

// A new file `.NAME.XXXXXX` beside `target`, NAME cut short when the whole would pass the
// system's limit of a name; open for writing, with the permissions of any new file (0666
// narrowed by the umask, which is never changed: other threads create files meanwhile).
int CreateTemporary(const std::string& target, std::string& temporary) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const std::string folder = FolderOf(target);
  const std::string prefix =
      folder + "/." + NameOf(target).substr(0, NAME_MAX - std::string_view("..XXXXXX").size()) +
      ".";
  for (;;) {
    temporary = prefix;
    for (int i = 0; i < 6; ++i) temporary += kLetters[::arc4random_uniform(sizeof kLetters - 1)];
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0) return fd;
    if (errno == EEXIST) continue;
    const int error = errno;
    temporary.clear();
    if (error == EACCES || error == EPERM || error == EROFS) {
      throw OutputError("Cannot create a file in " +
                        (folder == "." ? std::string("the current folder") : folder) + ": " +
                        std::strerror(error));
    }
    Fail(error);
  }
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
  }
  target_ = FinalTarget(path);
  if (exists) RequireReplaceable(status, FolderOf(target_));

  fd_ = CreateTemporary(target_, temporary_);
  ownsFd_ = true;
  TemporaryFiles::Add(temporary_);
  if (!exists) return;
  // The replacement keeps the owner, group and permissions of the file it replaces, as far as
  // this user may give them: each on its own, a refusal being no failure.
  std::ignore = ::fchown(fd_, status.st_uid, static_cast<gid_t>(-1));
  std::ignore = ::fchown(fd_, static_cast<uid_t>(-1), status.st_gid);
  if (::fchmod(fd_, status.st_mode & 0777) != 0) {
    const int error = errno;
    Discard();  // no destructor runs for a constructor that throws
    Fail(error);
  }
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
  if (ownsFd_) ::close(fd_);
  ownsFd_ = false;
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  TemporaryFiles::Remove(temporary_);
  temporary_.clear();
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
  TemporaryFiles::Remove(temporary_);
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
