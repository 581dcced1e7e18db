// Runs the real stipplor-encode on real files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "picture_io/load_picture.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::Encoded;
using test::Finished;
using test::Gradient;
using test::ReadFile;
using test::RunEncoder;
using test::TempDir;
using test::WriteFile;

const std::string kSample = STIPPLOR_SOURCE_DIR "/samples/astronaut.jpg";
// For runs under strace or without threads: the sanitizers' leak check at exit traces the
// program from a thread of its own, which neither allows.
const std::string kNoLeakCheck = "ASAN_OPTIONS=detect_leaks=0";

EncodeOptions With(void (*change)(EncodeOptions&)) {
  EncodeOptions options;
  change(options);
  return options;
}

// The document of a run as the desktop program keeps it.
HtmlDocument Document(const std::string& picturePath, const std::optional<Region>& selection,
                      const EncodeOptions& options) {
  HtmlDocument document;
  Encode(LoadPicture(QString::fromStdString(picturePath)), selection, options, document);
  return document;
}

// What the desktop program's "Save As" writes after that run.
std::string DesktopSavedFile(const std::string& picturePath, const std::optional<Region>& selection,
                             const EncodeOptions& options) {
  return SavedFileForm(Document(picturePath, selection, options).BodyMarkup());
}

TEST(EncoderProgram, CaptionFollowsTheOptions) {
  struct Case {
    std::vector<std::string> args;
    EncodeOptions options;
  };
  const Case cases[] = {
      {{}, EncodeOptions{}},
      {{"--size", "1:2"}, With([](EncodeOptions& o) { o.Ratio = 1; })},
      {{"--size", "3:2", "--quality", "low"},
       With([](EncodeOptions& o) { o.Ratio = 3, o.HighQuality = 0; })},
      {{"--size=2:1", "--no-minimize"},
       With([](EncodeOptions& o) { o.Ratio = 4, o.MinimizeSize = 0; })},
      {{"--bw"}, With([](EncodeOptions& o) { o.BW = -1; })},
      {{"--bw", "--style", "plain", "--colorized"},
       With([](EncodeOptions& o) { o.BW = -1, o.BWEncoding = 0, o.Colorized = -1; })},
      {{"--bw", "--style", "pattern", "--no-minimize"},
       With([](EncodeOptions& o) { o.BW = -1, o.BWEncoding = 1, o.MinimizeSize = 0; })},
      {{"--bw", "--style", "fractal", "--size", "1:2"},
       With([](EncodeOptions& o) { o.BW = -1, o.BWEncoding = 3, o.Ratio = 1; })},
      {{"--bw", "--colored", "--style", "fractal"},
       With([](EncodeOptions& o) { o.BWEncoding = 3; })},
      {{"--bw", "--pixel-font"}, With([](EncodeOptions& o) { o.BW = -1, o.PixelFont = true; })},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--caption");
    const Finished run = RunEncoder(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Caption(c.options) + "\n");
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(RunEncoder({"--caption"}).out, "1:1  Colored  High-Quality  Size-Minimized\n");
  EXPECT_EQ(RunEncoder({"--bw", "--caption"}).out, "1:1  B&W  Dotted  Grey\n");
  EXPECT_EQ(RunEncoder({"--width=800", "--caption"}).out,
            "1:1  Colored  High-Quality  Size-Minimized  Width-800\n");
}

TEST(EncoderProgram, ExitCodesAndMessages) {
  TempDir dir;
  WriteFile(dir / "empty.jpg", {});
  WriteFile(dir / "text.jpg", "not a picture\n");
  const QByteArray jpeg = Encoded(Gradient(60, 40), "JPEG");
  WriteFile(dir / "cut.jpg", jpeg.left(jpeg.size() / 2));
  WriteFile(dir / "wide.bmp", Encoded(Gradient(16384, 1), "BMP"));
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string message;  // the first line of standard error
  };
  const Case cases[] = {
      {{}, 2, "stipplor-encode: no input picture given"},
      {{kSample, "--fast"}, 2, "stipplor-encode: unknown option '--fast'"},
      {{kSample, "--region", "1,2,3"},
       2,
       "stipplor-encode: --region wants four integers LEFT,TOP,WIDTH,HEIGHT, not '1,2,3'"},
      {{kSample, "--width", "1"},
       2,
       "stipplor-encode: --width wants a number of pixels from 2 up, not '1'"},
      {{kSample, "--size", "4:1"},
       2,
       "stipplor-encode: --size wants one of 1:2|1:1|3:2|2:1, not '4:1'"},
      {{dir / "missing.jpg"}, 1, "stipplor-encode: " + dir / "missing.jpg" + ": no such file"},
      {{dir / "empty.jpg"}, 1, "stipplor-encode: " + dir / "empty.jpg" + ": empty file"},
      {{dir / "text.jpg"},
       1,
       "stipplor-encode: " + dir / "text.jpg" + ": not a picture file (unsupported or damaged)"},
      {{dir / "cut.jpg"},
       1,
       "stipplor-encode: " + dir / "cut.jpg" + ": damaged picture file (truncated)"},
      {{dir.Path()}, 1, "stipplor-encode: " + dir.Path() + ": is a directory"},
      {{"/dev/zero"},
       1,
       "stipplor-encode: /dev/zero: not a regular file (a device, FIFO or socket)"},
      {{dir / "wide.bmp", "--size", "1:2"},
       1,
       "stipplor-encode: " + dir / "wide.bmp" + ": Overflow"},
      {{kSample, "-o", "/dev/full"}, 1, "stipplor-encode: /dev/full: No space left on device"},
      {{kSample, "-o", dir / "no/such/folder.html"},
       1,
       "stipplor-encode: " + dir / "no/such/folder.html" + ": No such file or directory"},
      {{kSample, "-o", dir.Path()}, 1, "stipplor-encode: " + dir.Path() + ": Is a directory"},
  };
  for (const Case& c : cases) {
    const Finished run = RunEncoder(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.message);
    if (c.exitCode == 2) {
      EXPECT_NE(run.err.find("--help"), std::string::npos);
    } else {
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
  }
}

TEST(EncoderProgram, AWidthNoNarrowerThanThePageLeavesItAsItIs) {
  // 512 pixels at 1:1 are 256 cells: a page 512 wide.
  EXPECT_EQ(RunEncoder({kSample, "--width", "512"}).out, RunEncoder({kSample}).out);
}

TEST(EncoderProgram, StandardInputGivesTheBytesOfTheFileAndATerminalIsRefused) {
  const Finished piped = RunEncoder({"--width", "300", "-"}, "", kSample);
  EXPECT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(piped.out, RunEncoder({"--width", "300", kSample}).out);

  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  const Finished typed = RunEncoder({"-"}, "", ::ptsname(terminal));
  ::close(terminal);
  EXPECT_EQ(typed.exitCode, 2);
  EXPECT_EQ(typed.err.substr(0, typed.err.find('\n')),
            "stipplor-encode: standard input is a terminal; pipe a picture into '-' or name a "
            "file");
}

TEST(EncoderProgram, HelpGoesToStandardOutput) {
  const Finished run = RunEncoder({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.starts_with("Usage: stipplor-encode [options] INPUT [-o OUTPUT]\n"));
  EXPECT_EQ(run.err, "");
}

TEST(EncoderProgram, DefaultOutputIsTheDesktopProgramsSavedFile) {
  TempDir dir;
  const Finished run = RunEncoder({kSample, "-o", dir / "astronaut.html"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string expected = DesktopSavedFile(kSample, std::nullopt, EncodeOptions{});
  EXPECT_EQ(ReadFile(dir / "astronaut.html").toStdString(), expected);
  // Without -o the same bytes go to standard output.
  EXPECT_EQ(RunEncoder({kSample}).out, expected);
}

TEST(EncoderProgram, DocumentIsTheRunsLinesAndTheSavedFormIsMadeFromItsBody) {
  const std::vector<std::vector<std::string>> optionSets = {
      {},
      {"--bw"},
      {"--bw", "--style", "fractal", "--colorized", "--size", "1:2"},
      {"--quality", "low", "--size", "2:1"}};
  for (const auto& options : optionSets) {
    std::vector<std::string> args = options;
    args.push_back(kSample);
    const std::string saved = RunEncoder(args).out;
    args.push_back("--document");
    const Finished document = RunEncoder(args);
    ASSERT_EQ(document.exitCode, 0) << document.err;
    ASSERT_TRUE(document.out.ends_with("</BODY></HTML>\r\n"));

    HtmlDocument kept;
    kept.Begin();
    for (std::size_t at = 0; at < document.out.size();) {
      const std::size_t end = document.out.find("\r\n", at);
      kept.AppendLine(std::string_view(document.out).substr(at, end - at));
      at = end + 2;
    }
    kept.End();
    EXPECT_EQ(kept.Text(), document.out);
    EXPECT_EQ(saved, SavedFileForm(kept.BodyMarkup()));
    EXPECT_TRUE(document.out.starts_with("<HTML><HEAD></HEAD><BODY><DIV ALIGN=CENTER>\r\n"));
    EXPECT_TRUE(saved.starts_with("<HTML><HEAD></HEAD><BODY>\r\n<DIV ALIGN=CENTER>\r\n"));
  }
}

TEST(EncoderProgram, RegionIsEncodedAsTheSameSelectionWould) {
  TempDir dir;
  const std::string picture = dir / "gradient.bmp";
  WriteFile(picture, Encoded(Gradient(50, 40), "BMP"));
  struct Case {
    std::vector<std::string> args;
    EncodeOptions options;
    Region region;
  };
  const Case cases[] = {
      {{"--bw"}, With([](EncodeOptions& o) { o.BW = -1; }), {3, 5, 21, 17}},
      {{"--bw", "--style", "fractal", "--size", "1:2"},
       With([](EncodeOptions& o) { o.BW = -1, o.BWEncoding = 3, o.Ratio = 1; }),
       {7, 1, 9, 9}},
      {{}, EncodeOptions{}, {10, 0, 31, 40}},
      {{"--quality", "low"}, With([](EncodeOptions& o) { o.HighQuality = 0; }), {-6, -4, 70, 12}},
      {{"--bw", "--colorized"},
       With([](EncodeOptions& o) { o.BW = -1, o.Colorized = -1; }),
       {40, 30, 20, 20}},
  };
  for (const Case& c : cases) {
    const Region& r = c.region;
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {picture, "--region",
                             std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                                 std::to_string(r.Width) + "," + std::to_string(r.Height)});
    const Finished run = RunEncoder(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, DesktopSavedFile(picture, c.region, c.options)) << Caption(c.options);
    EXPECT_NE(run.out, DesktopSavedFile(picture, std::nullopt, c.options));
  }
}

TEST(EncoderProgram, ColoredRegionInsideThePictureEqualsTheCroppedPicture) {
  TempDir dir;
  const QImage image = Gradient(50, 40);
  WriteFile(dir / "whole.bmp", Encoded(image, "BMP"));
  WriteFile(dir / "crop.bmp", Encoded(image.copy(11, 6, 24, 30), "BMP"));
  for (const std::string quality : {"high", "low"}) {
    const Finished region =
        RunEncoder({dir / "whole.bmp", "--quality", quality, "--region", "11,6,24,30"});
    const Finished crop = RunEncoder({dir / "crop.bmp", "--quality", quality});
    ASSERT_EQ(region.exitCode, 0);
    EXPECT_EQ(region.out, crop.out) << quality;
  }
}

TEST(EncoderProgram, AFailedRunLeavesTheTargetByteIdentical) {
  TempDir dir;
  WriteFile(dir / "wide.bmp", Encoded(Gradient(16384, 1), "BMP"));
  WriteFile(dir / "edge.bmp", Encoded(Gradient(16383, 1), "BMP"));
  const QByteArray old = "<HTML>the page of an earlier run</HTML>\r\n";
  WriteFile(dir / "page.html", old);
  for (const bool document : {false, true}) {
    std::vector<std::string> args = {dir / "wide.bmp", "--size", "1:2", "-o", dir / "page.html"};
    if (document) args.push_back("--document");
    const Finished run = RunEncoder(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stipplor-encode: " + dir / "wide.bmp" + ": Overflow\n");
    EXPECT_EQ(ReadFile(dir / "page.html"), old);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"edge.bmp", "page.html", "wide.bmp"}));
  }
  // One pixel narrower encodes, and replaces the page.
  const Finished edge = RunEncoder({dir / "edge.bmp", "--size", "1:2", "-o", dir / "page.html"});
  EXPECT_EQ(edge.exitCode, 0) << edge.err;
  EXPECT_NE(ReadFile(dir / "page.html"), old);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"edge.bmp", "page.html", "wide.bmp"}));
}

TEST(EncoderProgram, AFailedLoadLeavesTheTargetUntouched) {
  TempDir dir;
  WriteFile(dir / "text.jpg", "not a picture");
  WriteFile(dir / "page.html", "old");
  EXPECT_EQ(RunEncoder({dir / "text.jpg", "-o", dir / "page.html"}).exitCode, 1);
  EXPECT_EQ(ReadFile(dir / "page.html"), "old");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"page.html", "text.jpg"}));
}

TEST(EncoderProgram, AReadOnlyFolderOrFileIsLeftByteIdentical) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  WriteFile(dir / "picture.bmp", Encoded(Gradient(8, 8), "BMP"));
  ::mkdir((dir / "ro").c_str(), 0755);
  WriteFile(dir / "ro/page.html", "old");
  WriteFile(dir / "locked.html", "locked");
  ::chmod((dir / "ro").c_str(), 0555);
  ::chmod((dir / "locked.html").c_str(), 0444);
  const std::string encoder = test::EncoderCopyIn(dir.Path());
  const test::WithoutRootPrivileges asUser;
  if (::faccessat(AT_FDCWD, (dir / "ro").c_str(), W_OK, AT_EACCESS) == 0) {
    GTEST_SKIP() << "this user writes into read-only folders";
  }
  for (const std::string target : {"ro/page.html", "ro/new.html", "locked.html"}) {
    const Finished run = test::RunProgram(encoder, {dir / "picture.bmp", "-o", dir / target});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stipplor-encode: " + dir / target + ": Permission denied\n");
  }
  EXPECT_EQ(ReadFile(dir / "ro/page.html"), "old");
  EXPECT_EQ(ReadFile(dir / "locked.html"), "locked");
  EXPECT_EQ(test::NamesIn(dir / "ro"), std::vector<std::string>{"page.html"});
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"locked.html", "picture.bmp", "ro", "stipplor-encode"}));
}

// Where the system refuses every new thread (a user at the limit of their processes), one file's
// rows and several files are encoded all the same, by the one thread there is. The limit binds
// no root, so as root the program runs as a user of its own, whom no other process counts for.
TEST(EncoderProgram, WithoutThreadsThePagesAreTheSame) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0777);
  WriteFile(dir / "a.bmp", Encoded(Gradient(120, 90), "BMP"));
  WriteFile(dir / "b.bmp", Encoded(Gradient(90, 120), "BMP"));
  const std::string encoder = test::EncoderCopyIn(dir.Path());
  const auto limited = [&](const std::vector<std::string>& args) {
    std::vector<std::string> command = {"--nproc=1", "/usr/bin/env", kNoLeakCheck, encoder};
    if (::geteuid() == 0) {
      const std::string user = std::to_string(100000 + ::getpid());
      command.insert(command.begin() + 1,
                     {"/usr/bin/setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups"});
    }
    command.insert(command.end(), args.begin(), args.end());
    return test::RunProgram("/usr/bin/prlimit", command);
  };
  const Finished one = limited({dir / "a.bmp"});
  EXPECT_EQ(one.exitCode, 0) << one.err;
  EXPECT_EQ(one.out, RunEncoder({dir / "a.bmp"}).out);
  ::mkdir((dir / "pages").c_str(), 0755);
  ::chmod((dir / "pages").c_str(), 0777);
  const Finished both = limited({dir / "a.bmp", dir / "b.bmp", "-d", dir / "pages"});
  EXPECT_EQ(both.exitCode, 0) << both.err;
  EXPECT_EQ(test::NamesIn(dir / "pages"), (std::vector<std::string>{"a.html", "b.html"}));
}

// The page's bytes reach the disk before its name replaces the old page, and the folder's new
// name before the run ends: seen in the system calls the program makes.
TEST(EncoderProgram, AReplacedPageIsOnTheDiskBeforeTheRunEnds) {
  TempDir dir;
  const std::string target = dir / "page.html";
  WriteFile(target, "old");
  if (::access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace is missing";
  const Finished run = test::RunProgram(
      "/usr/bin/strace",
      {"-f", "-y", "-e", "trace=fsync,fdatasync,rename,renameat,renameat2", "-o", dir / "calls",
       "/usr/bin/env", kNoLeakCheck, STIPPLOR_ENCODE_PATH, kSample, "-o", target});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QList<QByteArray> calls = ReadFile(dir / "calls").split('\n');
  // The first call of `name` on a file descriptor of `path` (-y shows it as "3</path>").
  const auto first = [&calls](const char* name, const std::string& path) {
    return std::find_if(calls.begin(), calls.end(), [&](const QByteArray& call) {
      return call.contains(name) && call.contains(QByteArray::fromStdString("<" + path));
    });
  };
  const auto renamed = std::find_if(calls.begin(), calls.end(),
                                    [](const QByteArray& call) { return call.contains("rename"); });
  ASSERT_NE(renamed, calls.end()) << ReadFile(dir / "calls").toStdString();
  const auto fileSynced = first("sync(", dir / ".page.html.");
  const auto folderSynced = first("sync(", dir.Path() + ">)");
  EXPECT_LT(fileSynced, renamed);
  EXPECT_GT(folderSynced, renamed);
  EXPECT_NE(folderSynced, calls.end());
}

TEST(EncoderProgram, DevStdoutAndDevStderrAreWrittenInPlaceNotReplaced) {
  TempDir dir;
  const std::string redirected = dir / "redirected.html";
  WriteFile(redirected, "");
  struct stat before {};
  ::stat(redirected.c_str(), &before);
  const Finished run = RunEncoder({kSample, "-o", "/dev/stdout"}, redirected);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  struct stat after {};
  ::stat(redirected.c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(ReadFile(redirected).toStdString(), RunEncoder({kSample}).out);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"redirected.html"});
  // Standard error is the program's as it was given: a page sent there arrives.
  EXPECT_EQ(RunEncoder({kSample, "-o", "/dev/stderr"}).err, RunEncoder({kSample}).out);
}

}  // namespace
}  // namespace stipplor
