#include "picture_window/pic_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>

#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/page_pictures.h"
#include "picture_window/picture_panel.h"
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

// How often a drag held at an edge scrolls the view.
constexpr int kDragScrollMilliseconds = 30;

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
      Pic(new PicturePanel(PicBox)),
      selRect(new QRubberBand(QRubberBand::Rectangle, Pic)),
      HScroll1(MakeScrollBar(Qt::Horizontal, "HScroll1", this)),
      VScroll1(MakeScrollBar(Qt::Vertical, "VScroll1", this)),
      DragScroll(new QTimer(this)) {
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
  DragScroll->setInterval(kDragScrollMilliseconds);
  connect(DragScroll, &QTimer::timeout, this, &PicForm::DragScroll_Timer);

  // Load step: a fresh selection, and "Encode!" is available while this window exists.
  selection_.Reset();
  frame_.SetMenuEnabled(MenuItem::mnuEncode, true);
}

void PicForm::SetPicture(Picture picture, QByteArray file) {
  Pic->SetPicture(ToQImage(picture));
  picture_ = std::move(picture);
  file_ = std::move(file);
  newPicture_ = true;
  // A window not shown yet is laid out when it first shows, at its real size.
  if (isVisible()) Form_Resize();
  UpdateSelStatus();
}

Region PicForm::RunRegion() const {
  if (selection_.Shown) return selection_.Rect(Map());
  return Region{0, 0, picture_.Width(), picture_.Height()};
}

EncodeResult PicForm::Encode(const EncodeOptions& options, LineSink& sink, int pageWidth,
                             long long maxBytes) {
  // The run hides the rectangle while it reads the picture and shows it again at the end; a run
  // that fails leaves it hidden.
  const bool useSelection = selection_.Shown;
  std::optional<Region> region;
  if (useSelection) {
    region = selection_.Rect(Map());
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
  frame_.SetStatusPanel(kPanelPictureZoom, QString());
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
      FollowDrag(mouse.buttons(), mouse.modifiers(), Pic->pos() + at);
    } else {
      Pic_MouseDown(mouse.button(), mouse.modifiers(), at.x(), at.y());
    }
    return true;
  }
  if (watched == Pic && type == QEvent::MouseButtonRelease) {
    DragScroll->stop();
    if (gestureEnded_) gestureEnded_();
  }
  if (watched == PicBox && type == QEvent::Wheel) {
    const auto& wheel = static_cast<const QWheelEvent&>(*event);
    // Ctrl+wheel zooms about the pointer, a level a notch; a touchpad's small turns add up.
    if ((wheel.modifiers() & Qt::ControlModifier) != 0) {
      constexpr int kNotch = 120;
      wheelTurn_ += wheel.angleDelta().y();
      const int steps = wheelTurn_ / kNotch;
      wheelTurn_ %= kNotch;
      if (steps != 0) ZoomTo(NextZoom(zoom_, steps), wheel.position().toPoint());
      return true;
    }
    // The wheel over the picture scrolls it vertically, as the bar's own wheel handling would.
    if (VScroll1->isVisible()) {
      QCoreApplication::sendEvent(VScroll1, event);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void PicForm::Form_Resize() {
  const bool minimized = parentWidget() != nullptr && parentWidget()->isMinimized();
  if (fit_ && height() > 0 && !minimized) {
    Rezoom(FitZoom(width(), height(), picture_.Width(), picture_.Height()), QPoint());
  }
  try {
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

// X and Y are Pic's coordinates (picture coordinates times the zoom); the selection is kept in
// viewport coordinates.
void PicForm::Pic_MouseDown(Qt::MouseButtons button, Qt::KeyboardModifiers keys, int X, int Y) {
  selection_.Press(PlainLeft(button, keys), Pic->x() + X, Pic->y() + Y, Map());
  if (!selection_.Shown) selRect->hide();
  UpdateSelStatus();
}

void PicForm::Pic_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, int X, int Y) {
  if (buttons == Qt::NoButton) {
    if (!selection_.Shown) {
      const ViewportMap view = Map();
      frame_.SetStatusPanel(1, PointerText(view.PictureX(view.L + X), view.PictureY(view.T + Y)));
    }
    return;
  }
  if (PlainLeft(buttons, keys)) {
    if (!selection_.DrawTo(Pic->x() + X, Pic->y() + Y, Map())) {
      selRect->hide();
      return;
    }
    UpdateSelRect();
    selRect->show();
  } else {
    selection_.MoveTo(Pic->x() + X, Pic->y() + Y, Map(), picture_.Width(), picture_.Height());
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

// The rectangle lies in Pic: the stored corners less Pic's edges, on whole panel pixels.
void PicForm::UpdateSelRect() {
  if (!selection_.Shown) return;
  const auto in = [](double viewport, int edge) {
    return static_cast<int>(std::floor(viewport - edge));
  };
  const int left = in(selection_.SelX0, Pic->x());
  const int top = in(selection_.SelY0, Pic->y());
  selRect->setGeometry(left, top, in(selection_.SelX1, Pic->x()) - left,
                       in(selection_.SelY1, Pic->y()) - top);
}

void PicForm::UpdateSelStatus() {
  frame_.SetStatusPanel(1, SelectionText(selection_.Shown, selection_.Rect(Map())));
  frame_.SetStatusPanel(2, ImageText(picture_.Width(), picture_.Height()));
}

ViewportMap PicForm::Map() const { return {Pic->x(), Pic->y(), zoom_}; }

double PicForm::ZoomChoice() const { return fit_ ? kFitToWindow : zoom_; }

void PicForm::SetZoom(double choice) {
  ZoomTo(choice, QPoint(PicBox->width() / 2, PicBox->height() / 2));
}

void PicForm::ZoomTo(double choice, QPoint at) {
  const int longest = std::max(picture_.Width(), picture_.Height());
  if (PanelLength(longest, choice) > kMaxScrollPosition * kPixelsPerPosition) return;
  fit_ = choice == kFitToWindow;
  if (!fit_) Rezoom(choice, at);
  Form_Resize();
  UpdateSelRect();
}

void PicForm::Rezoom(double zoom, QPoint at) {
  if (zoom == zoom_) return;
  const ViewportMap from = Map();
  const ViewportMap to{ZoomedOffset(from.L, at.x(), zoom_, zoom),
                       ZoomedOffset(from.T, at.y(), zoom_, zoom), zoom};
  selection_.Rezoom(from, to);
  zoom_ = zoom;
  Pic->SetZoom(zoom);
  Pic->move(to.L, to.T);
  newPicture_ = true;
  frame_.SetStatusPanel(kPanelPictureZoom, ZoomText(zoom));
}

void PicForm::FollowDrag(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint at) {
  dragButtons_ = buttons;
  dragKeys_ = keys;
  dragAt_ = at;
  const bool atEdge =
      DragScrollStep(at.x(), PicBox->width()) != 0 || DragScrollStep(at.y(), PicBox->height()) != 0;
  if (buttons == Qt::NoButton || !atEdge) {
    DragScroll->stop();
  } else if (!DragScroll->isActive()) {
    DragScroll->start();
  }
}

void PicForm::DragScroll_Timer() {
  // A release that never reached Pic ends the drag all the same.
  if (QGuiApplication::mouseButtons() == Qt::NoButton) {
    DragScroll->stop();
    return;
  }
  const QPoint before = Pic->pos();
  if (HScroll1->isVisible()) {
    HScroll1->setValue(HScroll1->value() + DragScrollStep(dragAt_.x(), PicBox->width()));
  }
  if (VScroll1->isVisible()) {
    VScroll1->setValue(VScroll1->value() + DragScrollStep(dragAt_.y(), PicBox->height()));
  }
  if (Pic->pos() == before) return;
  const QPoint at = dragAt_ - Pic->pos();
  Pic_MouseMove(dragButtons_, dragKeys_, at.x(), at.y());
}

}  // namespace stipplor
