// stipplor [FILE]: the desktop program; FILE, when given, opens at start.

#include <QApplication>
#include <QCommandLineParser>

#include "shell/dialogs.h"
#include "shell/mdi_pic_form.h"

int main(int argc, char* argv[]) {
  // The HTML view shares its graphics contexts with the rest of the program.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(stipplor::kAppTitle);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Turns a picture into an HTML page drawn with tiny characters or cells."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A picture to open."),
                               QStringLiteral("[FILE]"));
  parser.process(app);
  if (parser.positionalArguments().size() > 1) parser.showHelp(2);

  stipplor::QtDialogs dialogs;
  stipplor::MDIPicForm form(dialogs);
  form.show();
  if (!parser.positionalArguments().isEmpty()) {
    form.LoadPicFile(parser.positionalArguments().front());
  }
  return QApplication::exec();
}
