#include "output/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The cause OutputFile gives when writing `bytes` to `path` and committing, or "".
std::string Failure(const std::string& path, const std::string& bytes) {
  try {
    OutputFile output(path);
    output.Write(bytes);
    output.Commit();
    return "";
  } catch (const OutputError& error) {
    return error.what();
  }
}

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

ino_t InodeOf(const std::string& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_ino;
}

std::string Big(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i * 7 % 26);
  return text;
}

TEST(OutputFile, WritesANewFileWithTheUsualPermissions) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  EXPECT_EQ(Failure(dir / "new.html", "<HTML>"), "");
  ::umask(mask);
  EXPECT_EQ(ReadFile(dir / "new.html"), "<HTML>");
  EXPECT_EQ(ModeOf(dir / "new.html"), 0644u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"new.html"});
}

TEST(OutputFile, WritesMoreThanItsBufferInPieces) {
  TempDir dir;
  const std::string first = Big(700000), second = Big(1500000), third = "tail";
  OutputFile output(dir / "big.html");
  output.Write(first);
  output.Write(second);
  output.Write(third);
  output.Commit();
  EXPECT_EQ(ReadFile(dir / "big.html").toStdString(), first + second + third);
}

TEST(OutputFile, ReplacesAnExistingFileKeepingItsPermissions) {
  TempDir dir;
  WriteFile(dir / "old.html", "old contents");
  ::chmod((dir / "old.html").c_str(), 0604);
  EXPECT_EQ(Failure(dir / "old.html", "new"), "");
  EXPECT_EQ(ReadFile(dir / "old.html"), "new");
  EXPECT_EQ(ModeOf(dir / "old.html"), 0604u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.html"});
}

TEST(OutputFile, AnUnfinishedOutputLeavesTheTargetAsItWasAndNoTemporaryFile) {
  TempDir dir;
  WriteFile(dir / "keep.html", "precious");
  {
    OutputFile output(dir / "keep.html");
    output.Write(Big(3000000));
    EXPECT_EQ(dir.Names().size(), 2u);  // the target and the temporary file beside it
  }
  EXPECT_EQ(ReadFile(dir / "keep.html"), "precious");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.html"});
  {
    OutputFile output(dir / "never.html");
    output.Write("half");
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.html"});
}

TEST(OutputFile, ThroughASymbolicLinkReplacesTheFileItPointsTo) {
  TempDir dir;
  WriteFile(dir / "real.html", "old");
  ASSERT_EQ(::symlink("real.html", (dir / "link.html").c_str()), 0);
  EXPECT_EQ(Failure(dir / "link.html", "new"), "");
  EXPECT_EQ(ReadFile(dir / "real.html"), "new");
  struct stat status {};
  ASSERT_EQ(::lstat((dir / "link.html").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
}

TEST(OutputFile, WritesAFifoInPlace) {
  TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string text = Big(3000000);
  std::string received;
  std::thread reader([&] {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    char chunk[65536];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) {
      received.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
  });
  EXPECT_EQ(Failure(fifo, text), "");
  reader.join();
  EXPECT_EQ(received, text);
  struct stat status {};
  ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"fifo"});
}

TEST(OutputFile, ADeviceIsNeverReplaced) {
  const ino_t before = InodeOf("/dev/null");
  EXPECT_EQ(Failure("/dev/null", "discarded"), "");
  EXPECT_EQ(InodeOf("/dev/null"), before);
  struct stat status {};
  ASSERT_EQ(::stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
}

}  // namespace
}  // namespace stipplor
