#pragma once

#include <QWidget>
#include <functional>

#include "engine/encode.h"
#include "engine/picture.h"
#include "picture_window/selection_model.h"

class QRubberBand;
class QScrollBar;
class QTimer;

namespace stipplor {

class Dialogs;
class MainFrame;
class PicturePanel;

// The picture window: shows the picture at its natural size or a zoom in the viewport PicBox,
// scrolled in 8-pixel steps by HScroll1 and VScroll1 (and while a drag is held at an edge), and
// holds the picture and the selection that a run reads. It is the content of a subwindow of the
// main window's MDI area; constructing it is the window's load step, closing it its unload step.
class PicForm : public QWidget {
 public:
  PicForm(MainFrame& frame, Dialogs& dialogs, QWidget* parent = nullptr);

  // Puts a picture into Pic, which takes the picture's size times the zoom, and lays the window out
  // for it at once: bars and ranges for the new size, the scroll positions kept as far as they
  // reach (the selection stays on its picture pixels), and the status texts for the new picture.
  // `file` holds the bytes it was decoded from, which a run with a page width may decode again at a
  // smaller size.
  void SetPicture(Picture picture, QByteArray file = {});
  const Picture& picture() const { return picture_; }

  // One encoding run over the selection, or the whole picture when none is shown, written to
  // `sink`, scaled down to `pageWidth` when that is not 0; with `maxBytes` not 0, to the widest
  // page width whose saved file is at most that many bytes instead (see FitPageToBytes). Errors
  // of the run pass to the caller.
  EncodeResult Encode(const EncodeOptions& options, LineSink& sink, int pageWidth = 0,
                      long long maxBytes = 0);
  // The region a run would take now, in picture pixels.
  Region RunRegion() const;
  const BrightnessRange& Range() const { return range_; }
  // The page width of the last run: the one given, or the one fitted to its bytes.
  int PageWidth() const { return pageWidth_; }

  // The window became the active child window.
  void Form_Activate();

  const SelectionModel& Selection() const { return selection_; }
  // Called after a gesture over the picture ends with the button's release, when the selection
  // drawn or moved has settled.
  void OnGestureEnd(std::function<void()> ended) { gestureEnded_ = std::move(ended); }

  // The zoom chosen: kFitToWindow or one of kZoomLevels. The window starts at 100 %; a level
  // whose panel would pass the scroll range is refused.
  void SetZoom(double choice);
  double ZoomChoice() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Resize();
  void Pic_MouseDown(Qt::MouseButtons button, Qt::KeyboardModifiers keys, int X, int Y);
  void Pic_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, int X, int Y);
  void HScroll1_Change(int position);
  void VScroll1_Change(int position);
  void UpdateSelRect();
  void UpdateSelStatus();
  // Where the picture stands in PicBox now.
  ViewportMap Map() const;
  // A new zoom, the picture point under viewport point `at` kept in place; laid out by the next
  // Form_Resize.
  void Rezoom(double zoom, QPoint at);
  // SetZoom about viewport point `at`, laid out at once.
  void ZoomTo(double choice, QPoint at);
  // While a drag is held at or beyond an edge of PicBox, a timer scrolls towards it and repeats
  // the drag's last step at the pointer, so that the selection grows or moves with the view.
  void FollowDrag(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint at);
  void DragScroll_Timer();

  MainFrame& frame_;
  Dialogs& dialogs_;
  Picture picture_;
  QByteArray file_;
  BrightnessRange range_;
  int pageWidth_ = 0;
  SelectionModel selection_;
  // A picture or a zoom came in since the last layout: the scroll positions are brought within
  // the ranges.
  bool newPicture_ = false;
  double zoom_ = 1;
  bool fit_ = false;   // the zoom follows the window's size
  int wheelTurn_ = 0;  // Ctrl+wheel turned short of a notch
  // The drag that the timer follows: its buttons and keys, and the pointer in PicBox.
  Qt::MouseButtons dragButtons_;
  Qt::KeyboardModifiers dragKeys_;
  QPoint dragAt_;
  std::function<void()> gestureEnded_;

  QWidget* PicBox;
  PicturePanel* Pic;
  QRubberBand* selRect;
  QScrollBar* HScroll1;
  QScrollBar* VScroll1;
  QTimer* DragScroll;
};

}  // namespace stipplor
