#include "tests/cli/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/picture_io/test_files.h"

extern char** environ;

namespace stipplor::test {

Finished RunProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& stdoutPath) {
  const TempDir dir;
  const std::string outPath = stdoutPath.empty() ? dir / "stdout" : stdoutPath;
  const std::string errPath = dir / "stderr";

  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  Finished finished;
  finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdoutPath.empty()) finished.out = ReadFile(outPath).toStdString();
  finished.err = ReadFile(errPath).toStdString();
  return finished;
}

Finished RunEncoder(const std::vector<std::string>& args, const std::string& stdoutPath) {
  return RunProgram(STIPPLOR_ENCODE_PATH, args, stdoutPath);
}

}  // namespace stipplor::test
