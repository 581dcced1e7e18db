#include "shell/mdi_pic_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QWebEngineView>
#include <exception>

#include "engine/page_width.h"
#include "frame/busy_pointer.h"
#include "frame/dialogs.h"
#include "picture_window/pic_form.h"
#include "result_window/text_form.h"
#include "shell/page_guard.h"
#include "shell/pasted_picture.h"

namespace stipplor {

MDIPicForm::MDIPicForm(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), mdiArea_(new QMdiArea(this)) {
  setWindowTitle(kAppTitle);
  setAcceptDrops(true);
  resize(1024, 768);
  setCentralWidget(mdiArea_);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MDIPicForm::SubWindowActivated);
  BuildMenuBar();

  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i] = new QLabel(statusBar());
    panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    statusBar()->addWidget(panels_[i], i == 0 ? 1 : 0);
  }

  // The result window exists, hidden, from the start, so that every run can write into it.
  textForm_ = new TextForm(*this, dialogs_);
  mdiArea_->addSubWindow(textForm_)->hide();
  ShowLoadProgress();
}

// The status bar shows how far the result window's page has loaded, from the moment the new page
// replaces the old one in the view until it is loaded.
void MDIPicForm::ShowLoadProgress() {
  auto* bar = new QProgressBar(statusBar());
  bar->setObjectName(QStringLiteral("LoadProgress"));
  bar->setRange(0, 100);
  bar->setMaximumWidth(160);
  bar->setFormat(QStringLiteral("Page %p%"));
  bar->hide();
  statusBar()->addPermanentWidget(bar);
  QWebEngineView* view = textForm_->WebBrowser1;
  connect(view, &QWebEngineView::loadStarted, bar, [bar] { bar->setValue(0); });
  connect(view, &QWebEngineView::urlChanged, bar, &QProgressBar::show);
  connect(view, &QWebEngineView::loadProgress, bar, &QProgressBar::setValue);
  connect(view, &QWebEngineView::loadFinished, bar, [bar] {
    bar->setValue(100);
    bar->hide();
  });
}

std::optional<int> MDIPicForm::RunPageWidth() {
  // A page fitted to a mail's bytes is far within what browsers show.
  if (options_.MaxBytes != 0) return 0;
  const auto guard = GuardPage(picForm_->RunRegion(), options_.ForEncode(), options_.PageWidth);
  if (!guard) return options_.PageWidth;
  return guard->WidthFor(dialogs_.Choose(this, kAppTitle, guard->Text(), guard->Choices()),
                         options_.PageWidth);
}

// The area and its sub-windows go after this destructor, with the QMainWindow base: their last
// activation signals must not reach a frame that is no longer whole.
MDIPicForm::~MDIPicForm() { disconnect(mdiArea_, nullptr, this, nullptr); }

void MDIPicForm::EncodeOnChange() {
  const auto* result = textForm_ != nullptr ? textForm_->parentWidget() : nullptr;
  if (mnuEncodeOnChange->isChecked() && picForm_ != nullptr && result != nullptr &&
      result->isVisible() && mnuSave->isEnabled()) {
    mnuEncode_Click();
  }
}

QString MDIPicForm::StatusPanel(int panel) const {
  return panels_.at(static_cast<std::size_t>(panel - 1))->text();
}

void MDIPicForm::SetStatusPanel(int panel, const QString& text) {
  panels_.at(static_cast<std::size_t>(panel - 1))->setText(text);
}

QAction* MDIPicForm::Action(MenuItem item) const {
  switch (item) {
    case MenuItem::mnuSave:
      return mnuSave;
    case MenuItem::mnuEncode:
      return mnuEncode;
    case MenuItem::mnuTileHorizontally:
      return mnuTileHorizontally;
    case MenuItem::mnuTileVertically:
      return mnuTileVertically;
    case MenuItem::mnuPicture:
      return mnuPicture;
    case MenuItem::mnuRuvaDev:
      return mnuRuvaDev;
  }
  return nullptr;
}

void MDIPicForm::SetMenuEnabled(MenuItem item, bool enabled) { Action(item)->setEnabled(enabled); }
void MDIPicForm::SetMenuVisible(MenuItem item, bool visible) { Action(item)->setVisible(visible); }
void MDIPicForm::SetMenuChecked(MenuItem item, bool checked) { Action(item)->setChecked(checked); }
bool MDIPicForm::MenuVisible(MenuItem item) const { return Action(item)->isVisible(); }

// Whatever closes the frame, the result window closes for real with it; nothing is asked.
void MDIPicForm::closeEvent(QCloseEvent* event) {
  if (textForm_ != nullptr) textForm_->CanUnloadMe = true;
  mdiArea_->closeAllSubWindows();
  event->accept();
}

void MDIPicForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// One dropped file opens; several, or data that is no file, change nothing.
void MDIPicForm::dropEvent(QDropEvent* event) {
  const QString file = CopiedFile(*event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  LoadPicFile(file);
}

void MDIPicForm::mnuFileOpen_Click() {
  // The first choice lists every name the three formats go by, so that no picture hides.
  const QString FileName =
      dialogs_.OpenFile(this,
                        QStringLiteral("*.bmp;*.dib;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif|"
                                       "*.bmp;*.dib;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif|*.*|*.*"),
                        QString());
  if (FileName.isEmpty()) return;
  LoadPicFile(FileName);
}

// Makes a name typed without extension a page.
void MDIPicForm::mnuSave_Click() {
  QString FileName =
      dialogs_.SaveFile(this, QStringLiteral("(*.html;*.htm) | *.html;*.htm"), ProposedPage());
  if (FileName.isEmpty() || textForm_ == nullptr) return;
  if (QFileInfo(FileName).suffix().isEmpty()) FileName += QStringLiteral(".html");
  saveFolder_ = QFileInfo(FileName).absolutePath();
  textForm_->SaveAs(FileName);
}

// The name Save As proposes: the encoded picture's with ".html" ("pasted.html" for a pasted
// picture), in the folder saved to last, at first the picture's (the home folder when pasted).
QString MDIPicForm::ProposedPage() const {
  const QFileInfo picture(resultPicture_);
  const bool pasted = resultPicture_.isEmpty();
  const QString folder = !saveFolder_.isEmpty() ? saveFolder_
                         : pasted               ? QDir::homePath()
                                                : picture.absolutePath();
  return QDir(folder).filePath((pasted ? QStringLiteral("pasted") : picture.completeBaseName()) +
                               QStringLiteral(".html"));
}

void MDIPicForm::mnuFileExit_Click() { close(); }

void MDIPicForm::mnuEncode_Click() {
  const std::optional<int> pageWidth = RunPageWidth();
  if (!pageWidth) return;
  QString failure;
  {
    BusyPointer busy(this);
    // Painting and the like run before the run holds the thread; a click waits for its end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
      const EncodeResult result = picForm_->Encode(options_.ForEncode(), textForm_->Document(),
                                                   *pageWidth, options_.MaxBytes);
      textForm_->setWindowTitle(
          QString::fromStdString(result.Caption + PageWidthCaption(picForm_->PageWidth())));
      resultPicture_ = pictureFile_;
      runRegion_ = picForm_->RunRegion();
      SetStatusPanel(kPanelPage,
                     PageSummary(PageCells(runRegion_.Width, runRegion_.Height, options_.Ratio,
                                           picForm_->PageWidth()),
                                 static_cast<long long>(textForm_->ShownDocument().Text().size())));
      ShowResultWindow();
      mnuSave->setEnabled(true);
    } catch (const std::exception& error) {
      // A failed run leaves the previous result and "Save As" as they were.
      failure = QString::fromUtf8(error.what());
    }
  }
  if (!failure.isEmpty()) dialogs_.Warning(this, kAppTitle, failure);
}

// Arranges the shown child windows once; they are not kept tiled afterwards. The Window menu
// tells which windows are shown.
void MDIPicForm::Tile(TileCommand command) {
  const bool p = mnuPicture->isVisible();
  const bool t = mnuRuvaDev->isVisible();
  const std::pair<ChildWindow, QWidget*> children[] = {{ChildWindow::Picture, picForm_},
                                                       {ChildWindow::Result, textForm_}};
  const auto frame = [](QWidget* child) {
    return qobject_cast<QMdiSubWindow*>(child->parentWidget());
  };
  for (const auto& [which, child] : children) {
    if (which == ChildWindow::Picture ? p : t) frame(child)->showNormal();
  }
  // The picture window is placed first; the client area is measured again for each window.
  for (const auto& [which, child] : children) {
    const QWidget* area = mdiArea_->viewport();
    const double dpiX = area->logicalDpiX();
    const double dpiY = area->logicalDpiY();
    const auto place = TilePlace(command, which, p, t, ToTwips(area->width(), dpiX),
                                 ToTwips(area->height(), dpiY));
    if (place) frame(child)->setGeometry(ToPixels(*place, dpiX, dpiY));
  }
}

void MDIPicForm::mnuPicture_Click() {
  mnuPicture->setChecked(true);
  mnuRuvaDev->setChecked(false);
  if (picForm_ == nullptr) return;
  mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(picForm_->parentWidget()));
  picForm_->setFocus();
}

void MDIPicForm::mnuRuvaDev_Click() {
  mnuRuvaDev->setChecked(true);
  mnuPicture->setChecked(false);
  if (textForm_ == nullptr) return;
  mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(textForm_->parentWidget()));
  textForm_->setFocus();
}

void MDIPicForm::SubWindowActivated(QMdiSubWindow* window) {
  if (window == nullptr) return;
  if (picForm_ != nullptr && window->widget() == picForm_) picForm_->Form_Activate();
  if (textForm_ != nullptr && window->widget() == textForm_) textForm_->Form_Activate();
}

// Showing the result window activates it; when it already is the active one, its activation
// step runs all the same so that the Window menu lists it again. The first time, it goes beside
// the picture window when there is room; afterwards it stays wherever the user put it.
void MDIPicForm::ShowResultWindow() {
  auto* window = qobject_cast<QMdiSubWindow*>(textForm_->parentWidget());
  if (!resultPlaced_ && picForm_ != nullptr) {
    resultPlaced_ = true;
    const auto place =
        PlaceBeside(picForm_->parentWidget()->geometry(), mdiArea_->viewport()->size());
    if (place) window->setGeometry(*place);
  }
  window->show();
  if (mdiArea_->activeSubWindow() == window) {
    textForm_->Form_Activate();
  } else {
    mdiArea_->setActiveSubWindow(window);
  }
}

}  // namespace stipplor
