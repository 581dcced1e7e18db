#pragma once

#include <string>
#include <utility>
#include <vector>

namespace stipplor::test {

struct Finished {
  int exitCode = -1;  // -1 when ended by a signal
  std::string out;
  std::string err;
};

// Runs the program with the arguments and waits for it: its standard output goes to
// `stdoutPath` (or to a temporary file whose contents come back in `out`), its standard input
// comes from `stdinPath`.
Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& stdoutPath = "", const std::string& stdinPath = "/dev/null");

// Runs the stipplor-encode built with these tests.
Finished RunEncoder(const std::vector<std::string>& args, const std::string& stdoutPath = "",
                    const std::string& stdinPath = "/dev/null");

// Runs that stipplor-encode under strace, following its threads: each of the system calls named
// (comma-separated) is a line of the file `log`, a file descriptor shown as "3</its/path>".
// `inject` is a fault for strace to inject, as "fsync:error=EINVAL:when=2".
Finished RunEncoderTraced(const std::string& calls, const std::string& log,
                          const std::vector<std::string>& args, const std::string& inject = "");

// A pseudo-terminal of 80 columns in raw mode, so that the bytes arrive as written: {the end the
// test reads, the terminal a program writes to or reads from}. Both close on exec.
std::pair<int, int> OpenTerminal();

// What was written to the stream whose reading end is `fd`, so far.
std::string Written(int fd);

}  // namespace stipplor::test
