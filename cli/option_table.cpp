#include "cli/option_table.h"

#include <array>
#include <charconv>
#include <climits>
#include <cstdint>

namespace stipplor {

namespace {

constexpr Int16 kSet = -1;
constexpr Int16 kClear = 0;

// First of two alternatives sets the flag, the second clears it.
Int16 FirstSets(std::size_t which) { return which == 0 ? kSet : kClear; }

// "LEFT,TOP,WIDTH,HEIGHT": four decimal integers, each may be negative.
Region ParseRegion(std::string_view text) {
  std::array<int, 4> values{};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) {
      if (at == end || *at != ',') break;
      ++at;
    }
    const auto [next, error] = std::from_chars(at, end, values[i]);
    if (error != std::errc()) {
      throw UsageError("--region wants four integers LEFT,TOP,WIDTH,HEIGHT, not '" +
                       std::string(text) + "'");
    }
    at = next;
    if (i + 1 == values.size() && at == end) return {values[0], values[1], values[2], values[3]};
  }
  throw UsageError("--region wants four integers LEFT,TOP,WIDTH,HEIGHT, not '" + std::string(text) +
                   "'");
}

// A page width: a decimal integer from 2 up to the widest table a page can hold.
int ParsePageWidth(std::string_view text) {
  constexpr int kMaxPageWidth = INT16_MAX;
  int width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  if (error != std::errc() || end != text.data() + text.size() || width < 2 ||
      width > kMaxPageWidth) {
    throw UsageError("--width wants a number of pixels from 2 to " + std::to_string(kMaxPageWidth) +
                     ", not '" + std::string(text) + "'");
  }
  return width;
}

// A size in bytes: a decimal integer from 1 up, followed by k for thousands or M for millions.
long long ParseMaxBytes(std::string_view text) {
  long long bytes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  const std::string_view unit(end, static_cast<std::size_t>(text.data() + text.size() - end));
  const long long factor = unit.empty() ? 1 : unit == "k" ? 1'000 : unit == "M" ? 1'000'000 : 0;
  if (error != std::errc() || bytes < 1 || factor == 0 || bytes > LLONG_MAX / factor) {
    throw UsageError(
        "--max-bytes wants a number of bytes from 1 up, or of k (1,000) or M "
        "(1,000,000), not '" +
        std::string(text) + "'");
  }
  return bytes * factor;
}

const std::vector<OptionSpec>& Table() {
  static const std::vector<OptionSpec> table = {
      {.names = {"--size"},
       .choices = {"1:2", "1:1", "3:2", "2:1"},
       .help = "cell size: Ratio 1, 2, 3, 4 (default 1:1)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.Ratio = static_cast<Int16>(which + 1); }},
      {.names = {"--bw", "--colored"},
       .help = "text art or colour cells (default --colored)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.BW = FirstSets(which); }},
      {.names = {"--style"},
       .choices = {"plain", "pattern", "dotted", "fractal"},
       .help = "B&W style (default dotted)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.BWEncoding = static_cast<Int16>(which); }},
      {.names = {"--grey", "--colorized"},
       .help = "B&W: grey or picture colours (default --grey)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.Colorized = which == 1 ? kSet : kClear; }},
      {.names = {"--smooth", "--no-smooth"},
       .help = "B&W: smooth transition (default --smooth)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.BWSmoothTransition = FirstSets(which); }},
      {.names = {"--quality"},
       .choices = {"low", "high"},
       .help = "colored: quality (default high)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.HighQuality = which == 1 ? kSet : kClear; }},
      {.names = {"--minimize", "--no-minimize"},
       .help = "colored: merge equal cells (default --minimize)",
       .apply = [](CommandLine& line, std::size_t which,
                   std::string_view) { line.options.MinimizeSize = FirstSets(which); }},
      {.names = {"--pixel-font"},
       .help = "B&W and higher-quality colored pages carry their own 1-pixel font, drawn sharp "
               "and to scale in today's browsers",
       .apply = [](CommandLine& line, std::size_t,
                   std::string_view) { line.options.PixelFont = true; }},
      {.names = {"--region"},
       .valueName = "LEFT,TOP,WIDTH,HEIGHT",
       .help = "encode only this rectangle, as a selection would; integers, may be negative or "
               "reach beyond the picture",
       .apply = [](CommandLine& line, std::size_t,
                   std::string_view value) { line.region = ParseRegion(value); }},
      {.names = {"--width"},
       .valueName = "PIXELS",
       .help = "scale the picture (or the region) down, aspect kept, so that the page is PIXELS "
               "wide (cells are 2 page pixels wide: an odd width gives one less); a narrower "
               "picture stays as it is. Browsers show pages of up to about 1,000,000 cells "
               "(a 2000 x 2000 picture at 1:1); a 4000 x 3000 photograph wants a width, e.g. "
               "--width 1600",
       .apply = [](CommandLine& line, std::size_t,
                   std::string_view value) { line.pageWidth = ParsePageWidth(value); }},
      {.names = {"--max-bytes"},
       .valueName = "SIZE",
       .help = "write the widest page, up to the picture's (or the region's) own width, whose "
               "file takes at most SIZE bytes (100000, 100k, 2M; the form written: see "
               "--document). Mail programs clip messages above about 100 KB: --max-bytes 100k "
               "gives a page to paste into one. Candidate pages are counted, not written; the "
               "page equals --width at the width found. Not with --width",
       .apply = [](CommandLine& line, std::size_t,
                   std::string_view value) { line.maxBytes = ParseMaxBytes(value); }},
      {.names = {"--document"},
       .help = "write the generated document (every line + CR LF) instead of the saved-file "
               "form",
       .apply = [](CommandLine& line, std::size_t, std::string_view) { line.document = true; }},
      {.names = {"--caption"},
       .help = "print the run's caption (its option summary) and a newline, and nothing else",
       .apply = [](CommandLine& line, std::size_t, std::string_view) { line.caption = true; }},
      {.names = {"-o"},
       .valueName = "FILE",
       .help = "output file; default standard output",
       .apply =
           [](CommandLine& line, std::size_t, std::string_view value) {
             if (value.empty()) throw UsageError("-o wants a file, not ''");
             line.output = std::string(value);
           }},
      {.names = {"-d"},
       .valueName = "DIR",
       .help = "write each INPUT to DIR/NAME.html, NAME being its file name without the "
               "extension; a file that fails is reported and the others go on",
       .apply =
           [](CommandLine& line, std::size_t, std::string_view value) {
             if (value.empty()) throw UsageError("-d wants a folder, not ''");
             line.outputFolder = std::string(value);
           }},
      {.names = {"--version"},
       .help = "print the program's name and version",
       .apply = [](CommandLine& line, std::size_t, std::string_view) { line.version = true; }},
      {.names = {"-h", "--help"},
       .synonyms = true,
       .help = "usage",
       .apply = [](CommandLine& line, std::size_t, std::string_view) { line.help = true; }},
  };
  return table;
}

std::string Join(const std::vector<std::string_view>& parts, std::string_view separator) {
  std::string text;
  for (const std::string_view part : parts) {
    if (!text.empty()) text.append(separator);
    text.append(part);
  }
  return text;
}

// Appends `words` and a line break to `text`, breaking lines between words so that they stay
// within the terminal's 80 columns; continued lines start at `indent`.
void AppendWrapped(std::string& text, std::string_view words, std::size_t indent) {
  constexpr std::size_t kLineWidth = 80;
  std::size_t column = text.size() - (text.rfind('\n') + 1);
  bool first = true;
  while (!words.empty()) {
    const auto space = words.find(' ');
    const std::string_view word = words.substr(0, space);
    words.remove_prefix(space == std::string_view::npos ? words.size() : space + 1);
    if (!first && column + 1 + word.size() > kLineWidth) {
      text.append("\n").append(indent, ' ');
      column = indent;
    } else if (!first) {
      text.append(" ");
      ++column;
    }
    text.append(word);
    column += word.size();
    first = false;
  }
  text.append("\n");
}

}  // namespace

std::string OptionSpec::Synopsis() const {
  std::string text = Join(names, synonyms ? ", " : " | ");
  if (!choices.empty()) text.append(" ").append(ChoiceList());
  if (!valueName.empty()) text.append(" ").append(valueName);
  return text;
}

std::string OptionSpec::ChoiceList() const { return Join(choices, "|"); }

std::span<const OptionSpec> OptionTable() { return Table(); }

std::string HelpText() {
  // The help texts start in one column; a longer synopsis keeps three spaces before its text.
  constexpr std::size_t kTextColumn = 31;
  constexpr std::size_t kMinimumGap = 3;
  std::string text =
      "Usage: " + std::string(kUsageLine) + "\n       " + std::string(kFolderUsageLine) + "\n";
  AppendWrapped(text, kSummary, 0);
  text.append("\n");
  for (const OptionSpec& option : OptionTable()) {
    const std::string synopsis = "  " + option.Synopsis();
    text.append(synopsis);
    text.append(
        synopsis.size() + kMinimumGap > kTextColumn ? kMinimumGap : kTextColumn - synopsis.size(),
        ' ');
    AppendWrapped(text, option.help, kTextColumn);
  }
  return text;
}

}  // namespace stipplor
