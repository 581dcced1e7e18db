#include "output/temporary_files.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>

namespace stipplor {

namespace {

// One a thread writing a page; far more than the cores of any machine run.
constexpr std::size_t kSlots = 256;
static_assert(std::atomic<const char*>::is_always_lock_free, "read by a signal handler");
std::array<std::atomic<const char*>, kSlots> slots{};

extern "C" void RemoveAndEnd(int signal) {
  for (const auto& slot : slots) {
    if (const char* path = slot.load()) ::unlink(path);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);  // delivered once the handler returns
}

}  // namespace

void TemporaryFiles::Add(const std::string& path) {
  for (auto& slot : slots) {
    const char* free = nullptr;
    if (slot.compare_exchange_strong(free, path.c_str())) return;
  }
}

void TemporaryFiles::Remove(const std::string& path) {
  for (auto& slot : slots) {
    const char* held = path.c_str();
    if (slot.compare_exchange_strong(held, nullptr)) return;
  }
}

void TemporaryFiles::RemoveOnSignals() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
    action = {};
    action.sa_handler = RemoveAndEnd;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace stipplor
