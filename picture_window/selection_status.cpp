#include "picture_window/selection_status.h"

#include <cmath>

namespace stipplor {

QString PointerText(int x, int y) { return QStringLiteral("(%1, %2)").arg(x).arg(y); }

QString SelectionText(bool shown, const Region& rect) {
  if (!shown) return QStringLiteral("Selection: all");
  return QStringLiteral("Selection: (%1, %2) -> (%3, %4) = (%5 x %6)")
      .arg(rect.Left)
      .arg(rect.Top)
      .arg(rect.Left + rect.Width)
      .arg(rect.Top + rect.Height)
      .arg(rect.Width)
      .arg(rect.Height);
}

QString ImageText(int width, int height) {
  return QStringLiteral("Image: %1 x %2").arg(width).arg(height);
}

QString ZoomText(double zoom) {
  if (zoom == 1) return {};
  return QStringLiteral("Picture %1%").arg(std::lround(zoom * 100));
}

}  // namespace stipplor
