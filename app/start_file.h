#pragma once

#include <QStringList>

#include "shell/mdi_pic_form.h"

namespace stipplor {

// Opens the FILE of `stipplor [FILE]` (the desktop entry's %f), if one is given, in `form`.
// `positional` is what Qt's parser found, `argc`/`argv` the arguments the application left: the
// file is opened by the bytes it was given, for Qt's own arguments are text, which turns bytes
// of a name that is no UTF-8 into U+FFFD.
void OpenStartFile(MDIPicForm& form, const QStringList& positional, int argc, char* argv[]);

}  // namespace stipplor
