// stipplor [FILE]: the desktop program; FILE, when given, opens at start.

#include <QApplication>
#include <QCommandLineParser>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "frame/dialogs.h"
#include "picture_io/file_names.h"
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

// The FILE argument as the bytes it was given: Qt's own arguments are text, which turns bytes
// of a name that is no UTF-8 into U+FFFD.
QString FileArgument(const QString& positional, int argc, char* argv[]) {
  for (int i = argc - 1; i > 0; --i) {
    if (QString::fromLocal8Bit(argv[i]) == positional) return stipplor::FileNameFromBytes(argv[i]);
  }
  return positional;
}

}  // namespace

int main(int argc, char* argv[]) {
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

  stipplor::QtDialogs dialogs;
  stipplor::MDIPicForm form(dialogs);
  form.show();
  if (!parser.positionalArguments().isEmpty()) {
    form.LoadPicFile(FileArgument(parser.positionalArguments().front(), argc, argv));
  }
  return QApplication::exec();
}
