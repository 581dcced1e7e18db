#include "output/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

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

// A regular file is replaced only when the output is committed, through a symbolic link too,
// keeping its permissions (a new one gets the usual); a device is written in place.
TEST(OutputFile, ReplacesARegularFileWhenCommittedAndWritesADeviceInPlace) {
  TempDir dir;
  WriteFile(dir / "real.html", "old");
  ::chmod((dir / "real.html").c_str(), 0604);
  ASSERT_EQ(::symlink("real.html", (dir / "link.html").c_str()), 0);
  std::string big;  // in pieces smaller and larger than the buffer
  for (int i = 0; i < 2200000; ++i) big.push_back(static_cast<char>('a' + i * 7 % 26));
  for (const std::string name : {"real.html", "never.html"}) {
    OutputFile output(dir / name);
    output.Write(big);
    EXPECT_EQ(dir.Names().size(), 3u);  // with a temporary file beside the target
  }
  EXPECT_EQ(ReadFile(dir / "real.html"), "old");
  const ino_t devNull = StatusOf("/dev/null").st_ino;
  const mode_t mask = ::umask(022);
  for (const std::string& path : {dir / "new.html", dir / "link.html", std::string("/dev/null")}) {
    OutputFile output(path);
    output.Write(big.substr(0, 700000));
    output.Write(big.substr(700000));
    output.Write("tail");
    output.Commit();
  }
  ::umask(mask);
  EXPECT_EQ(ReadFile(dir / "new.html"), QByteArray::fromStdString(big + "tail"));
  EXPECT_EQ(ReadFile(dir / "real.html"), QByteArray::fromStdString(big + "tail"));
  EXPECT_EQ(StatusOf(dir / "new.html").st_mode, S_IFREG | 0644u);
  EXPECT_EQ(StatusOf(dir / "real.html").st_mode, S_IFREG | 0604u);
  EXPECT_TRUE(S_ISLNK(StatusOf(dir / "link.html").st_mode));
  EXPECT_EQ(StatusOf("/dev/null").st_ino, devNull);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link.html", "new.html", "real.html"}));
}

// The page's bytes reach the disk before its name replaces the old page, and the folder's new
// name before the run ends: seen in the system calls stipplor-encode makes.
TEST(OutputFile, AReplacedPageIsOnTheDiskBeforeTheRunEnds) {
  TempDir dir;
  WriteFile(dir / "picture.bmp", test::Encoded(test::Gradient(20, 20), "BMP"));
  WriteFile(dir / "page.html", "old");
  const test::Finished run =
      test::RunEncoderTraced("fsync,fdatasync,rename,renameat,renameat2", dir / "calls",
                             {dir / "picture.bmp", "-o", dir / "page.html"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string calls = ReadFile(dir / "calls").toStdString();
  const std::size_t renamed = calls.find("rename");
  ASSERT_NE(renamed, std::string::npos) << calls;
  // -y shows a file descriptor as "3</path>".
  EXPECT_LT(calls.find("<" + dir / ".page.html."), renamed);
  EXPECT_LT(renamed, calls.find("<" + dir.Path() + ">)"));
  EXPECT_NE(calls.find("<" + dir.Path() + ">)"), std::string::npos);
}

}  // namespace
}  // namespace stipplor
