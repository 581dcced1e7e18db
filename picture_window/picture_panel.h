#pragma once

#include <QPixmap>
#include <QWidget>

namespace stipplor {

// The picture panel Pic: the picture drawn at the window's zoom, as large as the picture times
// the zoom. Below 100 % it shows a smoothly reduced copy; above, every picture pixel as a block.
class PicturePanel : public QWidget {
 public:
  explicit PicturePanel(QWidget* parent) : QWidget(parent) {}

  void SetPicture(const QImage& image);
  void SetZoom(double zoom);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Fit();

  QPixmap picture_;
  QPixmap reduced_;  // the picture at the zoom, while that is below 100 %
  double zoom_ = 1;
};

}  // namespace stipplor
