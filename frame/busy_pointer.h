#pragma once

#include <QWidget>

namespace stipplor {

// Shows the hourglass pointer over a window while it works, restored on every way out.
class BusyPointer {
 public:
  explicit BusyPointer(QWidget* window) : window_(window) { window_->setCursor(Qt::WaitCursor); }
  ~BusyPointer() { window_->unsetCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  QWidget* window_;
};

}  // namespace stipplor
