// Opening a picture: the one road from a file name to the picture window.

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <exception>

#include "picture_io/load_picture.h"
#include "picture_io/picture_file.h"
#include "picture_window/pic_form.h"
#include "shell/dialogs.h"
#include "shell/mdi_pic_form.h"

namespace stipplor {

void MDIPicForm::LoadPicFile(const QString& FileName) {
  // The file is read before the picture window is reached, so that a window exists (and
  // "Encode!" is enabled) only while it holds a picture.
  Picture picture;
  QByteArray file;
  try {
    const PictureFile opened(FileName);
    file = opened.Bytes();
    file.detach();  // kept beyond the file's reading: runs with a page width decode it again
    picture = DecodePicture(file);
  } catch (const std::exception&) {
    dialogs_.Warning(this, kAppTitle, QStringLiteral("Invalid Picture File !"));
    return;
  }
  PicForm& form = ReachPicForm();
  form.SetPicture(std::move(picture), std::move(file));
  QCoreApplication::processEvents();
  form.setWindowTitle(FileName);
  auto* window = qobject_cast<QMdiSubWindow*>(form.parentWidget());
  window->show();
  mdiArea_->setActiveSubWindow(window);
}

// The picture window, created on first use: its construction is its load step.
PicForm& MDIPicForm::ReachPicForm() {
  if (picForm_ != nullptr) return *picForm_;
  picForm_ = new PicForm(*this, dialogs_);
  QMdiSubWindow* window = mdiArea_->addSubWindow(picForm_);
  window->resize(mdiArea_->size() * 2 / 3);
  return *picForm_;
}

}  // namespace stipplor
