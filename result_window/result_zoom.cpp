#include "result_window/result_zoom.h"

#include <algorithm>

namespace stipplor {

namespace {
constexpr int kNotch = 120;
constexpr int kLargestViewPercent = 400;
}  // namespace

void ResultZoom::In() { step_ = std::min(step_ + 1, kSteps.size() - 1); }
void ResultZoom::Out() { step_ = step_ > 0 ? step_ - 1 : 0; }

void ResultZoom::Reset() {
  step_ = 2;
  wheel_ = 0;
}

void ResultZoom::Wheel(int angleDelta) {
  // A turn the other way drops what waited of the last one.
  if ((wheel_ > 0 && angleDelta < 0) || (wheel_ < 0 && angleDelta > 0)) wheel_ = 0;
  wheel_ += angleDelta;
  for (; wheel_ >= kNotch; wheel_ -= kNotch) In();
  for (; wheel_ <= -kNotch; wheel_ += kNotch) Out();
}

QString ResultZoom::StatusText() const {
  return Percent() == 100 ? QString() : QStringLiteral("Zoom %1%").arg(Percent());
}

double ResultZoom::ViewFactor() const { return std::min(Percent(), kLargestViewPercent) / 100.0; }

}  // namespace stipplor
