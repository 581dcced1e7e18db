#include "picture_window/picture_panel.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "picture_window/scroll_layout.h"

namespace stipplor {

void PicturePanel::SetPicture(const QImage& image) {
  picture_ = QPixmap::fromImage(image);
  Fit();
}

void PicturePanel::SetZoom(double zoom) {
  zoom_ = zoom;
  Fit();
}

void PicturePanel::Fit() {
  const QSize size(PanelLength(picture_.width(), zoom_), PanelLength(picture_.height(), zoom_));
  reduced_ = zoom_ < 1 ? picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       : QPixmap();
  resize(size);
  update();
}

void PicturePanel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (zoom_ < 1) {
    painter.drawPixmap(event->rect(), reduced_, event->rect());
    return;
  }
  // The picture pixels under the exposed part, each drawn as a block of zoom x zoom.
  const QRect exposed = event->rect();
  const auto pixel = [this](int at) { return static_cast<int>(std::floor(at / zoom_)); };
  const QRect source = QRect(QPoint(pixel(exposed.left()), pixel(exposed.top())),
                             QPoint(pixel(exposed.right()), pixel(exposed.bottom()))) &
                       picture_.rect();
  painter.drawPixmap(QRectF(source.x() * zoom_, source.y() * zoom_, source.width() * zoom_,
                            source.height() * zoom_),
                     picture_, QRectF(source));
}

}  // namespace stipplor
