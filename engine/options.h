#pragma once

#include "engine/int16.h"

namespace stipplor {

// The seven values of a run, in the order Encode takes them. Flags are -1 for set and 0 for
// clear and count as set when not zero. The defaults are the program's start options.
struct EncodeOptions {
  Int16 BW = 0;                   // set: black-and-white text art; clear: colored cells
  Int16 Ratio = 2;                // cell edge in pixels, 1..4 ("1:2", "1:1", "3:2", "2:1")
  Int16 Colorized = 0;            // B&W: ink and background colours from the picture
  Int16 HighQuality = -1;         // colored, Ratio 2..4: two coloured characters per cell
  Int16 MinimizeSize = -1;        // colored: merge runs of equal cells when that is shorter
  Int16 BWEncoding = 2;           // 0 Plain, 1 Pattern, 2 Dotted, 3 Fractal
  Int16 BWSmoothTransition = -1;  // B&W: checkerboard offset on the brightness
  bool PixelFont = false;  // pages of characters carry their own pixel font (not one of the seven)
};

// Whether colored cells carry two coloured characters besides their colour: at higher quality,
// in cells larger than one pixel.
inline bool ColoredCellsCarryCharacters(const EncodeOptions& options) {
  return options.HighQuality != 0 && options.Ratio > 1;
}

// The rectangle a run encodes, in picture pixels. It may reach beyond the picture.
struct Region {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const Region&, const Region&) = default;
};

// Brightness range of a run (0 black .. 1530 white): the Plain style maps BWMin to full ink
// and BWMax to full white.
struct BrightnessRange {
  Int16 BWMin = 0;
  Int16 BWMax = 1530;
  friend bool operator==(const BrightnessRange&, const BrightnessRange&) = default;
};

}  // namespace stipplor
