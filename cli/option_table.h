#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

namespace stipplor {

// One line of the options list: the help text and the man page are both made from this table.
struct OptionSpec {
  // Alternatives that each set a value of their own ("--bw", "--colored"), or synonyms
  // ("-h", "--help") when `synonyms` is set.
  std::vector<std::string_view> names{};
  bool synonyms = false;
  // The value that follows the option: one of these words ...
  std::vector<std::string_view> choices{};
  // ... or a free value with this name ("FILE").
  std::string_view valueName{};
  std::string_view help{};
  // Records the option: `which` is the index of the name used or, for an option with choices,
  // of the word given; `value` is the value as written.
  void (*apply)(CommandLine& line, std::size_t which, std::string_view value) = nullptr;

  bool TakesValue() const { return !choices.empty() || !valueName.empty(); }
  // The choices as written in the list, "1:2|1:1|3:2|2:1".
  std::string ChoiceList() const;
  // How the option is written in the list, e.g. "--size 1:2|1:1|3:2|2:1" or "-h, --help".
  std::string Synopsis() const;
};

inline constexpr std::string_view kProgramName = "stipplor-encode";
inline constexpr std::string_view kVersion = STIPPLOR_VERSION;
inline constexpr std::string_view kUsageLine = "stipplor-encode [options] INPUT [-o OUTPUT]";
inline constexpr std::string_view kFolderUsageLine = "stipplor-encode [options] INPUT... -d DIR";
inline constexpr std::string_view kSummary =
    "Draws a picture (BMP, GIF, JPEG and more) as an HTML page of tiny characters or tiny "
    "coloured table cells. An INPUT of - is read from standard input.";

std::span<const OptionSpec> OptionTable();

// The text of --help: usage lines, summary and the options list, aligned.
std::string HelpText();

}  // namespace stipplor
