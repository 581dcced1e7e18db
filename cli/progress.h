#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/line_sink.h"

namespace stipplor {

// What stipplor-encode writes on standard error while it encodes: a line for each file that
// fails and, only when the stream is a terminal, a progress bar of the rows done
// ("[#######         ] 1200/3000 rows, 1/4 files"), redrawn at most ten times a second and
// erased when the run ends. Any thread may call it.
class Progress {
 public:
  // `fd` is the stream (standard error); `files` is the number of inputs of the run.
  Progress(int fd, int files);
  ~Progress();  // erases the bar

  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Whether the stream is a terminal, so that a bar is drawn.
  bool ShowsBar() const { return showsBar_; }
  long long Rows() const { return rows_; }
  long long RowsDone() const { return rowsDone_; }

  // A file starts; its rows join the total. A file's rows are only known once it is loaded,
  // so the total grows as the files of a run start.
  void AddRows(long long rows);
  void RowDone();
  void FileDone();

  // Writes the line and a newline, above the bar.
  void Report(std::string_view line);

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

  void DrawIfDue();
  void Erase();  // with mutex_ held
  void Write(std::string_view bytes) const;

  const int fd_;
  const int files_;
  const bool showsBar_;
  std::atomic<long long> rows_{0};
  std::atomic<long long> rowsDone_{0};
  std::atomic<int> filesDone_{0};

  std::mutex mutex_;              // guards what follows, and the stream
  Clock::time_point nextDraw_{};  // the first row draws at once
  std::size_t drawnWidth_ = 0;    // of the bar on the screen; 0 when none is
};

// Passes a run's lines on to `sink` and counts its rows of cells as done. A run's document has
// `linesBeforeRows` lines (the head and, for B&W, the table) before its rows, one line a row.
class RowCountingSink : public LineSink {
 public:
  RowCountingSink(LineSink& sink, Progress& progress, int linesBeforeRows, long long rows)
      : sink_(sink), progress_(progress), linesBeforeRows_(linesBeforeRows), rows_(rows) {}

  void Begin() override { sink_.Begin(); }
  void AppendLine(std::string_view line) override;
  void End() override { sink_.End(); }

 private:
  LineSink& sink_;
  Progress& progress_;
  const int linesBeforeRows_;
  const long long rows_;
  long long lines_ = 0;
};

}  // namespace stipplor
