// stipplor-encode: encodes pictures into the HTML pages of the desktop program, without a
// window. Exit status 0 on success, 2 for a usage error, 1 for anything else.

#include <fcntl.h>
#include <unistd.h>

#include <QtGlobal>
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/encode_files.h"
#include "cli/option_table.h"
#include "engine/encode.h"
#include "engine/page_width.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace stipplor {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

// Qt's image readers and the libraries under them (libpng, libmng) describe damage on standard
// error as they meet it; the program names the file and the cause itself, in one line, so their
// notes would only add noise. They get /dev/null; the program's messages, and a sanitizer's
// reports, go to a copy of standard error, which this answers.
int SilenceLibraries() {
  const int messages = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (messages < 0 || null < 0 || ::dup2(null, STDERR_FILENO) < 0) return STDERR_FILENO;
  ::close(null);
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(messages)));
#endif
  return messages;
}

int Run(int argc, char** argv) {
  // A file size limit makes a write fail (EFBIG) instead of killing the program, so that the
  // temporary file is removed and the cause reported like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  CommandLine line;
  try {
    line = ParseCommandLine(args);
    // A picture is never typed: "-" on a terminal is a mistake, not a wait for input.
    const bool encodes = !line.help && !line.version && !line.caption;
    if (encodes && std::ranges::find(line.inputs, "-") != line.inputs.end() &&
        isatty(STDIN_FILENO) != 0) {
      throw UsageError("standard input is a terminal; pipe a picture into '-' or name a file");
    }
  } catch (const UsageError& error) {
    std::cerr << kProgramName << ": " << error.what() << "\n"
              << "Usage: " << kUsageLine << "\n"
              << "       " << kFolderUsageLine << "\n"
              << "Try '" << kProgramName << " --help' for the options.\n";
    return kUsage;
  }
  if (line.help) {
    std::cout << HelpText() << std::flush;
    return std::cout ? 0 : kFailure;
  }
  if (line.version) {
    std::cout << kProgramName << ' ' << kVersion << '\n' << std::flush;
    return std::cout ? 0 : kFailure;
  }
  if (line.caption) {
    std::cout << Caption(line.options) << PageWidthCaption(line.pageWidth) << '\n' << std::flush;
    return std::cout ? 0 : kFailure;
  }
  return EncodeFiles(line, SilenceLibraries());
}

}  // namespace
}  // namespace stipplor

int main(int argc, char** argv) { return stipplor::Run(argc, argv); }
