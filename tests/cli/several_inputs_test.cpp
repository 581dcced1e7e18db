// stipplor-encode with several inputs (-d), and its progress bar, run for real.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/terminal_frames.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using test::Encoded;
using test::Finished;
using test::Gradient;
using test::ReadFile;
using test::RunEncoder;
using test::RunEncoderOnTerminal;
using test::TempDir;
using test::WriteFile;

const std::string kSamples = STIPPLOR_SOURCE_DIR "/samples/";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The pages of a run with several inputs are the pages of one run per input, whatever the
// options, and nothing is written on standard error when it is not a terminal.
TEST(SeveralInputs, GiveEachInputThePageOfItsOwnRun) {
  TempDir dir;
  WriteFile(dir / "gradient.bmp", Encoded(Gradient(310, 170), "BMP"));
  WriteFile(dir / "small.jpg", Encoded(Gradient(33, 47), "JPEG", 90));
  const std::vector<std::string> inputs = {kSamples + "astronaut.jpg", dir / "gradient.bmp",
                                           kSamples + "rocket.gif", dir / "small.jpg",
                                           kSamples + "chelsea.bmp"};
  const std::vector<std::vector<std::string>> optionSets = {
      {}, {"--bw", "--style", "fractal", "--colorized", "--size", "1:2"}, {"--document"}};
  for (const auto& options : optionSets) {
    TempDir out;
    std::vector<std::string> args = options;
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), {"-d", out.Path()});
    const Finished together = RunEncoder(args);
    ASSERT_EQ(together.exitCode, 0) << together.err;
    EXPECT_EQ(together.out, "");
    EXPECT_EQ(together.err, "");
    EXPECT_EQ(out.Names(),
              (std::vector<std::string>{"astronaut.html", "chelsea.html", "gradient.html",
                                        "rocket.html", "small.html"}));
    for (const std::string& input : inputs) {
      std::vector<std::string> alone = options;
      alone.push_back(input);
      const std::string name = input.substr(input.rfind('/') + 1);
      EXPECT_EQ(ReadFile(out / (name.substr(0, name.rfind('.')) + ".html")).toStdString(),
                RunEncoder(alone).out)
          << name;
    }
  }
}

TEST(SeveralInputs, AFileThatFailsIsReportedAndTheOthersGoOn) {
  TempDir dir;
  WriteFile(dir / "good.bmp", Encoded(Gradient(40, 30), "BMP"));
  WriteFile(dir / "text.jpg", "not a picture\n");
  ::mkdir((dir / "pages").c_str(), 0755);
  WriteFile(dir / "pages/text.html", "an earlier page");
  const Finished run = RunEncoder({dir / "text.jpg", dir / "good.bmp", dir / "missing.gif",
                                   kSamples + "astronaut.jpg", "-d", dir / "pages"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Sorted(Lines(run.err)),
            Sorted({"stipplor-encode: " + dir / "text.jpg" +
                        ": not a picture file (unsupported or damaged)",
                    "stipplor-encode: " + dir / "missing.gif" + ": no such file"}));
  EXPECT_EQ(test::NamesIn(dir / "pages"),
            (std::vector<std::string>{"astronaut.html", "good.html", "text.html"}));
  EXPECT_EQ(ReadFile(dir / "pages/text.html"), "an earlier page");
  EXPECT_EQ(ReadFile(dir / "pages/good.html").toStdString(), RunEncoder({dir / "good.bmp"}).out);
}

TEST(SeveralInputs, TheFolderMustBeThere) {
  TempDir dir;
  WriteFile(dir / "file", "");
  struct Case {
    std::string folder;
    std::string cause;
  };
  const Case cases[] = {{dir / "missing", "No such file or directory"},
                        {dir / "file", "Not a directory"},
                        {dir / "file/below", "Not a directory"}};
  for (const Case& c : cases) {
    const Finished run =
        RunEncoder({kSamples + "astronaut.jpg", kSamples + "rocket.gif", "-d", c.folder});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stipplor-encode: " + c.folder + ": " + c.cause + "\n");
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"file"});
}

TEST(SeveralInputs, OneInputMayGoIntoTheFolder) {
  TempDir dir;
  const Finished run = RunEncoder({kSamples + "rocket.gif", "--bw", "-d", dir.Path() + "/"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"rocket.html"});
  EXPECT_EQ(ReadFile(dir / "rocket.html").toStdString(),
            RunEncoder({kSamples + "rocket.gif", "--bw"}).out);
}

TEST(ProgressBar, ShowsRowsDoneOfRowsOnATerminal) {
  TempDir dir;
  // One row of cells per pixel row at "1:2".
  WriteFile(dir / "tall.bmp", Encoded(Gradient(400, 3000), "BMP"));
  const Finished run = RunEncoderOnTerminal({dir / "tall.bmp", "--size", "1:2"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, RunEncoder({dir / "tall.bmp", "--size", "1:2"}).out);
  const test::TerminalOutput terminal = test::ParseTerminalOutput(run.err);
  EXPECT_EQ(terminal.malformed, "") << run.err;
  EXPECT_TRUE(terminal.lines.empty()) << run.err;
  ASSERT_FALSE(terminal.frames.empty());
  long long done = 0;
  for (const test::Frame& frame : terminal.frames) {
    EXPECT_EQ(frame.rows, 3000);
    EXPECT_GE(frame.done, done);
    EXPECT_LE(frame.done, frame.rows);
    EXPECT_EQ(frame.filled, frame.done * frame.width / frame.rows);
    EXPECT_EQ(frame.files, -1);
    done = frame.done;
  }
  EXPECT_FALSE(terminal.barLeft) << "the bar is erased at the end";
}

TEST(ProgressBar, CountsTheFilesOfARunAndReportsFailuresAboveIt) {
  TempDir dir;
  WriteFile(dir / "a.bmp", Encoded(Gradient(300, 1200), "BMP"));
  WriteFile(dir / "b.bmp", Encoded(Gradient(200, 800), "BMP"));
  WriteFile(dir / "bad.jpg", "");
  const Finished run = RunEncoderOnTerminal(
      {dir / "a.bmp", dir / "bad.jpg", dir / "b.bmp", "--size", "1:2", "-d", dir.Path()});
  EXPECT_EQ(run.exitCode, 1);
  const test::TerminalOutput terminal = test::ParseTerminalOutput(run.err);
  EXPECT_EQ(terminal.malformed, "") << run.err;
  EXPECT_EQ(terminal.lines,
            std::vector<std::string>{"stipplor-encode: " + dir / "bad.jpg" + ": empty file"});
  ASSERT_FALSE(terminal.frames.empty());
  for (const test::Frame& frame : terminal.frames) {
    EXPECT_EQ(frame.files, 3);
    EXPECT_LE(frame.filesDone, 3);  // a file that failed is done too
    EXPECT_LE(frame.done, frame.rows);
    EXPECT_LE(frame.rows, 2000);
  }
  EXPECT_FALSE(terminal.barLeft);
  EXPECT_EQ(ReadFile(dir / "b.html").toStdString(),
            RunEncoder({dir / "b.bmp", "--size", "1:2"}).out);
}

}  // namespace
}  // namespace stipplor
