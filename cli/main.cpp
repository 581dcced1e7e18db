// stipplor-encode: encodes pictures into the HTML pages of the desktop program, without a
// window. Exit status 0 on success, 2 for a usage error, 1 for anything else.

#include <QtGlobal>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/encode_files.h"
#include "cli/option_table.h"
#include "engine/encode.h"

namespace stipplor {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

// Qt's image readers describe damage on standard error as they meet it; the program names the
// file and the cause itself, in one line, so their notes would only add noise.
void IgnoreQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

int Run(int argc, char** argv) {
  qInstallMessageHandler(IgnoreQtMessages);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  CommandLine line;
  try {
    line = ParseCommandLine(args);
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
    std::cout << Caption(line.options) << '\n' << std::flush;
    return std::cout ? 0 : kFailure;
  }
  return EncodeFiles(line);
}

}  // namespace
}  // namespace stipplor

int main(int argc, char** argv) { return stipplor::Run(argc, argv); }
