#include "result_window/text_form.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QStackedLayout>
#include <QWebEngineView>
#include <stdexcept>

#include "frame/busy_pointer.h"
#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "picture_io/file_names.h"
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
      pane_(new QStackedLayout(this)) {
  setWindowTitle(QStringLiteral("RuvaDev"));
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
  CanUnloadMe = false;
  WebBrowser1->setUrl(QUrl(QStringLiteral("about:blank")));
}

// The view and its page go after this destructor, with the QWidget base: a load that fails or a
// browser process that ends meanwhile must not reach a form that is no longer whole.
TextForm::~TextForm() { WebBrowser1->page()->disconnect(WebBrowser1); }

LineSink& TextForm::Document() { return *run_; }

void TextForm::Present(HtmlDocument document) {
  const QString path = folder_.filePath(QStringLiteral("result-%1.html").arg(shownCount_ + 1));
  const QString previous = folder_.filePath(QStringLiteral("result-%1.html").arg(shownCount_));
  if (!folder_.isValid()) throw std::runtime_error(folder_.errorString().toStdString());
  QFile file(path);
  const auto size = static_cast<qint64>(document.Text().size());
  if (!file.open(QIODevice::WriteOnly) || file.write(document.Text().data(), size) != size) {
    throw std::runtime_error(file.errorString().toStdString());
  }
  file.close();
  ++shownCount_;
  shown_ = std::move(document);
  savedFile_.clear();
  // A page still loading is stopped first: the new one replaces it.
  WebBrowser1->stop();
  pane_->setCurrentWidget(WebBrowser1);
  WebBrowser1->load(QUrl::fromLocalFile(path));
  QFile::remove(previous);
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
    if (error.isEmpty()) error = WriteWhole(FileName, SavedFileForm(shown_.BodyMarkup()));
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
