// stipplor-encode: encodes pictures into the HTML pages of the desktop program, without a
// window. Exit status 0 on success, 2 for a usage error, 1 for anything else.

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/encode_files.h"
#include "cli/option_table.h"
#include "engine/encode.h"
#include "engine/page_width.h"
#include "output/standard_streams.h"
#include "output/temporary_files.h"
#include "picture_io/quiet_readers.h"

namespace stipplor {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

int Run(int argc, char** argv) {
  OpenClosedStandardStreams();
  // A file size limit makes a write fail (EFBIG) instead of killing the program, so that the
  // temporary file is removed and the cause reported like a full disk. Likewise a closed pipe
  // (EPIPE): on the page it fails that page, on standard error it only loses the report.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  TemporaryFiles::RemoveOnSignals();
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
  SilenceImageReaders();
  return EncodeFiles(line);
}

}  // namespace
}  // namespace stipplor

int main(int argc, char** argv) { return stipplor::Run(argc, argv); }
