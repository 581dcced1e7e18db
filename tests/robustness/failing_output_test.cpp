// The real stipplor-encode writing where writing fails halfway or at once: a full disk, a file
// size limit, a read-only file system, a folder that is a file. The run ends with exit status 1
// naming the target and the cause; an existing target keeps every byte and no temporary file
// is left beside it.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QByteArray>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::Encoded;
using test::Finished;
using test::Gradient;
using test::ReadFile;
using test::RunEncoder;
using test::RunProgram;
using test::TempDir;
using test::WriteFile;

const std::string kEncoder = STIPPLOR_ENCODE_PATH;
const QByteArray kOldPage = "<HTML>the page of an earlier run</HTML>\r\n";

// A tmpfs of a few pages mounted on a fresh folder: a disk that fills after a few kilobytes.
// Mounting needs the right to mount (root outside a restricted container); without it the
// tests that need one are skipped, saying so.
class SmallDisk {
 public:
  SmallDisk() : path_(folder_ / "disk") {
    ::mkdir(path_.c_str(), 0755);
    mounted_ = ::mount("stipplor-test", path_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  bool MakeReadOnly() const {
    return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  TempDir folder_;
  std::string path_;
  bool mounted_ = false;
};

// A picture whose page (some 600 kB) is far larger than the small disk.
std::string LargePagePicture(const TempDir& dir) {
  std::string path = dir / "picture.bmp";
  WriteFile(path, Encoded(Gradient(200, 200), "BMP"));
  return path;
}

void ExpectRefusedAndKept(const Finished& run, const std::string& target,
                          const std::string& cause) {
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "stipplor-encode: " + target + ": " + cause + "\n");
  EXPECT_EQ(ReadFile(target), kOldPage);
}

TEST(FailingOutput, AFullDiskKeepsTheTargetAndLeavesNoTemporaryFile) {
  const TempDir dir;
  const SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "this user may not mount a small file system";
  const std::string target = disk / "page.html";
  WriteFile(target, kOldPage);
  for (const bool document : {false, true}) {
    std::vector<std::string> args = {LargePagePicture(dir), "-o", target};
    if (document) args.push_back("--document");
    ExpectRefusedAndKept(RunEncoder(args), target, "No space left on device");
    EXPECT_EQ(test::NamesIn(disk.Path()), std::vector<std::string>{"page.html"});
  }
  // The same run with room to spare replaces the page: the disk, not the run, was at fault.
  const Finished small = RunEncoder({LargePagePicture(dir), "--region", "0,0,40,40", "-o", target});
  EXPECT_EQ(small.exitCode, 0) << small.err;
  EXPECT_NE(ReadFile(target), kOldPage);
  EXPECT_EQ(test::NamesIn(disk.Path()), std::vector<std::string>{"page.html"});
}

TEST(FailingOutput, AFileSizeLimitKeepsTheTargetAndLeavesNoTemporaryFile) {
  const TempDir dir;
  const std::string target = dir / "page.html";
  WriteFile(target, kOldPage);
  const std::string picture = LargePagePicture(dir);
  // No privileges needed; the program is not killed by the limit's signal.
  const Finished run =
      RunProgram("/usr/bin/prlimit", {"--fsize=16384", kEncoder, picture, "-o", target});
  ExpectRefusedAndKept(run, target, "File too large");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"page.html", "picture.bmp"}));
}

TEST(FailingOutput, AReadOnlyFileSystemKeepsTheTarget) {
  const TempDir dir;
  const SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "this user may not mount a small file system";
  WriteFile(disk / "page.html", kOldPage);
  // Read-only for root too, unlike permission bits.
  ASSERT_TRUE(disk.MakeReadOnly());
  const std::string picture = LargePagePicture(dir);
  ExpectRefusedAndKept(RunEncoder({picture, "-o", disk / "page.html"}), disk / "page.html",
                       "Read-only file system");
  const Finished fresh = RunEncoder({picture, "-o", disk / "new.html"});
  EXPECT_EQ(fresh.exitCode, 1);
  EXPECT_EQ(fresh.err, "stipplor-encode: " + disk / "new.html" + ": Read-only file system\n");
  EXPECT_EQ(test::NamesIn(disk.Path()), std::vector<std::string>{"page.html"});
}

TEST(FailingOutput, AFolderThatIsAFileKeepsTheFile) {
  const TempDir dir;
  const std::string picture = LargePagePicture(dir);
  WriteFile(dir / "page.html", kOldPage);
  const std::string target = dir / "page.html/inner.html";
  const Finished run = RunEncoder({picture, "-o", target});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "stipplor-encode: " + target + ": Not a directory\n");
  EXPECT_EQ(ReadFile(dir / "page.html"), kOldPage);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"page.html", "picture.bmp"}));
}

}  // namespace
}  // namespace stipplor
