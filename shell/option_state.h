#pragma once

#include "engine/int16.h"
#include "engine/options.h"

namespace stipplor {

// The seven encoding options the Options menu chooses. They start from fixed values at every
// program start and live in memory only; the menu's check marks always show them.
class OptionState {
 public:
  bool BW = false;
  Int16 Ratio = 2;
  bool Colorized = false;
  bool HighQuality = true;
  bool MinimizeSize = true;
  Int16 BWEncoding = 2;
  bool BWSmoothTransition = true;
  bool PixelFont = false;  // beyond the seven: pages of characters carry their own pixel font
  // Beyond the seven: the page's width in pixels the region is scaled to; 0 "As Picture".
  int PageWidth = 0;
  // Beyond the seven: the saved page's bytes at most, its width the widest that keeps to them
  // (then PageWidth is 0); 0 none.
  long long MaxBytes = 0;

  // The values as Encode takes them: flags as -1 (set) and 0 (clear).
  EncodeOptions ForEncode() const;
};

}  // namespace stipplor
