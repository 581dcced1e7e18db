#include "engine/ordered_rows.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace stipplor {

namespace {

constexpr int kBatchRows = 8;
// Batches built ahead of the writer, per thread: bounds the memory held besides the sink.
constexpr int kBatchesAheadPerThread = 4;

struct Batch {
  std::vector<std::string> lines;
  int built = 0;  // lines that were built; fewer than the batch's rows when one failed
  std::exception_ptr error;
  bool ready = false;
};

class ParallelRows {
 public:
  ParallelRows(const RowContext& context, int threads, LineSink& sink)
      : context_(context),
        sink_(sink),
        rows_(context.grid.Rows()),
        batches_((rows_ + kBatchRows - 1) / kBatchRows),
        slots_(static_cast<std::size_t>(threads * kBatchesAheadPerThread)) {
    workers_.reserve(static_cast<std::size_t>(threads));
    // A thread the system refuses (a limit on threads) leaves its share to those that started.
    try {
      for (int t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
    }
  }

  // Whether any thread builds rows; with none, the caller builds them itself.
  bool Started() const { return !workers_.empty(); }

  ~ParallelRows() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (auto& worker : workers_) worker.join();
  }

  void Write() {
    for (int k = 0; k < batches_; ++k) {
      Batch& batch = Slot(k);
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return batch.ready; });
      }
      for (int i = 0; i < batch.built; ++i)
        sink_.AppendLine(batch.lines[static_cast<std::size_t>(i)]);
      if (batch.error) std::rethrow_exception(batch.error);
      {
        const std::lock_guard lock(mutex_);
        batch.ready = false;
        ++written_;
      }
      changed_.notify_all();
    }
  }

 private:
  Batch& Slot(int k) { return slots_[static_cast<std::size_t>(k) % slots_.size()]; }

  void Work() {
    RowBuilder builder(context_);
    for (;;) {
      int k;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return stop_ || claimed_ >= batches_ ||
                 claimed_ < written_ + static_cast<int>(slots_.size());
        });
        if (stop_ || claimed_ >= batches_) return;
        k = claimed_++;
      }
      Batch& batch = Slot(k);
      const int first = k * kBatchRows;
      const int count = std::min(kBatchRows, rows_ - first);
      batch.lines.resize(static_cast<std::size_t>(count));
      batch.built = 0;
      batch.error = nullptr;
      try {
        for (int i = 0; i < count; ++i) {
          batch.lines[static_cast<std::size_t>(i)].assign(
              builder.Build(context_.grid.RowTop(first + i)));
          batch.built = i + 1;
        }
      } catch (...) {
        batch.error = std::current_exception();
      }
      {
        const std::lock_guard lock(mutex_);
        batch.ready = true;
      }
      changed_.notify_all();
    }
  }

  const RowContext& context_;
  LineSink& sink_;
  const int rows_;
  const int batches_;
  std::vector<Batch> slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int claimed_ = 0;
  int written_ = 0;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace

void WriteRowsInOrder(const RowContext& context, int threads, LineSink& sink) {
  const int rows = context.grid.Rows();
  if (threads > 1 && rows > kBatchRows) {
    ParallelRows parallel(context, threads, sink);
    if (parallel.Started()) {
      parallel.Write();
      return;
    }
  }
  RowBuilder builder(context);
  for (int i = 0; i < rows; ++i) sink.AppendLine(builder.Build(context.grid.RowTop(i)));
}

}  // namespace stipplor
