#include "tests/support/run_program.h"

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "tests/support/test_files.h"

extern char** environ;

namespace stipplor::test {

namespace {

std::vector<std::string> CommandOf(const std::string& program,
                                   const std::vector<std::string>& args) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

// The words as exec takes them, ending in a null pointer.
std::vector<char*> PointersTo(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  pointers.reserve(words.size() + 1);
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The status of the ended child; waits again only when a signal interrupted the wait.
int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("cannot wait for the program");
  }
  return status;
}

}  // namespace

Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& stdoutPath, const std::string& stdinPath) {
  const TempDir dir;
  const std::string outPath = stdoutPath.empty() ? dir / "stdout" : stdoutPath;
  const std::string errPath = dir / "stderr";

  std::vector<std::string> argv = CommandOf(program, args);
  std::vector<char*> pointers = PointersTo(argv);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  const int status = WaitFor(pid);
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

std::string EncoderCopyIn(const std::string& folder) {
  std::string copy = folder + "/stipplor-encode";
  std::filesystem::copy_file(STIPPLOR_ENCODE_PATH, copy);
  std::filesystem::permissions(
      copy, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                std::filesystem::perms::others_exec);
  return copy;
}

Finished RunEncoderOnTerminal(const std::vector<std::string>& args) {
  const TempDir dir;
  const std::string outPath = dir / "stdout";
  std::vector<std::string> argv = CommandOf(STIPPLOR_ENCODE_PATH, args);
  std::vector<char*> pointers = PointersTo(argv);

  termios raw{};
  ::cfmakeraw(&raw);
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 80;
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, &raw, &size);
  if (pid < 0) throw std::runtime_error("cannot open a pseudo-terminal");
  if (pid == 0) {
    // Standard error stays on the terminal; the page goes to a file.
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || in < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(in, STDIN_FILENO) < 0) {
      ::_exit(127);
    }
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
  }
  // The terminal reads end (EIO) once the program and its threads are gone.
  Finished finished;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(terminal, chunk, sizeof chunk);
    if (n > 0) {
      finished.err.append(chunk, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  ::close(terminal);
  const int status = WaitFor(pid);
  finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  finished.out = ReadFile(outPath).toStdString();
  return finished;
}

}  // namespace stipplor::test
