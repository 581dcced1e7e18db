// Opening a picture: the one road from a file, the clipboard or the recent list to the picture
// window.

#include <sys/stat.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTimer>
#include <cerrno>
#include <exception>

#include "frame/dialogs.h"
#include "picture_io/file_names.h"
#include "picture_io/load_picture.h"
#include "picture_io/picture_file.h"
#include "picture_window/pic_form.h"
#include "shell/mdi_pic_form.h"
#include "shell/pasted_picture.h"

namespace stipplor {

namespace {

// Decodes a picture file's bytes. A JPEG's bytes stay in `file`, for runs with a page width to
// decode again at a smaller size; other files are never read again (JPEG data starts FF D8).
Picture DecodeKeepingJpeg(QByteArray& file) {
  Picture picture = DecodePicture(file);
  if (!file.startsWith("\xFF\xD8")) file = QByteArray();
  return picture;
}

// Whether no file of that name is there any more; one that cannot be looked at is still there.
bool IsGone(const QString& name) {
  struct stat status {};
  return ::stat(FileNameBytes(name).constData(), &status) != 0 &&
         (errno == ENOENT || errno == ENOTDIR);
}

}  // namespace

void MDIPicForm::LoadPicFile(const QString& FileName) {
  const bool shown = ShowPicture(
      [&](QByteArray& file) {
        file = PictureFile(FileName).Bytes();
        return DecodeKeepingJpeg(file);
      },
      ReadableFileName(FileName));
  if (!shown) return;
  pictureFile_ = FileName;
  recent_.Add(QFileInfo(FileName).absoluteFilePath());
  StoreRecentPictures(recent_);
  ReflectRecent();
}

// A copied file opens as that file; an image is read by the loader as a file is (PNG bytes) or
// taken as Qt gives it. A pasted picture has no file: Save As proposes "pasted.html".
void MDIPicForm::mnuPastePicture_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard->mimeData();
  if (data == nullptr) return;
  if (const QString file = CopiedFile(*data); !file.isEmpty()) {
    LoadPicFile(file);
    return;
  }
  const QByteArray png = data->data(QStringLiteral("image/png"));
  const bool shown = ShowPicture(
      [&](QByteArray&) {
        return png.isEmpty() ? PictureFromImage(clipboard->image()) : DecodePicture(png);
      },
      QStringLiteral("Pasted picture"));
  if (shown) pictureFile_.clear();
}

void MDIPicForm::ReflectClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  mnuPastePicture->setEnabled(data != nullptr && HoldsPicture(*data));
}

// A file gone since is dropped from the list, and the user told why nothing opens.
void MDIPicForm::mnuRecent_Click(int index) {
  const QString FileName = recent_.Names().value(index);
  if (!IsGone(FileName)) {
    LoadPicFile(FileName);
    return;
  }
  recent_.Remove(FileName);
  StoreRecentPictures(recent_);
  ReflectRecent();
  dialogs_.Warning(
      this, kAppTitle,
      ReadableFileName(FileName) +
          QStringLiteral(" no longer exists; it is removed from the recent pictures."));
}

// The recent pictures in the File menu, numbered from 1 as their access keys.
void MDIPicForm::ReflectRecent() {
  const QStringList& names = recent_.Names();
  for (qsizetype i = 0; i < qsizetype(mnuRecent.size()); ++i) {
    QAction* item = mnuRecent.at(std::size_t(i));
    item->setVisible(i < names.size());
    const QString name = ReadableFileName(names.value(i)).replace(u'&', QStringLiteral("&&"));
    item->setText(QStringLiteral("&%1 %2").arg(QString::number(i + 1), name));
  }
  mnuSepRecent->setVisible(!names.isEmpty());
}

// Reads the picture with `read`, which may keep the file's bytes for the picture window and
// throws when it cannot read one, and shows it under `caption`. A picture that cannot be read is
// reported and changes nothing.
bool MDIPicForm::ShowPicture(const std::function<Picture(QByteArray& file)>& read,
                             const QString& caption) {
  // The picture is read before the picture window is reached, so that a window exists (and
  // "Encode!" is enabled) only while it holds a picture.
  Picture picture;
  QByteArray file;
  try {
    picture = read(file);
  } catch (const std::exception& error) {
    // What was opened and the cause, worded as the command line words them.
    dialogs_.DetailedWarning(this, kAppTitle, QStringLiteral("Invalid Picture File !"),
                             caption + QStringLiteral(": ") + QString::fromUtf8(error.what()));
    return false;
  }
  PicForm& form = ReachPicForm();
  form.SetPicture(std::move(picture), std::move(file));
  // Pending painting runs here; input waits until the picture window is complete.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  form.setWindowTitle(caption);
  auto* window = qobject_cast<QMdiSubWindow*>(form.parentWidget());
  window->show();
  mdiArea_->setActiveSubWindow(window);
  return true;
}

// The picture window, created on first use: its construction is its load step.
PicForm& MDIPicForm::ReachPicForm() {
  if (picForm_ != nullptr) return *picForm_;
  picForm_ = new PicForm(*this, dialogs_);
  // A selection drawn or moved runs once the picture window has handled the release.
  picForm_->OnGestureEnd([this] {
    QTimer::singleShot(0, this, [this] {
      if (picForm_ != nullptr && picForm_->RunRegion() != runRegion_) EncodeOnChange();
    });
  });
  QMdiSubWindow* window = mdiArea_->addSubWindow(picForm_);
  window->resize(mdiArea_->size() * 2 / 3);
  return *picForm_;
}

}  // namespace stipplor
