#include "cli/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace stipplor {

namespace {

constexpr std::size_t kBarWidth = 24;

// "[##########              ] 1200/3000 rows, 1/4 files"
std::string Frame(long long done, long long rows, int filesDone, int files) {
  const auto filled =
      rows > 0 ? static_cast<std::size_t>(done * static_cast<long long>(kBarWidth) / rows) : 0;
  std::string frame = "[";
  frame.append(filled, '#').append(kBarWidth - filled, ' ').append("] ");
  frame.append(std::to_string(done)).append("/").append(std::to_string(rows)).append(" rows");
  if (files > 1) {
    frame.append(", ").append(std::to_string(filesDone)).append("/");
    frame.append(std::to_string(files)).append(" files");
  }
  return frame;
}

}  // namespace

Progress::Progress(int fd, int files) : fd_(fd), files_(files), showsBar_(::isatty(fd) == 1) {}

Progress::~Progress() {
  const std::lock_guard lock(mutex_);
  Erase();
}

void Progress::AddRows(long long rows) { rows_ += rows; }

void Progress::RowDone() {
  ++rowsDone_;
  DrawIfDue();
}

void Progress::FileDone() {
  ++filesDone_;
  DrawIfDue();
}

void Progress::Report(std::string_view line) {
  const std::lock_guard lock(mutex_);
  Erase();
  std::string text(line);
  text.push_back('\n');
  Write(text);
  nextDraw_ = Clock::time_point{};  // the bar comes back with the next row
}

void Progress::DrawIfDue() {
  if (!showsBar_) return;
  const Clock::time_point now = Clock::now();
  // A thread that finds another drawing leaves the drawing to it.
  const std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || now < nextDraw_) return;
  nextDraw_ = now + kRedrawInterval;
  const long long rows = rows_;
  const std::string frame =
      Frame(std::min(rowsDone_.load(), rows), rows, filesDone_.load(), files_);
  // A shorter frame than the last is padded so that no character of the last one stays.
  std::string text = "\r" + frame;
  if (frame.size() < drawnWidth_) text.append(drawnWidth_ - frame.size(), ' ');
  drawnWidth_ = std::max(drawnWidth_, frame.size());
  Write(text);
}

void Progress::Erase() {
  if (drawnWidth_ == 0) return;
  std::string text = "\r";
  text.append(drawnWidth_, ' ').append("\r");
  Write(text);
  drawnWidth_ = 0;
}

void Progress::Write(std::string_view bytes) const {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // nothing to be done about a stream that fails
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void RowCountingSink::AppendLine(std::string_view line) {
  sink_.AppendLine(line);
  const long long row = lines_++ - linesBeforeRows_;
  if (row >= 0 && row < rows_) progress_.RowDone();
}

}  // namespace stipplor
