// Opening a picture: the one road from a file name to the picture window.

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <exception>

#include "frame/dialogs.h"
#include "picture_io/file_names.h"
#include "picture_io/load_picture.h"
#include "picture_io/picture_file.h"
#include "picture_window/pic_form.h"
#include "shell/mdi_pic_form.h"

namespace stipplor {

void MDIPicForm::LoadPicFile(const QString& FileName) {
  // The file is read before the picture window is reached, so that a window exists (and
  // "Encode!" is enabled) only while it holds a picture.
  Picture picture;
  QByteArray file;
  try {
    file = PictureFile(FileName).Bytes();
    picture = DecodePicture(file);
    // A JPEG's bytes stay with the picture: runs with a page width decode them again at a
    // smaller size. Other files are never read again (JPEG data starts with FF D8).
    if (!file.startsWith("\xFF\xD8")) file = QByteArray();
  } catch (const std::exception& error) {
    // The file and the cause, worded as the command line words them.
    dialogs_.DetailedWarning(
        this, kAppTitle, QStringLiteral("Invalid Picture File !"),
        ReadableFileName(FileName) + QStringLiteral(": ") + QString::fromUtf8(error.what()));
    return;
  }
  PicForm& form = ReachPicForm();
  form.SetPicture(std::move(picture), std::move(file));
  // Pending painting runs here; input waits until the picture window is complete.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  form.setWindowTitle(ReadableFileName(FileName));
  pictureFile_ = FileName;
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
