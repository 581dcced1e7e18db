#include "output/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <tuple>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using namespace test;

// A regular file is replaced only when the output is committed, keeping its owner and
// permissions (a new one gets the usual); through a symbolic link too, the temporary file beside
// the file the link names, which a link to nowhere creates. A device is written in place.
TEST(OutputFile, ReplacesARegularFileWhenCommittedAndWritesADeviceInPlace) {
  TempDir dir;
  WriteFile(dir / "real.html", "old");
  ::chmod((dir / "real.html").c_str(), 0604);
  ::chown((dir / "real.html").c_str(), 65534, 65534);  // another user's, when run as root
  const struct stat owner = StatusOf(dir / "real.html");
  ASSERT_EQ(::symlink("real.html", (dir / "link.html").c_str()), 0);
  ASSERT_EQ(::symlink("other/far.html", (dir / "far.html").c_str()), 0);
  ::mkdir((dir / "other").c_str(), 0755);
  std::string big;  // in pieces smaller and larger than the buffer
  for (int i = 0; i < 2200000; ++i) big.push_back(static_cast<char>('a' + i * 7 % 26));
  for (const std::string name : {"real.html", "never.html", "far.html"}) {
    OutputFile output(dir / name);
    output.Write(big);
    const bool far = name == "far.html";
    EXPECT_EQ(dir.Names().size(), far ? 4u : 5u) << name;  // a temporary file beside the target
    EXPECT_EQ(NamesIn(dir / "other").size(), far ? 1u : 0u) << name;
  }
  EXPECT_EQ(ReadFile(dir / "real.html"), "old");
  const ino_t devNull = StatusOf("/dev/null").st_ino;
  const mode_t mask = ::umask(022);
  for (const std::string& path :
       {dir / "new.html", dir / "link.html", dir / "far.html", std::string("/dev/null")}) {
    OutputFile output(path);
    output.Write(big.substr(0, 700000));
    output.Write(big.substr(700000));
    output.Write("tail");
    output.Commit();
  }
  ::umask(mask);
  for (const char* name : {"new.html", "real.html", "other/far.html"}) {
    EXPECT_EQ(ReadFile(dir / name), QByteArray::fromStdString(big + "tail")) << name;
  }
  const struct stat replaced = StatusOf(dir / "real.html");
  EXPECT_EQ(StatusOf(dir / "new.html").st_mode, S_IFREG | 0644u);
  EXPECT_EQ(std::tuple(replaced.st_mode, replaced.st_uid, replaced.st_gid),
            std::tuple(S_IFREG | 0604u, owner.st_uid, owner.st_gid));
  EXPECT_EQ(StatusOf("/dev/null").st_ino, devNull);
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"far.html", "link.html", "new.html", "other", "real.html"}));
}

// A file of a 255-byte name, given by a path relative to a folder deeper than PATH_MAX, is
// written and then replaced.
TEST(OutputFile, ReplacesAFileOfALongNameDeeperThanPathMax) {
  TempDir dir;
  const std::string name = std::string(NAME_MAX - 5, 'p') + ".html", folder(NAME_MAX, 'f');
  const int start = ::open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
  for (int i = 0; i <= PATH_MAX / NAME_MAX; ++i)
    ::mkdir(folder.c_str(), 0755), ::chdir(folder.c_str());
  for (const char* text : {"new", "replaced"}) {
    OutputFile output(name);
    output.Write(text);
    output.Commit();
  }
  EXPECT_EQ(ReadFile(name), "replaced");
  ::fchdir(start), ::close(start);
}

// A signal while a page is written leaves the old one and no temporary file, and ends the run
// as it would. The page's bytes reach the disk before its name replaces the old page, and the
// folder's new name before the run ends: seen in the system calls stipplor-encode makes. Threads
// slowed inside umask() never leave a page open to everyone.
TEST(OutputFile, APageIsSoundThroughSignalsAndThreadsAndOnTheDiskBeforeTheRunEnds) {
  TempDir dir;
  WriteFile(dir / "picture.bmp", Encoded(Gradient(20, 20), "BMP"));
  WriteFile(dir / "page.html", "old");
  std::vector<std::string> args = {dir / "picture.bmp", "-o", dir / "page.html"};
  EXPECT_EQ(RunEncoderTraced("fsync", dir / "calls", args, "fsync:signal=SIGTERM").exitCode, -1);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"calls", "page.html", "picture.bmp"}));
  EXPECT_EQ(ReadFile(dir / "page.html"), "old");
  const Finished run =
      RunEncoderTraced("fsync,fdatasync,rename,renameat,renameat2", dir / "calls", args,
                       "fsync:error=EINVAL:when=2");  // the folder's, which is no failure
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string calls = ReadFile(dir / "calls").toStdString();
  const std::size_t renamed = calls.find("rename");
  ASSERT_NE(renamed, std::string::npos) << calls;
  // -y shows a file descriptor as "3</path>".
  EXPECT_LT(calls.find("<" + dir / ".page.html."), renamed);
  EXPECT_LT(renamed, calls.find("<" + dir.Path() + ">)"));
  EXPECT_NE(calls.find("<" + dir.Path() + ">)"), std::string::npos);
  args = {"-d", dir.Path()};
  for (int i = 0; i < 20; ++i) {
    args.push_back(dir / (std::to_string(i) + ".bmp"));
    ::symlink("picture.bmp", args.back().c_str());
  }
  const mode_t mask = ::umask(022);
  EXPECT_EQ(RunEncoderTraced("umask", dir / "calls", args, "umask:delay_exit=20000").exitCode, 0);
  ::umask(mask);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(StatusOf(dir / (std::to_string(i) + ".html")).st_mode, S_IFREG | 0644u);
}

}  // namespace
}  // namespace stipplor
