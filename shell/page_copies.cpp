// Copy Page and Open in Browser: the shown page handed to other programs, in the very bytes
// Save As writes.

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include "frame/dialogs.h"
#include "picture_io/file_names.h"
#include "result_window/save_file.h"
#include "result_window/text_form.h"
#include "shell/mdi_pic_form.h"

namespace stipplor {

namespace {

// A file URL of the name's own bytes: QUrl::fromLocalFile() would make a name that is no UTF-8
// unreadable.
QUrl FileUrl(const QString& name) {
  return QUrl::fromEncoded("file://" + FileNameBytes(name).toPercentEncoding("/"));
}

}  // namespace

// As HTML, which a mail composer or a rich-text editor pastes as the drawing, and as text, the
// markup itself, for editors of HTML source.
void MDIPicForm::mnuCopyPage_Click() {
  const QByteArray page = QByteArray::fromStdString(textForm_->SavedPage());
  auto* data = new QMimeData;
  data->setData(QStringLiteral("text/html"), page);
  data->setData(QStringLiteral("text/plain"), page);
  QGuiApplication::clipboard()->setMimeData(data);
}

// The saved file when the shown page was saved and is still there, else a copy in a folder that
// goes when the program ends. A platform without desktop services (offscreen, for one) leaves the
// file to xdg-open, as Qt does on X11 and Wayland.
void MDIPicForm::mnuOpenInBrowser_Click() {
  QString page = textForm_->SavedFile();
  if (page.isEmpty() || !IsTaken(page)) {
    if (browserCopies_ == nullptr) browserCopies_ = std::make_unique<QTemporaryDir>();
    page = browserCopies_->filePath(QStringLiteral("%1-%2.html")
                                        .arg(QFileInfo(ProposedPage()).completeBaseName(),
                                             QString::number(++browserCopyCount_)));
    const QString error = browserCopies_->isValid() ? WriteWhole(page, textForm_->SavedPage())
                                                    : browserCopies_->errorString();
    if (!error.isEmpty()) {
      dialogs_.Warning(this, kAppTitle, QStringLiteral("Cannot open the page: ") + error);
      return;
    }
  }
  const QUrl url = FileUrl(page);
  if (!QDesktopServices::openUrl(url) &&
      !QProcess::startDetached(QStringLiteral("xdg-open"),
                               {QString::fromLatin1(url.toEncoded())})) {
    dialogs_.Warning(this, kAppTitle, QStringLiteral("No browser could be started."));
  }
}

}  // namespace stipplor
