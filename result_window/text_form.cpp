#include "result_window/text_form.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>
#include <QStackedLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWheelEvent>

#include "frame/busy_pointer.h"
#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "picture_io/file_names.h"
#include "result_window/result_view.h"
#include "result_window/save_file.h"
#include "result_window/view_failure.h"

namespace stipplor {

// Collects the lines of one run; the document becomes the shown one only once the run ends it.
class TextForm::RunSink : public LineSink {
 public:
  explicit RunSink(TextForm& form) : form_(form) {}
  void Begin() override {
    document_ = HtmlDocument();
    document_.Begin();
  }
  void AppendLine(std::string_view line) override { document_.AppendLine(line); }
  void End() override {
    document_.End();
    form_.Present(std::exchange(document_, HtmlDocument()));
  }

 private:
  TextForm& form_;
  HtmlDocument document_;
};

TextForm::TextForm(MainFrame& frame, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      WebBrowser1(new QWebEngineView(this)),
      FailureMessage(new QLabel(this)),
      frame_(frame),
      dialogs_(dialogs),
      run_(std::make_unique<RunSink>(*this)),
      profile_(new QWebEngineProfile(this)),
      pane_(new QStackedLayout(this)) {
  setWindowTitle(QStringLiteral("RuvaDev"));
  profile_->installUrlSchemeHandler(
      kResultViewScheme,
      new ResultViewScheme([this] { return std::pair(shownCount_, &rows_); }, profile_));
  // The page goes with the view, before the profile it belongs to.
  WebBrowser1->setPage(new QWebEnginePage(profile_, WebBrowser1));
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  // A file dropped on the view must not replace the document.
  WebBrowser1->setAcceptDrops(false);
  // The view fills the client area at every size; the failure message takes its place.
  FailureMessage->setObjectName(QStringLiteral("FailureMessage"));
  FailureMessage->setWordWrap(true);
  FailureMessage->setAlignment(Qt::AlignCenter);
  FailureMessage->setMargin(24);
  pane_->setContentsMargins(0, 0, 0, 0);
  pane_->addWidget(WebBrowser1);
  pane_->addWidget(FailureMessage);
  WatchViewFailures(WebBrowser1, [this](const QString& cause) { ViewFailed(cause); });
  AddZoomKeys();
  // Each page starts at the browser's own zoom; the window's zoom stays from page to page.
  connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this] { ApplyZoom(); });
  CanUnloadMe = false;
  WebBrowser1->setUrl(QUrl(QStringLiteral("about:blank")));
}

// The view and its page go first, and nothing of theirs reaches a form that is no longer whole;
// then their profile, which must outlive them, and with it the scheme handler, whose requests
// still pending it answers from the document while the document is still here.
TextForm::~TextForm() {
  WebBrowser1->page()->disconnect(WebBrowser1);
  delete WebBrowser1;
  delete profile_;
}

LineSink& TextForm::Document() { return *run_; }

void TextForm::Present(HtmlDocument document) {
  shown_ = std::move(document);
  savedFile_.clear();
  rows_ = DocumentRows(shown_.Text());
  // The page's number changes with the document, so that the rows of an earlier one are no
  // longer served: a page still loading or drawing is replaced by the new one.
  ++shownCount_;
  WebBrowser1->stop();
  pane_->setCurrentWidget(WebBrowser1);
  WebBrowser1->load(ResultViewScheme::PageUrl(shownCount_));
}

// Ctrl with "+" (or "="), "-" and "0" while the window or its view has the focus.
void TextForm::AddZoomKeys() {
  const auto key = [this](QKeyCombination keys, void (ResultZoom::*step)()) {
    auto* shortcut = new QShortcut(QKeySequence(keys), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, step] {
      (zoom_.*step)();
      ApplyZoom();
    });
  };
  key(Qt::CTRL | Qt::Key_Plus, &ResultZoom::In);
  key(Qt::CTRL | Qt::Key_Equal, &ResultZoom::In);
  key(Qt::CTRL | Qt::Key_Minus, &ResultZoom::Out);
  key(Qt::CTRL | Qt::Key_0, &ResultZoom::Reset);
}

void TextForm::ApplyZoom() {
  WebBrowser1->setZoomFactor(zoom_.ViewFactor());
  WebBrowser1->page()->runJavaScript(
      QStringLiteral("window.stipplorView && stipplorView.setZoom(%1)").arg(zoom_.PageFactor()));
  frame_.SetStatusPanel(kPanelResultZoom, zoom_.StatusText());
  // The browser's widget inside the view takes the wheel; it may be new with a new page.
  if (QWidget* input = WebBrowser1->focusProxy()) input->installEventFilter(this);
}

// Ctrl with the wheel zooms in the window's steps instead of the browser's own.
bool TextForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
      zoom_.Wheel(wheel->angleDelta().y());
      ApplyZoom();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Never a blank pane and silence: the window says what happened, and a warning says it too.
void TextForm::ViewFailed(const QString& cause) {
  const QString text = ViewFailureText(cause);
  FailureMessage->setText(text);
  pane_->setCurrentWidget(FailureMessage);
  dialogs_.Warning(this, kAppTitle, text);
}

void TextForm::SaveAs(const QString& FileName) {
  QString error;
  {
    BusyPointer busy(this);
    error = SaveRefusal(FileName);
    if (error.isEmpty() && IsTaken(FileName)) {
      const QString question = ReadableFileName(FileName) + QStringLiteral(" already exists.") +
                               u'\r' + "Do you want to overwrite it?";
      if (!dialogs_.AskYesNo(this, kAppTitle, question)) return;
    }
    if (error.isEmpty()) error = WriteWhole(FileName, SavedPage());
    if (error.isEmpty()) {
      setWindowTitle(ReadableFileName(FileName));
      savedFile_ = FileName;
    }
  }
  if (!error.isEmpty()) {
    dialogs_.Warning(this, kAppTitle,
                     QStringLiteral("Cannot save %1: %2").arg(ReadableFileName(FileName), error));
  }
}

void TextForm::Form_Activate() {
  if (!isVisible()) return;
  frame_.SetMenuVisible(MenuItem::mnuRuvaDev, true);
  frame_.SetMenuChecked(MenuItem::mnuRuvaDev, true);
  frame_.SetMenuChecked(MenuItem::mnuPicture, false);
  frame_.SetMenuEnabled(MenuItem::mnuTileHorizontally, true);
  frame_.SetMenuEnabled(MenuItem::mnuTileVertically, true);
}

void TextForm::closeEvent(QCloseEvent* event) {
  frame_.SetMenuEnabled(MenuItem::mnuSave, false);
  frame_.SetMenuVisible(MenuItem::mnuRuvaDev, false);
  if (!frame_.MenuVisible(MenuItem::mnuPicture)) {
    frame_.SetMenuEnabled(MenuItem::mnuTileHorizontally, false);
    frame_.SetMenuEnabled(MenuItem::mnuTileVertically, false);
  }
  if (CanUnloadMe) {
    event->accept();
    return;
  }
  // Hide instead of closing; the document stays in the view for the next look.
  event->ignore();
  if (parentWidget() != nullptr) {
    parentWidget()->hide();
  } else {
    hide();
  }
}

}  // namespace stipplor
