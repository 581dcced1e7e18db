#include "picture_window/pic_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <thread>

#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/page_pictures.h"
#include "picture_window/scroll_layout.h"
#include "picture_window/selection_status.h"

namespace stipplor {

namespace {

// Exactly the left button and none of Shift, Ctrl and Alt: the gesture that draws. Every other
// event with a button moves the selection.
bool PlainLeft(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
  return buttons == Qt::LeftButton &&
         (keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

QScrollBar* MakeScrollBar(Qt::Orientation orientation, const char* name, QWidget* parent) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setObjectName(QString::fromLatin1(name));
  // One position per click on an arrow and per click in the track.
  bar->setSingleStep(1);
  bar->setPageStep(1);
  // The bars never keep the keyboard focus; it belongs to the viewport.
  bar->setFocusPolicy(Qt::NoFocus);
  bar->hide();
  return bar;
}

}  // namespace

PicForm::PicForm(MainFrame& frame, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      frame_(frame),
      dialogs_(dialogs),
      PicBox(new QWidget(this)),
      Pic(new QLabel(PicBox)),
      selRect(new QRubberBand(QRubberBand::Rectangle, Pic)),
      HScroll1(MakeScrollBar(Qt::Horizontal, "HScroll1", this)),
      VScroll1(MakeScrollBar(Qt::Vertical, "VScroll1", this)) {
  PicBox->setObjectName(QStringLiteral("PicBox"));
  PicBox->setFocusPolicy(Qt::StrongFocus);
  PicBox->installEventFilter(this);
  Pic->setObjectName(QStringLiteral("Pic"));
  Pic->setMouseTracking(true);
  Pic->installEventFilter(this);
  selRect->setObjectName(QStringLiteral("selRect"));
  // The rectangle is drawn over the picture; it never takes the picture's mouse events.
  selRect->setAttribute(Qt::WA_TransparentForMouseEvents);
  selRect->hide();
  connect(HScroll1, &QScrollBar::valueChanged, this, &PicForm::HScroll1_Change);
  connect(VScroll1, &QScrollBar::valueChanged, this, &PicForm::VScroll1_Change);

  // Load step: a fresh selection, and "Encode!" is available while this window exists.
  selection_.Reset();
  frame_.SetMenuEnabled(MenuItem::mnuEncode, true);
}

void PicForm::SetPicture(Picture picture, QByteArray file) {
  Pic->setPixmap(QPixmap::fromImage(ToQImage(picture)));
  Pic->resize(picture.Width(), picture.Height());
  picture_ = std::move(picture);
  file_ = std::move(file);
  newPicture_ = true;
  // A window not shown yet is laid out when it first shows, at its real size.
  if (isVisible()) Form_Resize();
  UpdateSelStatus();
}

Region PicForm::RunRegion() const {
  if (selection_.Shown) return selection_.Rect(Pic->x(), Pic->y());
  return Region{0, 0, picture_.Width(), picture_.Height()};
}

EncodeResult PicForm::Encode(const EncodeOptions& options, LineSink& sink, int pageWidth,
                             long long maxBytes) {
  // The run hides the rectangle while it reads the picture and shows it again at the end; a run
  // that fails leaves it hidden.
  const bool useSelection = selection_.Shown;
  std::optional<Region> region;
  if (useSelection) {
    region = selection_.Rect(Pic->x(), Pic->y());
    selection_.Shown = false;
    selRect->hide();
  }
  // Rows are built on every core; the lines reach the sink on this thread, in order.
  const int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
  PagePictures pictures(
      file_, [this]() -> const Picture& { return picture_; }, region, options.Ratio);
  if (maxBytes != 0) pageWidth = FitPageToBytes(pictures, options, false, maxBytes, threads);
  pageWidth_ = pageWidth;
  const std::optional<Picture> scaled = pictures.For(pageWidth);
  EncodeResult result = scaled ? stipplor::Encode(*scaled, std::nullopt, options, sink, threads)
                               : stipplor::Encode(picture_, region, options, sink, threads);
  range_ = result.Range;
  if (useSelection) {
    selection_.Shown = true;
    selRect->show();
  }
  return result;
}

void PicForm::Form_Activate() {
  frame_.SetMenuVisible(MenuItem::mnuPicture, true);
  frame_.SetMenuChecked(MenuItem::mnuPicture, true);
  frame_.SetMenuChecked(MenuItem::mnuRuvaDev, false);
  frame_.SetMenuEnabled(MenuItem::mnuTileHorizontally, true);
  frame_.SetMenuEnabled(MenuItem::mnuTileVertically, true);
}

void PicForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

// Unload step: the window never refuses to close.
void PicForm::closeEvent(QCloseEvent* event) {
  frame_.SetStatusPanel(1, QString());
  frame_.SetStatusPanel(2, QString());
  frame_.SetMenuEnabled(MenuItem::mnuEncode, false);
  frame_.SetMenuVisible(MenuItem::mnuPicture, false);
  if (!frame_.MenuVisible(MenuItem::mnuRuvaDev)) {
    frame_.SetMenuEnabled(MenuItem::mnuTileHorizontally, false);
    frame_.SetMenuEnabled(MenuItem::mnuTileVertically, false);
  }
  event->accept();
}

bool PicForm::eventFilter(QObject* watched, QEvent* event) {
  // Pic receives the moves of a gesture wherever the pointer goes while its button is held:
  // Qt grabs the mouse for the widget that was pressed.
  const QEvent::Type type = event->type();
  if (watched == Pic && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                         type == QEvent::MouseMove)) {
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    const QPoint at = mouse.position().toPoint();
    if (type == QEvent::MouseMove) {
      Pic_MouseMove(mouse.buttons(), mouse.modifiers(), at.x(), at.y());
    } else {
      Pic_MouseDown(mouse.button(), mouse.modifiers(), at.x(), at.y());
    }
    return true;
  }
  // The wheel over the picture scrolls it vertically, as the bar's own wheel handling would.
  if (watched == PicBox && event->type() == QEvent::Wheel && VScroll1->isVisible()) {
    QCoreApplication::sendEvent(VScroll1, event);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void PicForm::Form_Resize() {
  try {
    const bool minimized = parentWidget() != nullptr && parentWidget()->isMinimized();
    const ScrollLayoutInput input{.W = width(),
                                  .H = height(),
                                  .Minimized = minimized,
                                  .PW = Pic->width(),
                                  .PH = Pic->height(),
                                  .PL = Pic->x(),
                                  .PT = Pic->y()};
    const auto layout = newPicture_ ? LayOutNewPicture(input) : LayOut(input);
    if (!layout) return;
    newPicture_ = false;
    HScroll1->hide();
    VScroll1->hide();
    PicBox->setGeometry(0, 0, layout->ViewportWidth, layout->ViewportHeight);
    HScroll1->setGeometry(0, layout->HScroll.Edge, layout->HScroll.Length, kBarThickness);
    VScroll1->setGeometry(layout->VScroll.Edge, 0, kBarThickness, layout->VScroll.Length);
    for (const auto& [bar, place] :
         {std::pair{HScroll1, layout->HScroll}, std::pair{VScroll1, layout->VScroll}}) {
      if (place.Shown) {
        bar->show();
        bar->setMaximum(place.Maximum);
      }
      // A bar no longer needed for a new picture scrolls it back to 0; otherwise a hidden bar
      // already stands there.
      bar->setValue(place.Position);
    }
  } catch (const std::exception& error) {
    dialogs_.Warning(this, QStringLiteral("Form_Resize_Error"), QString::fromUtf8(error.what()));
  }
}

// X and Y are picture coordinates; the selection is kept in viewport coordinates.
void PicForm::Pic_MouseDown(Qt::MouseButtons button, Qt::KeyboardModifiers keys, int X, int Y) {
  selection_.Press(PlainLeft(button, keys), Pic->x() + X, Pic->y() + Y);
  if (!selection_.Shown) selRect->hide();
  UpdateSelStatus();
}

void PicForm::Pic_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, int X, int Y) {
  if (buttons == Qt::NoButton) {
    if (!selection_.Shown) frame_.SetStatusPanel(1, PointerText(X, Y));
    return;
  }
  if (PlainLeft(buttons, keys)) {
    if (!selection_.DrawTo(Pic->x() + X, Pic->y() + Y)) {
      selRect->hide();
      return;
    }
    UpdateSelRect();
    selRect->show();
  } else {
    selection_.MoveTo(Pic->x() + X, Pic->y() + Y, Pic->x(), Pic->y(), Pic->width(), Pic->height());
    UpdateSelRect();
  }
  UpdateSelStatus();
}

void PicForm::HScroll1_Change(int position) {
  const int left = -kPixelsPerPosition * position;
  selection_.ScrollX(Pic->x(), left);
  Pic->move(left, Pic->y());
  UpdateSelRect();
  UpdateSelStatus();
  PicBox->setFocus();
}

void PicForm::VScroll1_Change(int position) {
  const int top = -kPixelsPerPosition * position;
  selection_.ScrollY(Pic->y(), top);
  Pic->move(Pic->x(), top);
  UpdateSelRect();
  UpdateSelStatus();
  PicBox->setFocus();
}

void PicForm::UpdateSelRect() {
  if (!selection_.Shown) return;
  const Region rect = selection_.Rect(Pic->x(), Pic->y());
  selRect->setGeometry(rect.Left, rect.Top, rect.Width, rect.Height);
}

void PicForm::UpdateSelStatus() {
  frame_.SetStatusPanel(1, SelectionText(selection_.Shown, selection_.Rect(Pic->x(), Pic->y())));
  frame_.SetStatusPanel(2, ImageText(Pic->width(), Pic->height()));
}

}  // namespace stipplor
