// stipplor-encode: encodes one picture into the HTML page of the desktop program, without a
// window. Exit status 0 on success, 2 for a usage error, 1 for anything else.

#include <QFile>
#include <QtGlobal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/option_table.h"
#include "cli/output_file.h"
#include "engine/encode.h"
#include "engine/stream_sinks.h"
#include "picture_io/load_picture.h"

namespace stipplor {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

int Report(std::string_view subject, std::string_view cause) {
  std::cerr << kProgramName << ": " << subject << ": " << cause << '\n';
  return kFailure;
}

// Encodes the picture into the output, which replaces its target only when all went well.
int EncodeToOutput(const CommandLine& line) {
  Picture picture;
  try {
    picture = LoadPicture(QFile::decodeName(line.input.c_str()));
  } catch (const std::exception& error) {  // PictureError, or out of memory
    return Report(line.input, error.what());
  }

  const std::string outputName = line.output.value_or("standard output");
  std::unique_ptr<OutputFile> output;
  try {
    output =
        line.output ? std::make_unique<OutputFile>(*line.output) : std::make_unique<OutputFile>();
  } catch (const OutputError& error) {
    return Report(outputName, error.what());
  }

  const ByteWriter write = [&output](std::string_view bytes) { output->Write(bytes); };
  std::unique_ptr<LineSink> sink;
  if (line.document) {
    sink = std::make_unique<DocumentWriter>(write);
  } else {
    sink = std::make_unique<SavedFileWriter>(write);
  }
  try {
    Encode(picture, line.region, line.options, *sink);
    output->Commit();
  } catch (const EncodeError& error) {
    return Report(line.input, error.what());
  } catch (const OutputError& error) {
    return Report(outputName, error.what());
  } catch (const std::exception& error) {  // out of memory, for one
    return Report(line.input, error.what());
  }
  return 0;
}

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
              << "Try '" << kProgramName << " --help' for the options.\n";
    return kUsage;
  }
  if (line.help) {
    std::cout << HelpText() << std::flush;
    return std::cout ? 0 : kFailure;
  }
  if (line.caption) {
    std::cout << Caption(line.options) << '\n' << std::flush;
    return std::cout ? 0 : kFailure;
  }
  return EncodeToOutput(line);
}

}  // namespace
}  // namespace stipplor

int main(int argc, char** argv) { return stipplor::Run(argc, argv); }
