#include "cli/progress.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "engine/encode.h"
#include "engine/html_document.h"

namespace stipplor {
namespace {

// Both ends of a pseudo-terminal in raw mode, so that the bytes arrive as written, or of a pipe.
struct Stream {
  explicit Stream(bool terminal) {
    termios raw{};
    ::cfmakeraw(&raw);
    int fds[2];
    EXPECT_EQ(terminal ? ::openpty(&out, &in, nullptr, &raw, nullptr) : ::pipe(fds), 0);
    if (!terminal) out = fds[0], in = fds[1];
  }
  ~Stream() { ::close(in), ::close(out); }
  std::string Written() const {  // so far
    std::string bytes;
    char chunk[4096];
    pollfd ready{out, POLLIN, 0};
    for (ssize_t n; ::poll(&ready, 1, 0) == 1 && (n = ::read(out, chunk, sizeof chunk)) > 0;) {
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  int in = -1;
  int out = -1;
};

// Nothing here waits for the clock: the first row draws at once, and so does the first call
// after a report.
TEST(Progress, DrawsTheBarOnATerminalOnlyAndReportsAboveIt) {
  for (const bool terminal : {false, true}) {
    const Stream stream(terminal);
    {
      Progress progress(stream.in, 2);
      EXPECT_EQ(progress.ShowsBar(), terminal);
      progress.AddRows(10);
      progress.RowDone();
      progress.Report("stipplor-encode: a.jpg: Overflow");
      progress.AddRows(4);
      progress.FileDone();
    }
    const std::string blank = "\r" + std::string(47, ' ') + "\r";
    EXPECT_EQ(stream.Written(), terminal ? "\r[##                      ] 1/10 rows, 0/2 files" +
                                               blank + "stipplor-encode: a.jpg: Overflow\n" +
                                               "\r[#                       ] 1/14 rows, 1/2 files" +
                                               blank
                                         : "stipplor-encode: a.jpg: Overflow\n");
  }
  // One file: no file count; never more rows done than there are.
  const Stream stream(true);
  {
    Progress progress(stream.in, 1);
    progress.AddRows(3);
    for (int i = 0; i < 5; ++i) progress.RowDone();
    stream.Written();  // frames of 35 columns, as many as the clock allowed
    progress.Report("x");
    progress.RowDone();
  }
  const std::string blank = "\r" + std::string(35, ' ') + "\r";
  EXPECT_EQ(stream.Written(), blank + "x\n\r[########################] 3/3 rows" + blank);
}

TEST(Progress, RedrawsAtMostTenTimesASecond) {
  using Clock = std::chrono::steady_clock;
  const Stream stream(true);
  const Clock::time_point start = Clock::now();
  {
    Progress progress(stream.in, 1);
    progress.AddRows(1'000'000'000);
    while (Clock::now() - start < std::chrono::milliseconds(350)) progress.RowDone();
  }
  const std::string written = stream.Written();
  const auto frames = std::count(written.begin(), written.end(), '[');
  EXPECT_GE(frames, 1);
  EXPECT_LE(frames, 1 + (Clock::now() - start) / std::chrono::milliseconds(100));
}

// A run's lines pass through unchanged, and exactly its rows of cells count.
TEST(RowCountingSink, CountsTheRowsOfARun) {
  const struct {
    bool bw;
    Int16 ratio;
    std::optional<Region> region;
    long long rows;
  } cases[] = {
      {false, 2, std::nullopt, 15},
      {true, 1, std::nullopt, 31},
      {false, 4, Region{3, 2, 20, 9}, 2},
      {true, 3, Region{0, 0, 5, 2}, 0},
  };
  const Picture picture(40, 31);
  for (const auto& c : cases) {
    EncodeOptions options;
    options.BW = c.bw ? -1 : 0;
    options.Ratio = c.ratio;
    HtmlDocument direct, counted;
    Encode(picture, c.region, options, direct);
    const Stream stream(false);
    Progress progress(stream.in, 1);
    progress.AddRows(c.rows);
    RowCountingSink sink(counted, progress, c.bw ? 2 : 1, c.rows);
    Encode(picture, c.region, options, sink);
    EXPECT_EQ(counted.Text(), direct.Text());
    EXPECT_EQ(progress.RowsDone(), c.rows) << Caption(options);
  }
}

}  // namespace
}  // namespace stipplor
