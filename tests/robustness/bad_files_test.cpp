// The real stipplor-encode against files that are not pictures, not whole, not files at all, or
// cannot be written: every such run ends with exit status 1 and one line naming the file and
// the cause, and an existing target keeps every byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdint>
#include <string>
#include <utility>
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

// Causes the loader gives for a file that is not a whole picture.
bool IsDamageCause(const std::string& cause) {
  return cause == "not a picture file (unsupported or damaged)" ||
         cause.starts_with("damaged picture file (");
}

// The cause in "stipplor-encode: SUBJECT: CAUSE\n", or "" when the message is not that one
// line about that subject.
std::string CauseFor(const Finished& run, const std::string& subject) {
  const std::string start = "stipplor-encode: " + subject + ": ";
  if (!run.err.starts_with(start) || !run.err.ends_with('\n')) return "";
  const std::string cause = run.err.substr(start.size(), run.err.size() - start.size() - 1);
  return cause.find('\n') == std::string::npos ? cause : "";
}

// Small pictures of the three formats the desktop program's open dialog offers.
struct SamplePicture {
  const char* name;
  QByteArray bytes;
};
std::vector<SamplePicture> ThreePictures() {
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  constexpr std::size_t kWidth = 48, kHeight = 32;
  std::vector<std::uint8_t> checker(kWidth * kHeight);  // 4 x 4 squares of the four colours
  for (std::size_t i = 0; i < checker.size(); ++i) {
    checker[i] = static_cast<std::uint8_t>(((i % kWidth) / 4 + i / (4 * kWidth)) % 4);
  }
  return {{"picture.bmp", Encoded(Gradient(48, 32), "BMP")},
          {"picture.gif",
           test::GifFile(48, 32, {black, white, qRgb(200, 0, 0), qRgb(0, 0, 200)}, {checker})},
          {"picture.jpg", Encoded(Gradient(48, 32), "JPEG", 90)}};
}

// A folder whose name has spaces and characters beyond ASCII, readable by anyone, in a fresh
// temporary folder.
class Folder {
 public:
  Folder() {
    ::chmod(temp_.Path().c_str(), 0755);
    ::mkdir(path_.c_str(), 0755);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  TempDir temp_;
  std::string path_ = temp_.Path() + "/Bilder – été 写真";
};

TEST(BadFiles, EveryTenthOfAPictureIsRefusedAndTheTargetKept) {
  const Folder dir;
  const std::string target = dir / "page.html";
  for (const SamplePicture& picture : ThreePictures()) {
    for (int tenth = 1; tenth <= 10; ++tenth) {
      const std::string path = dir / (std::to_string(tenth) + " tenths of " + picture.name);
      WriteFile(path, picture.bytes.left(picture.bytes.size() * tenth / 10));
      WriteFile(target, kOldPage);
      const Finished run = RunEncoder({path, "-o", target});
      SCOPED_TRACE(path);
      if (tenth == 10) {  // the whole file encodes: the refusals are not the program's habit
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(ReadFile(target), kOldPage);
        continue;
      }
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_TRUE(IsDamageCause(CauseFor(run, path))) << run.err;
      EXPECT_EQ(ReadFile(target), kOldPage);
    }
  }
  EXPECT_EQ(test::NamesIn(dir.Path()).size(), 31u) << "a temporary file was left behind";
}

TEST(BadFiles, AFileAReaderAcceptsWithoutAPictureIsRefused) {
  // Found by fuzzing: Qt's MNG reader reports success for these 20 bytes and hands over an
  // empty picture, which used to give an empty page and exit status 0.
  const Folder dir;
  const std::string path = dir / "nothing.mng";
  WriteFile(path, ReadFile(STIPPLOR_SOURCE_DIR
                           "/fuzz/corpus/load_picture/mng_without_a_picture_loaded_as_0x0.mng"));
  WriteFile(dir / "page.html", kOldPage);
  const Finished run = RunEncoder({path, "-o", dir / "page.html"});
  EXPECT_EQ(run.exitCode, 1);
  // The MNG library's own notes on standard error are silenced: the program's line is all.
  EXPECT_EQ(CauseFor(run, path), "damaged picture file (no picture in it)") << run.err;
  EXPECT_EQ(ReadFile(dir / "page.html"), kOldPage);
}

TEST(BadFiles, TheContentDecidesNotTheExtension) {
  const Folder dir;
  for (const SamplePicture& picture : ThreePictures()) {
    WriteFile(dir / picture.name, picture.bytes);
    const std::string expected = RunEncoder({dir / picture.name}).out;
    ASSERT_FALSE(expected.empty());
    for (const char* name : {"named.jpg", "named.gif", "named.bmp", "named.html", "no extension"}) {
      WriteFile(dir / name, picture.bytes);
      const Finished run = RunEncoder({dir / name});
      EXPECT_EQ(run.exitCode, 0) << picture.name << " as " << name << ": " << run.err;
      EXPECT_EQ(run.out, expected) << picture.name << " as " << name;
    }
  }
}

TEST(BadFiles, AFifoOrSocketIsRefusedWithoutWaiting) {
  const Folder dir;
  const std::string fifo = dir / "fifo.jpg";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string socketPath = dir / "socket.jpg";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  for (const std::string& path : {fifo, socketPath}) {
    // Nobody ever writes to the FIFO: a program that opened it would wait until killed.
    const Finished run = RunProgram("/usr/bin/timeout", {"20", kEncoder, path});
    EXPECT_EQ(run.exitCode, 1) << path;
    EXPECT_EQ(CauseFor(run, path), "not a regular file (a device, FIFO or socket)") << run.err;
  }
  ::close(fd);
}

TEST(BadFiles, AFileTheUserMayNotReadIsRefused) {
  const Folder dir;
  const std::string path = dir / "locked picture.bmp";
  WriteFile(path, Encoded(Gradient(8, 8), "BMP"));
  ::chmod(path.c_str(), 0200);
  // Root reads every file: as root the program runs as nobody, for whom the permission bits
  // count (wholly nobody, not only in effect, so that the sanitizers can still look at it).
  const bool root = ::geteuid() == 0;
  if (!root && ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0) {
    GTEST_SKIP() << "this user reads files without permission";
  }
  const Finished run =
      root ? RunProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                             test::EncoderCopyIn(dir.Path()), path})
           : RunEncoder({path});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(CauseFor(run, path), "permission denied") << run.err;
}

TEST(BadFiles, NamesWithSpacesAndNonAsciiCharactersInAndOut) {
  const Folder dir;
  const QByteArray jpeg = Encoded(Gradient(40, 30), "JPEG", 90);
  WriteFile(dir / "plain.jpg", jpeg);
  const std::string input = dir / "Ärger im  Café « 写真 ».jpg";
  const std::string output = dir / "Seite für ünd – 页面 .html";
  WriteFile(input, jpeg);
  const Finished run = RunEncoder({input, "-o", output});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(output).toStdString(), RunEncoder({dir / "plain.jpg"}).out);
  // A missing file is named exactly as given, byte for byte.
  const std::string missing = dir / "fehlt – 缺失 .gif";
  const Finished refused = RunEncoder({missing, "-o", output});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(CauseFor(refused, missing), "no such file") << refused.err;
  // A name that is no UTF-8 (Latin-1) opens as the bytes it is, names its page in those bytes,
  // and is written readably, its other bytes as \xHH.
  WriteFile(dir / "caf\xE9.jpg", jpeg);
  EXPECT_EQ(RunEncoder({dir / "caf\xE9.jpg", "-o", dir / "s\xE9.html"}).exitCode, 0);
  EXPECT_EQ(ReadFile(dir / "s\xE9.html"), ReadFile(output));
  EXPECT_EQ(RunEncoder({dir / "caf\xE9.jpg", "-d", dir.Path()}).exitCode, 0);
  EXPECT_EQ(ReadFile(dir / "caf\xE9.html"), ReadFile(output));
  const Finished latin1 = RunEncoder({dir / "f\xE9hlt.gif"});
  EXPECT_EQ(CauseFor(latin1, dir / "f\\xE9hlt.gif"), "no such file") << latin1.err;
}

// The small picture's file with its header changed to claim width x height pixels.
QByteArray Claiming(const SamplePicture& picture, int width, int height) {
  QByteArray bytes = picture.bytes;
  const auto put = [&bytes](qsizetype at, int value, bool bigEndian) {
    bytes[at + (bigEndian ? 1 : 0)] = static_cast<char>(value & 0xFF);
    bytes[at + (bigEndian ? 0 : 1)] = static_cast<char>(value >> 8);
  };
  const std::string name = picture.name;
  if (name.ends_with(".bmp")) {  // 32-bit fields; sizes below 65536 fit the low half
    put(18, width, false);
    put(22, height, false);
  } else if (name.ends_with(".gif")) {  // the logical screen, on which the frames are drawn
    put(6, width, false);
    put(8, height, false);
  } else {  // the baseline frame header
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    put(frame + 5, height, true);
    put(frame + 7, width, true);
  }
  return bytes;
}

TEST(BadFiles, HugePicturesAreRefusedFromTheirHeaderNamingTheSize) {
  const Folder dir;
  // Where no sanitizer reserves address space of its own, the program gets far less than the
  // pictures would take (60000 x 60000 pixels are 13.4 GiB): allocating them would fail it.
#if defined(__SANITIZE_ADDRESS__)
  const std::vector<std::string> limit;
#else
  const std::vector<std::string> limit = {"/usr/bin/prlimit", "--as=536870912"};
#endif
  for (const SamplePicture& picture : ThreePictures()) {
    for (const auto& [width, height] : {std::pair{60000, 60000}, std::pair{16385, 16384}}) {
      const std::string path = dir / ("claims " + std::to_string(width) + " " + picture.name);
      WriteFile(path, Claiming(picture, width, height));
      std::vector<std::string> command = limit;
      command.insert(command.end(), {kEncoder, path});
      const Finished run =
          RunProgram(command.front(), std::vector<std::string>(command.begin() + 1, command.end()));
      EXPECT_EQ(run.exitCode, 1) << path;
      EXPECT_EQ(CauseFor(run, path), "picture is " + std::to_string(width) + " x " +
                                         std::to_string(height) +
                                         " pixels, larger than the 1 GiB limit")
          << run.err;
    }
  }
}

}  // namespace
}  // namespace stipplor
