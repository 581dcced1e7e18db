#include "shell/option_state.h"

namespace stipplor {

namespace {
Int16 Flag(bool value) { return value ? Int16{-1} : Int16{0}; }
}  // namespace

EncodeOptions OptionState::ForEncode() const {
  EncodeOptions options;
  options.BW = Flag(BW);
  options.Ratio = Ratio;
  options.Colorized = Flag(Colorized);
  options.HighQuality = Flag(HighQuality);
  options.MinimizeSize = Flag(MinimizeSize);
  options.BWEncoding = BWEncoding;
  options.BWSmoothTransition = Flag(BWSmoothTransition);
  options.PixelFont = PixelFont;
  return options;
}

}  // namespace stipplor
