#include "engine/colour.h"

namespace stipplor {

ColorText RGB2Hex(int Red, int Green, int Blue) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  ColorText text;
  text.chars[0] = '#';
  int at = 1;
  for (const int channel : {Red, Green, Blue}) {
    if (channel < 0 || channel > 255) throw InvalidArgumentError();
    text.chars[at++] = kDigits[channel / 16];
    text.chars[at++] = kDigits[channel % 16];
  }
  return text;
}

}  // namespace stipplor
