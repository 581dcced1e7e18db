#pragma once

#include <QString>
#include <array>
#include <cstddef>

namespace stipplor {

// The result view's zoom: one of a few steps, each twice the one before, so that a page drawn
// pixel for pixel stays sharp when enlarged.
class ResultZoom {
 public:
  static constexpr std::array<int, 6> kSteps = {25, 50, 100, 200, 400, 800};

  int Percent() const { return kSteps[step_]; }
  void In();
  void Out();
  void Reset();
  // The wheel turned with Ctrl held by `angleDelta` (120 a notch): a step a notch, away from the
  // user to enlarge; a part of a notch waits for the rest.
  void Wheel(int angleDelta);
  // "Zoom 200%" while the zoom is not 100 %, else empty.
  QString StatusText() const;
  // The browser zooms a page up to 500 %; beyond 400 % the page doubles its own size.
  double ViewFactor() const;
  double PageFactor() const { return Percent() / 100.0 / ViewFactor(); }

 private:
  std::size_t step_ = 2;
  int wheel_ = 0;
};

}  // namespace stipplor
