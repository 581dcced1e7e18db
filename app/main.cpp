// stipplor [FILE]: the desktop program; FILE, when given, opens at start.

#include <QApplication>
#include <QCommandLineParser>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "app/start_file.h"
#include "frame/dialogs.h"
#include "output/standard_streams.h"
#include "picture_io/file_names.h"
#include "picture_io/quiet_readers.h"
#include "result_window/result_view.h"
#include "shell/mdi_pic_form.h"

namespace {

// Whether the command line holds one of `names` before a "--".
bool Asks(int argc, char* argv[], std::initializer_list<std::string_view> names) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") return false;
    if (std::find(names.begin(), names.end(), arg) != names.end()) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  stipplor::OpenClosedStandardStreams();
  // The version and the usage are answered before the desktop application starts, so that they
  // need no display.
  if (Asks(argc, argv, {"-v", "--version"})) {
    std::printf("stipplor %s\n", STIPPLOR_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Turns a picture into an HTML page drawn with tiny characters or cells."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A picture to open."),
                               QStringLiteral("[FILE]"));
  if (Asks(argc, argv, {"-h", "--help", "-?"})) {
    const QCoreApplication app(argc, argv);  // names the program in the usage
    parser.showHelp(0);
  }

  // A file size limit makes a save fail (EFBIG) and be reported instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  // The HTML view shares its graphics contexts with the rest of the program.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  stipplor::RegisterResultViewScheme();
  QApplication app(argc, argv);
  QApplication::setApplicationName(stipplor::kAppTitle);
  QApplication::setApplicationVersion(QStringLiteral(STIPPLOR_VERSION));
  parser.process(app);
  if (parser.positionalArguments().size() > 1) parser.showHelp(2);
  stipplor::SilenceImageReaders();  // after the parser, which reports a wrong option there

  stipplor::QtDialogs dialogs;
  stipplor::MDIPicForm form(dialogs);
  form.show();
  stipplor::OpenStartFile(form, parser.positionalArguments(), argc, argv);
  return QApplication::exec();
}
