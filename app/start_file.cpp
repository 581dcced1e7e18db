#include "app/start_file.h"

#include "picture_io/file_names.h"

namespace stipplor {

void OpenStartFile(MDIPicForm& form, const QStringList& positional, int argc, char* argv[]) {
  if (positional.isEmpty()) return;
  for (int i = argc - 1; i > 0; --i) {
    if (QString::fromLocal8Bit(argv[i]) == positional.front()) {
      form.LoadPicFile(FileNameFromBytes(argv[i]));
      return;
    }
  }
  form.LoadPicFile(positional.front());
}

}  // namespace stipplor
