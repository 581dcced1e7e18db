#include "output/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return status;
}

std::string Big(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i * 7 % 26);
  return text;
}

// A regular file is replaced, through a symbolic link too, keeping its permissions (a new one
// gets the usual); a FIFO and a device are written in place.
TEST(OutputFile, ReplacesARegularFileAndWritesAnythingElseInPlace) {
  TempDir dir;
  WriteFile(dir / "real.html", "old");
  ::chmod((dir / "real.html").c_str(), 0604);
  ASSERT_EQ(::symlink("real.html", (dir / "link.html").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  const std::string big = Big(2200000);  // in pieces smaller and larger than the buffer
  std::string received;
  std::thread reader([&] {
    const int fd = ::open((dir / "fifo").c_str(), O_RDONLY);
    char chunk[65536];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) received.append(chunk, n);
    ::close(fd);
  });
  const ino_t devNull = StatusOf("/dev/null").st_ino;
  const mode_t mask = ::umask(022);
  for (const std::string& path :
       {dir / "new.html", dir / "link.html", dir / "fifo", std::string("/dev/null")}) {
    OutputFile output(path);
    output.Write(big.substr(0, 700000));
    output.Write(big.substr(700000));
    output.Write("tail");
    output.Commit();
  }
  ::umask(mask);
  reader.join();
  EXPECT_EQ(received, big + "tail");
  EXPECT_EQ(ReadFile(dir / "new.html"), QByteArray::fromStdString(big + "tail"));
  EXPECT_EQ(ReadFile(dir / "real.html"), QByteArray::fromStdString(big + "tail"));
  EXPECT_EQ(StatusOf(dir / "new.html").st_mode, S_IFREG | 0644u);
  EXPECT_EQ(StatusOf(dir / "real.html").st_mode, S_IFREG | 0604u);
  EXPECT_TRUE(S_ISLNK(StatusOf(dir / "link.html").st_mode));
  EXPECT_TRUE(S_ISFIFO(StatusOf(dir / "fifo").st_mode));
  EXPECT_EQ(StatusOf("/dev/null").st_ino, devNull);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"fifo", "link.html", "new.html", "real.html"}));
}

TEST(OutputFile, AnUnfinishedOutputLeavesTheTargetAsItWasAndNoTemporaryFile) {
  TempDir dir;
  WriteFile(dir / "keep.html", "precious");
  for (const std::string name : {"keep.html", "never.html"}) {
    OutputFile output(dir / name);
    output.Write(Big(3000000));
    EXPECT_EQ(dir.Names().size(), 2u);  // a temporary file beside the target
  }
  EXPECT_EQ(ReadFile(dir / "keep.html"), "precious");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.html"});
}

// The page's bytes reach the disk before its name replaces the old page, and the folder's new
// name before the run ends: seen in the system calls stipplor-encode makes.
TEST(OutputFile, AReplacedPageIsOnTheDiskBeforeTheRunEnds) {
  TempDir dir;
  if (::access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace is missing";
  WriteFile(dir / "picture.bmp", test::Encoded(test::Gradient(20, 20), "BMP"));
  WriteFile(dir / "page.html", "old");
  // The sanitizers' leak check traces the program from a thread of its own, which strace's
  // tracing does not allow.
  const test::Finished run = test::RunProgram(
      "/usr/bin/strace", {"-f", "-y", "-e", "trace=fsync,fdatasync,rename,renameat,renameat2", "-o",
                          dir / "calls", "/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0",
                          STIPPLOR_ENCODE_PATH, dir / "picture.bmp", "-o", dir / "page.html"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QList<QByteArray> calls = ReadFile(dir / "calls").split('\n');
  // The first call matching both; -y shows a file descriptor as "3</path>".
  const auto first = [&calls](const char* call, const std::string& path) {
    return std::find_if(calls.begin(), calls.end(), [&](const QByteArray& line) {
      return line.contains(call) && line.contains(QByteArray::fromStdString(path));
    });
  };
  const auto renamed = first("rename", "");
  ASSERT_NE(renamed, calls.end()) << ReadFile(dir / "calls").toStdString();
  EXPECT_LT(first("sync(", "<" + dir / ".page.html."), renamed);
  const auto folderSynced = first("sync(", "<" + dir.Path() + ">)");
  EXPECT_GT(folderSynced, renamed);
  EXPECT_NE(folderSynced, calls.end());
}

}  // namespace
}  // namespace stipplor
