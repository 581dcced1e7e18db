#include "tests/support/run_program.h"

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "tests/support/test_files.h"

extern char** environ;

namespace stipplor::test {

Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& stdoutPath, const std::string& stdinPath) {
  const TempDir dir;
  const std::string outPath = stdoutPath.empty() ? dir / "out" : stdoutPath, errPath = dir / "err";
  // posix_spawn changes none of the words.
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), kWrite, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), kWrite, 0644);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("cannot wait for the program");
  }
  Finished finished;
  finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdoutPath.empty()) finished.out = ReadFile(outPath).toStdString();
  finished.err = ReadFile(errPath).toStdString();
  return finished;
}

Finished RunEncoder(const std::vector<std::string>& args, const std::string& stdoutPath,
                    const std::string& stdinPath) {
  return RunProgram(STIPPLOR_ENCODE_PATH, args, stdoutPath, stdinPath);
}

Finished RunEncoderTraced(const std::string& calls, const std::string& log,
                          const std::vector<std::string>& args, const std::string& inject) {
  // Without the sanitizers' leak check, which traces the program as strace does.
  std::vector<std::string> command = {"-f", "-qq", "-y", "-o", log, "-e", "trace=" + calls};
  if (!inject.empty()) command.insert(command.end(), {"-e", "inject=" + inject});
  command.insert(command.end(),
                 {"/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0", STIPPLOR_ENCODE_PATH});
  command.insert(command.end(), args.begin(), args.end());
  return RunProgram("/usr/bin/strace", command);
}

std::pair<int, int> OpenTerminal() {
  termios raw{};
  ::cfmakeraw(&raw);
  winsize size{.ws_row = 24, .ws_col = 80, .ws_xpixel = 0, .ws_ypixel = 0};
  int reading = -1, terminal = -1;
  if (::openpty(&reading, &terminal, nullptr, &raw, &size) != 0) {
    throw std::runtime_error("cannot open a pseudo-terminal");
  }
  ::fcntl(reading, F_SETFD, FD_CLOEXEC), ::fcntl(terminal, F_SETFD, FD_CLOEXEC);
  return {reading, terminal};
}

std::string Written(int fd) {
  std::string bytes;
  char chunk[4096];
  ::fcntl(fd, F_SETFL, O_NONBLOCK);
  for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
  return bytes;
}

}  // namespace stipplor::test
