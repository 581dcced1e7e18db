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

// The program and its arguments as exec takes them; `words` must outlive the pointers.
std::vector<char*> Argv(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("cannot wait for the program");
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& stdoutPath, const std::string& stdinPath) {
  const TempDir dir;
  const std::string outPath = stdoutPath.empty() ? dir / "stdout" : stdoutPath;
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinPath.c_str(), O_RDONLY, 0);
  for (const auto& [fd, path] :
       {std::pair{STDOUT_FILENO, outPath}, std::pair{STDERR_FILENO, dir / "err"}}) {
    posix_spawn_file_actions_addopen(&actions, fd, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  }
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, Argv(words).data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  Finished finished{ExitCodeOf(pid), "", ReadFile(dir / "err").toStdString()};
  if (stdoutPath.empty()) finished.out = ReadFile(outPath).toStdString();
  return finished;
}

Finished RunEncoder(const std::vector<std::string>& args, const std::string& stdoutPath,
                    const std::string& stdinPath) {
  return RunProgram(STIPPLOR_ENCODE_PATH, args, stdoutPath, stdinPath);
}

std::string EncoderCopyIn(const std::string& folder) {
  std::string copy = folder + "/stipplor-encode";
  std::filesystem::copy_file(STIPPLOR_ENCODE_PATH, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::all &
                                         ~std::filesystem::perms::group_write &
                                         ~std::filesystem::perms::others_write);
  return copy;
}

Finished RunEncoderOnTerminal(const std::vector<std::string>& args) {
  const TempDir dir;
  std::vector<std::string> words = {STIPPLOR_ENCODE_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = Argv(words);
  termios raw{};
  ::cfmakeraw(&raw);
  winsize size{.ws_row = 24, .ws_col = 80, .ws_xpixel = 0, .ws_ypixel = 0};
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, &raw, &size);
  if (pid < 0) throw std::runtime_error("cannot open a pseudo-terminal");
  if (pid == 0) {  // standard error stays on the terminal; the page goes to a file
    const int out = ::open((dir / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out >= 0 && in >= 0 && ::dup2(out, STDOUT_FILENO) >= 0 && ::dup2(in, STDIN_FILENO) >= 0) {
      ::execv(argv[0], argv.data());
    }
    ::_exit(127);
  }
  // Reading the terminal ends (EIO) once the program and its threads are gone.
  Finished finished;
  char chunk[4096];
  for (ssize_t n; (n = ::read(terminal, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR);) {
    if (n > 0) finished.err.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(terminal);
  finished.exitCode = ExitCodeOf(pid);
  finished.out = ReadFile(dir / "stdout").toStdString();
  return finished;
}

}  // namespace stipplor::test
