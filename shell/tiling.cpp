#include "shell/tiling.h"

#include <cmath>

namespace stipplor {

namespace {

constexpr double kTwipsPerInch = 1440;

int NearestPixel(double twips, double dpi) {
  return static_cast<int>(std::floor(twips * dpi / kTwipsPerInch + 0.5));
}

}  // namespace

std::optional<TwipRect> TilePlace(TileCommand command, ChildWindow child, bool p, bool t, double W,
                                  double H) {
  const bool picture = child == ChildWindow::Picture;
  if (picture ? !p : !t) return std::nullopt;
  if (!(p && t)) return TwipRect{0, 0, W, H};
  if (command == TileCommand::Horizontally) {
    return picture ? TwipRect{0, 0, W, H / 2} : TwipRect{0, H / 2, W, H / 2 - 1};
  }
  return picture ? TwipRect{0, 0, W / 2, H} : TwipRect{W / 2, 0, W / 2 - 1, H};
}

std::optional<QRect> PlaceBeside(const QRect& picture, const QSize& area) {
  const QRect whole({0, 0}, area);
  const QRect p = picture & whole;
  std::optional<QRect> best;
  for (const QRect strip : {QRect(QPoint(p.right() + 1, 0), whole.bottomRight()),
                            QRect(whole.topLeft(), QPoint(p.left() - 1, whole.bottom())),
                            QRect(QPoint(0, p.bottom() + 1), whole.bottomRight()),
                            QRect(whole.topLeft(), QPoint(whole.right(), p.top() - 1))}) {
    const auto size = [](const QRect& r) { return qint64{r.width()} * r.height(); };
    if (strip.width() >= kLeastResultRoom.width() && strip.height() >= kLeastResultRoom.height() &&
        (!best || size(strip) > size(*best))) {
      best = strip;
    }
  }
  return best;
}

double ToTwips(int pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

QRect ToPixels(const TwipRect& rect, double dpiX, double dpiY) {
  const int left = NearestPixel(rect.Left, dpiX);
  const int top = NearestPixel(rect.Top, dpiY);
  const int right = NearestPixel(rect.Left + rect.Width, dpiX);
  const int bottom = NearestPixel(rect.Top + rect.Height, dpiY);
  return {left, top, right - left, bottom - top};
}

}  // namespace stipplor
