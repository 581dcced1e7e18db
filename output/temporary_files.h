#pragma once

#include <string>

namespace stipplor {

// The temporary files of the outputs being written, so that a signal that ends the program
// does not leave them behind. Any thread may add and remove; the signal handler only reads.
class TemporaryFiles {
 public:
  // `path` must stay unchanged in memory until it is removed.
  static void Add(const std::string& path);
  static void Remove(const std::string& path);

  // From now on SIGINT, SIGTERM and SIGHUP delete the temporary files and then end the program
  // as the signal does by default (status 128 + the signal's number). A signal the program was
  // started with ignored (nohup) stays ignored.
  static void RemoveOnSignals();
};

}  // namespace stipplor
