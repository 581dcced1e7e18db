#include "output/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
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

// A regular file is replaced only when the output is committed, through a symbolic link too
// (the temporary file beside the file it names, a link to nowhere making that file), keeping
// its owner and permissions (a new one gets the usual); a device is written in place.
TEST(OutputFile, ReplacesARegularFileWhenCommittedAndWritesADeviceInPlace) {
  TempDir dir;
  ::mkdir((dir / "other").c_str(), 0755);
  WriteFile(dir / "real.html", "old");
  WriteFile(dir / "other/far.html", "old");
  ::chmod((dir / "real.html").c_str(), 0604);
  ::chown((dir / "real.html").c_str(), 65534, 65534);  // another user's, when run as root
  const struct stat owner = StatusOf(dir / "real.html");
  ASSERT_EQ(::symlink("real.html", (dir / "link.html").c_str()), 0);
  ASSERT_EQ(::symlink("other/far.html", (dir / "far.html").c_str()), 0);
  ASSERT_EQ(::symlink("other/made.html", (dir / "dangling.html").c_str()), 0);
  std::string big;  // in pieces smaller and larger than the buffer
  for (int i = 0; i < 2200000; ++i) big.push_back(static_cast<char>('a' + i * 7 % 26));
  for (const std::string name : {"real.html", "never.html", "far.html"}) {
    OutputFile output(dir / name);
    output.Write(big);
    const bool far = name == "far.html";
    EXPECT_EQ(dir.Names().size(), far ? 5u : 6u) << name;  // a temporary file beside the target
    EXPECT_EQ(test::NamesIn(dir / "other").size(), far ? 2u : 1u) << name;
  }
  EXPECT_EQ(ReadFile(dir / "real.html"), "old");
  const ino_t devNull = StatusOf("/dev/null").st_ino;
  const mode_t mask = ::umask(022);
  for (const std::string& path : {dir / "new.html", dir / "link.html", dir / "far.html",
                                  dir / "dangling.html", std::string("/dev/null")}) {
    OutputFile output(path);
    output.Write(big.substr(0, 700000));
    output.Write(big.substr(700000));
    output.Write("tail");
    output.Commit();
  }
  ::umask(mask);
  for (const char* name : {"new.html", "real.html", "other/far.html", "other/made.html"}) {
    EXPECT_EQ(ReadFile(dir / name), QByteArray::fromStdString(big + "tail")) << name;
  }
  EXPECT_EQ(StatusOf(dir / "new.html").st_mode, S_IFREG | 0644u);
  EXPECT_EQ(StatusOf(dir / "real.html").st_mode, S_IFREG | 0604u);
  EXPECT_EQ(StatusOf(dir / "real.html").st_uid, owner.st_uid);
  EXPECT_EQ(StatusOf(dir / "real.html").st_gid, owner.st_gid);
  EXPECT_TRUE(S_ISLNK(StatusOf(dir / "dangling.html").st_mode));
  EXPECT_EQ(StatusOf("/dev/null").st_ino, devNull);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"dangling.html", "far.html", "link.html",
                                                   "new.html", "other", "real.html"}));
}

// A relative path in a folder deeper than PATH_MAX, with a name of 255 bytes, is written and
// then replaced; so is a page in a folder this user may write to but not read.
TEST(OutputFile, WritesAndReplacesWhereverAFileCanBeMade) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  ::mkdir((dir / "drop").c_str(), 0333), ::chmod((dir / "drop").c_str(), 0333);
  ::chown((dir / "drop").c_str(), 65534, 65534);
  const std::string name = std::string(NAME_MAX - 5, 'p') + ".html";
  const std::string folder(NAME_MAX, 'f');
  const int depth = PATH_MAX / NAME_MAX + 1;
  char start[PATH_MAX];
  ASSERT_NE(::getcwd(start, sizeof start), nullptr);
  ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
  for (int i = 0; i < depth; ++i) ::mkdir(folder.c_str(), 0755), ::chdir(folder.c_str());
  const auto writeTwice = [](const std::string& path) {
    for (int i = 0; i < 2; ++i) {
      OutputFile output(path);
      output.Write(path);
      EXPECT_NO_THROW(output.Commit()) << path;
    }
  };
  writeTwice(name);
  {
    const test::WithoutRootPrivileges asUser;
    writeTwice(dir / "drop/page.html");
  }
  EXPECT_EQ(ReadFile(name).toStdString(), name);
  ::unlink(name.c_str());
  for (int i = 0; i < depth; ++i) ::chdir(".."), ::rmdir(folder.c_str());
  ASSERT_EQ(::chdir(start), 0);
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

// Faults injected into stipplor-encode's system calls: a folder that cannot be flushed (EINVAL)
// still takes the page; a signal while a page is written leaves the old one and no temporary
// file, and ends the run as the signal does; threads slowed inside umask() never leave a page
// open to everyone.
TEST(OutputFile, FaultsInTheSystemCallsLeaveSoundFiles) {
  TempDir dir;
  const std::string page = dir / "page.html";
  WriteFile(dir / "picture.bmp", test::Encoded(test::Gradient(20, 20), "BMP"));
  WriteFile(page, "old");
  const auto run = [&](const std::string& inject, const std::vector<std::string>& args) {
    const std::string call = inject.substr(0, inject.find(':'));  // faults need it traced
    return test::RunEncoderTraced(call, dir / "calls", args, inject).exitCode;
  };
  EXPECT_EQ(run("fsync:signal=SIGTERM:when=1", {dir / "picture.bmp", "-o", page}), -1);
  EXPECT_EQ(ReadFile(page), "old");
  EXPECT_EQ(run("fsync:error=EINVAL:when=2", {dir / "picture.bmp", "-o", page}), 0);
  EXPECT_NE(ReadFile(page), "old");
  std::vector<std::string> batch = {"-d", dir / "pages"};
  ::mkdir(batch.back().c_str(), 0755);
  for (int i = 0; i < 20; ++i) {
    batch.push_back(dir / (std::to_string(i) + ".bmp"));
    ::symlink("picture.bmp", batch.back().c_str());
  }
  const mode_t mask = ::umask(022);
  EXPECT_EQ(run("umask:delay_exit=20000", batch), 0);
  ::umask(mask);
  for (const std::string& name : test::NamesIn(dir / "pages")) {
    EXPECT_EQ(StatusOf(dir / ("pages/" + name)).st_mode, S_IFREG | 0644u) << name;
  }
  EXPECT_EQ(test::NamesIn(dir / "pages").size(), 20u);
  EXPECT_EQ(dir.Names().size(), 24u);  // no temporary file left
}

}  // namespace
}  // namespace stipplor
