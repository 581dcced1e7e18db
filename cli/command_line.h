#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/options.h"

namespace stipplor {

// What one call of stipplor-encode asks for.
struct CommandLine {
  std::string input;                  // the picture file
  std::optional<std::string> output;  // none: standard output
  EncodeOptions options;              // start options of the desktop program unless changed
  std::optional<Region> region;       // none: the whole picture
  bool document = false;              // the generated document instead of the saved-file form
  bool caption = false;               // only the caption
  bool help = false;
};

// A command line that cannot be understood; what() says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. A value follows its option as the next argument
// or after "=" ("--size 2:1", "--size=2:1"); "--" ends the options. Later options override
// earlier ones. INPUT is required unless only the caption or the help is asked for.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

}  // namespace stipplor
