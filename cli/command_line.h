#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/options.h"

namespace stipplor {

// What one call of stipplor-encode asks for.
struct CommandLine {
  std::vector<std::string> inputs;          // the picture files, in the order given; "-" is stdin
  std::optional<std::string> output;        // one input: none is standard output
  std::optional<std::string> outputFolder;  // -d: each input to a page of its own there
  EncodeOptions options;                    // start options of the desktop program unless changed
  std::optional<Region> region;             // none: the whole picture
  int pageWidth = 0;                        // --width: the page's width in pixels; 0 as the picture
  long long maxBytes = 0;                   // --max-bytes: the widest page of at most so many bytes
  bool document = false;                    // the generated document instead of the saved-file form
  bool caption = false;                     // only the caption
  bool help = false;
  bool version = false;
};

// A command line that cannot be understood; what() says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. A value follows its option as the next argument
// or after "=" ("--size 2:1", "--size=2:1"); "--" ends the options. Later options override
// earlier ones. An INPUT is required unless only the caption, the help or the version is asked
// for. Several inputs need -d, whose pages must not share a name; -o and -d exclude each other,
// and so do --width and --max-bytes.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

}  // namespace stipplor
