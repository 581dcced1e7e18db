#include "cli/command_line.h"

#include <algorithm>
#include <map>

#include "cli/option_table.h"
#include "cli/page_names.h"

namespace stipplor {

namespace {

struct Match {
  const OptionSpec* option = nullptr;
  std::size_t which = 0;  // index of the name used
};

Match FindOption(std::string_view name) {
  for (const OptionSpec& option : OptionTable()) {
    const auto found = std::find(option.names.begin(), option.names.end(), name);
    if (found != option.names.end()) {
      return {&option, static_cast<std::size_t>(found - option.names.begin())};
    }
  }
  throw UsageError("unknown option '" + std::string(name) + "'");
}

// Applies an option that takes a value.
void ApplyValue(CommandLine& line, const OptionSpec& option, std::string_view name,
                std::string_view value) {
  if (option.choices.empty()) {
    option.apply(line, 0, value);
    return;
  }
  const auto found = std::find(option.choices.begin(), option.choices.end(), value);
  if (found == option.choices.end()) {
    throw UsageError(std::string(name) + " wants one of " + option.ChoiceList() + ", not '" +
                     std::string(value) + "'");
  }
  option.apply(line, static_cast<std::size_t>(found - option.choices.begin()), value);
}

bool IsOption(std::string_view arg) { return arg.size() > 1 && arg.front() == '-'; }

// One input goes to -o or standard output, or into the -d folder; several only into the folder,
// each to a page of its own.
void CheckOutputs(const CommandLine& line) {
  if (line.inputs.empty()) throw UsageError("no input picture given");
  if (line.output && line.outputFolder) throw UsageError("-o and -d exclude each other");
  if (!line.outputFolder) {
    if (line.inputs.size() == 1) return;
    throw UsageError(std::string(line.output ? "-o takes one input" : "several inputs") +
                     "; write their pages into a folder with -d DIR");
  }
  std::map<std::string, const std::string*> writers;
  for (const std::string& input : line.inputs) {
    if (input == "-") {
      throw UsageError(
          "standard input ('-') has no name for a page in a folder; write its page with -o FILE");
    }
    const auto [at, added] = writers.emplace(PagePath(*line.outputFolder, input), &input);
    if (!added) {
      throw UsageError("'" + *at->second + "' and '" + input + "' would both be written to " +
                       at->first);
    }
  }
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || !IsOption(arg)) {
      line.inputs.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    // "--name=value" carries its value; short options take theirs from the next argument.
    const auto equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    const Match match = FindOption(name);
    const OptionSpec& option = *match.option;
    if (!option.TakesValue()) {
      if (equals != std::string_view::npos) {
        throw UsageError("option '" + std::string(name) + "' takes no value");
      }
      option.apply(line, match.which, {});
      continue;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError("option '" + std::string(name) + "' wants a value: " + option.Synopsis());
    }
    ApplyValue(line, option, name, value);
  }
  if (line.pageWidth != 0 && line.maxBytes != 0) {
    throw UsageError("--width and --max-bytes exclude each other");
  }
  if (line.help || line.version || line.caption) return line;
  CheckOutputs(line);
  return line;
}

}  // namespace stipplor
