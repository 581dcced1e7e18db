#include "cli/progress.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "tests/support/terminal_frames.h"

namespace stipplor {
namespace {

using test::ParseTerminalOutput;
using test::TerminalOutput;

// Both ends of a stream; what was written to `in` comes back from Drain().
class Stream {
 public:
  virtual ~Stream() {
    ::close(in);
    ::close(out);
  }
  // Everything written so far.
  std::string Drain() const {
    std::string bytes;
    char chunk[4096];
    pollfd ready{out, POLLIN, 0};
    while (::poll(&ready, 1, 0) == 1 && (ready.revents & POLLIN) != 0) {
      const ssize_t n = ::read(out, chunk, sizeof chunk);
      if (n <= 0) break;
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  int in = -1;
  int out = -1;
};

struct Pipe : Stream {
  Pipe() {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    out = fds[0], in = fds[1];
  }
};

// A pseudo-terminal in raw mode, so that the bytes arrive as written.
struct Terminal : Stream {
  Terminal() {
    termios raw{};
    ::cfmakeraw(&raw);
    EXPECT_EQ(::openpty(&out, &in, nullptr, &raw, nullptr), 0);
  }
};

TEST(Progress, WritesOnlyItsReportsWhenNotOnATerminal) {
  Pipe pipe;
  {
    Progress progress(pipe.in, 2);
    EXPECT_FALSE(progress.ShowsBar());
    progress.AddRows(50);
    for (int i = 0; i < 50; ++i) progress.RowDone();
    progress.Report("stipplor-encode: b.jpg: empty file");
    progress.FileDone();
  }
  EXPECT_EQ(pipe.Drain(), "stipplor-encode: b.jpg: empty file\n");
}

TEST(Progress, DrawsRowsDoneOfRowsOnATerminalAndErasesTheBar) {
  Terminal terminal;
  {
    Progress progress(terminal.in, 1);
    EXPECT_TRUE(progress.ShowsBar());
    progress.AddRows(10);
    progress.RowDone();
  }
  const TerminalOutput output = ParseTerminalOutput(terminal.Drain());
  EXPECT_EQ(output.malformed, "");
  ASSERT_EQ(output.frames.size(), 1u);
  EXPECT_EQ(output.frames[0].done, 1);
  EXPECT_EQ(output.frames[0].rows, 10);
  EXPECT_EQ(output.frames[0].filled, output.frames[0].width / 10);
  EXPECT_EQ(output.frames[0].files, -1);  // one file: no file count
  EXPECT_FALSE(output.barLeft);
}

TEST(Progress, RedrawsAtMostTenTimesASecond) {
  using Clock = std::chrono::steady_clock;
  Terminal terminal;
  const Clock::time_point start = Clock::now();
  {
    Progress progress(terminal.in, 3);
    progress.AddRows(1'000'000'000);
    // The last row comes after 350 ms, when a frame is due whatever came before.
    for (bool last = false; !last;) {
      last = Clock::now() - start >= std::chrono::milliseconds(350);
      progress.RowDone();
    }
    progress.FileDone();
  }
  const auto elapsed = Clock::now() - start;
  const TerminalOutput output = ParseTerminalOutput(terminal.Drain());
  EXPECT_EQ(output.malformed, "");
  ASSERT_GE(output.frames.size(), 2u);
  // One at the first row, then one per 100 ms at most.
  EXPECT_LE(output.frames.size(),
            1 + static_cast<std::size_t>(elapsed / std::chrono::milliseconds(100)));
  for (std::size_t i = 1; i < output.frames.size(); ++i) {
    EXPECT_GT(output.frames[i].done, output.frames[i - 1].done);
  }
  EXPECT_EQ(output.frames.front().filesDone, 0);
  EXPECT_EQ(output.frames.front().files, 3);
  EXPECT_FALSE(output.barLeft);
}

TEST(Progress, AReportGoesAboveTheBarWhichComesBack) {
  Terminal terminal;
  {
    Progress progress(terminal.in, 2);
    progress.AddRows(4);
    progress.RowDone();
    progress.Report("stipplor-encode: a.jpg: Overflow");
    progress.AddRows(4);
    progress.RowDone();  // at once, not 100 ms after the last frame
  }
  const TerminalOutput output = ParseTerminalOutput(terminal.Drain());
  EXPECT_EQ(output.malformed, "");
  EXPECT_EQ(output.lines, std::vector<std::string>{"stipplor-encode: a.jpg: Overflow"});
  ASSERT_EQ(output.frames.size(), 2u);
  EXPECT_EQ(output.frames[1].done, 2);
  EXPECT_EQ(output.frames[1].rows, 8);
  EXPECT_FALSE(output.barLeft);
}

// A run's lines pass through unchanged, and exactly its rows of cells count.
TEST(RowCountingSink, CountsTheRowsOfARun) {
  struct Case {
    bool bw;
    Int16 ratio;
    std::optional<Region> region;
    long long rows;
  };
  const Case cases[] = {
      {false, 2, std::nullopt, 15},     {true, 2, std::nullopt, 15},
      {true, 1, std::nullopt, 31},      {false, 4, Region{3, 2, 20, 9}, 2},
      {true, 3, Region{0, 0, 5, 2}, 0},
  };
  Picture picture(40, 31);
  for (const Case& c : cases) {
    EncodeOptions options;
    options.BW = c.bw ? -1 : 0;
    options.Ratio = c.ratio;
    HtmlDocument direct, counted;
    Encode(picture, c.region, options, direct);
    Terminal terminal;
    Progress progress(terminal.in, 1);
    progress.AddRows(c.rows);
    RowCountingSink sink(counted, progress, c.bw ? 2 : 1, c.rows);
    Encode(picture, c.region, options, sink);
    EXPECT_EQ(counted.Text(), direct.Text());
    EXPECT_EQ(progress.RowsDone(), c.rows) << Caption(options);
  }
}

}  // namespace
}  // namespace stipplor
