#include "cli/progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "tests/support/run_program.h"

namespace stipplor {
namespace {

using test::Written;

// The first row draws at once, and so does the first call after a report; then the bar redraws
// at most ten times a second.
TEST(Progress, DrawsTheBarReportsAboveItAndRedrawsAtMostTenTimesASecond) {
  const auto [terminal, slave] = test::OpenTerminal();
  {
    Progress progress(slave, 2);
    progress.AddRows(10);
    progress.RowDone();
    progress.Report("stipplor-encode: a.jpg: Overflow");
    progress.AddRows(4);
    progress.FileDone();
  }
  const std::string blank47 = "\r" + std::string(47, ' ') + "\r";
  EXPECT_EQ(Written(terminal), "\r[##                      ] 1/10 rows, 0/2 files" + blank47 +
                                   "stipplor-encode: a.jpg: Overflow\n"
                                   "\r[#                       ] 1/14 rows, 1/2 files" +
                                   blank47);
  // One file: no file count; never more rows done than there are.
  {
    Progress progress(slave, 1);
    progress.AddRows(3);
    for (int i = 0; i < 5; ++i) progress.RowDone();
    Written(terminal);  // frames of 35 columns, as many as the clock allowed
    progress.Report("x");
    progress.RowDone();
  }
  const std::string blank = "\r" + std::string(35, ' ') + "\r";
  EXPECT_EQ(Written(terminal), blank + "x\n\r[########################] 3/3 rows" + blank);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  {
    Progress progress(slave, 1);
    progress.AddRows(1'000'000'000);
    while (Clock::now() - start < std::chrono::milliseconds(350)) progress.RowDone();
  }
  const std::string written = Written(terminal);
  EXPECT_LE(std::count(written.begin(), written.end(), '['),
            1 + (Clock::now() - start) / std::chrono::milliseconds(100));
}

// A run's lines pass through unchanged, and exactly its rows of cells count.
TEST(RowCountingSink, CountsTheRowsOfARun) {
  const Picture picture(40, 31);
  for (const bool bw : {false, true}) {
    EncodeOptions options;
    options.BW = bw ? -1 : 0, options.Ratio = bw ? 1 : 4;
    const std::optional<Region> region = bw ? std::nullopt : std::optional(Region{3, 2, 20, 9});
    HtmlDocument direct, counted;
    Encode(picture, region, options, direct);
    Progress progress(-1, 1);  // no stream: only counting
    RowCountingSink sink(counted, progress, bw ? 2 : 1, bw ? 31 : 2);
    Encode(picture, region, options, sink);
    EXPECT_EQ(counted.Text(), direct.Text());
    EXPECT_EQ(progress.RowsDone(), bw ? 31 : 2);
  }
}

}  // namespace
}  // namespace stipplor
