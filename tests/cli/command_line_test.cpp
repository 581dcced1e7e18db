#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "cli/option_table.h"
#include "engine/encode.h"

namespace stipplor {
namespace {

CommandLine Parse(const std::vector<std::string_view>& args) { return ParseCommandLine(args); }

std::string UsageProblem(const std::vector<std::string_view>& args) {
  try {
    Parse(args);
    return "";
  } catch (const UsageError& error) {
    return error.what();
  }
}

EncodeOptions With(void (*change)(EncodeOptions&)) {
  EncodeOptions options;
  change(options);
  return options;
}

bool SameOptions(const EncodeOptions& a, const EncodeOptions& b) {
  return a.BW == b.BW && a.Ratio == b.Ratio && a.Colorized == b.Colorized &&
         a.HighQuality == b.HighQuality && a.MinimizeSize == b.MinimizeSize &&
         a.BWEncoding == b.BWEncoding && a.BWSmoothTransition == b.BWSmoothTransition &&
         a.PixelFont == b.PixelFont;
}

TEST(ParseCommandLine, EveryOptionSetsItsValue) {
  struct Case {
    std::vector<std::string_view> args;
    EncodeOptions expected;
  };
  const Case cases[] = {
      {{}, EncodeOptions{}},
      {{"--size", "1:2"}, With([](EncodeOptions& o) { o.Ratio = 1; })},
      {{"--size", "1:1"}, With([](EncodeOptions& o) { o.Ratio = 2; })},
      {{"--size", "3:2"}, With([](EncodeOptions& o) { o.Ratio = 3; })},
      {{"--size=2:1"}, With([](EncodeOptions& o) { o.Ratio = 4; })},
      {{"--bw"}, With([](EncodeOptions& o) { o.BW = -1; })},
      {{"--bw", "--colored"}, With([](EncodeOptions& o) { o.BW = 0; })},
      {{"--style", "plain"}, With([](EncodeOptions& o) { o.BWEncoding = 0; })},
      {{"--style", "pattern"}, With([](EncodeOptions& o) { o.BWEncoding = 1; })},
      {{"--style", "dotted"}, With([](EncodeOptions& o) { o.BWEncoding = 2; })},
      {{"--style=fractal"}, With([](EncodeOptions& o) { o.BWEncoding = 3; })},
      {{"--colorized"}, With([](EncodeOptions& o) { o.Colorized = -1; })},
      {{"--colorized", "--grey"}, With([](EncodeOptions& o) { o.Colorized = 0; })},
      {{"--no-smooth"}, With([](EncodeOptions& o) { o.BWSmoothTransition = 0; })},
      {{"--no-smooth", "--smooth"}, With([](EncodeOptions& o) { o.BWSmoothTransition = -1; })},
      {{"--quality", "low"}, With([](EncodeOptions& o) { o.HighQuality = 0; })},
      {{"--quality", "low", "--quality", "high"},
       With([](EncodeOptions& o) { o.HighQuality = -1; })},
      {{"--no-minimize"}, With([](EncodeOptions& o) { o.MinimizeSize = 0; })},
      {{"--no-minimize", "--minimize"}, With([](EncodeOptions& o) { o.MinimizeSize = -1; })},
      {{"--pixel-font"}, With([](EncodeOptions& o) { o.PixelFont = true; })},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> args = c.args;
    args.push_back("pic.jpg");
    const CommandLine line = Parse(args);
    EXPECT_TRUE(SameOptions(line.options, c.expected)) << Caption(line.options);
    EXPECT_EQ(line.inputs, std::vector<std::string>{"pic.jpg"});
  }
}

TEST(ParseCommandLine, InputOutputRegionAndModes) {
  const CommandLine plain = Parse({"in.jpg"});
  EXPECT_EQ(plain.output, std::nullopt);
  EXPECT_EQ(plain.outputFolder, std::nullopt);
  EXPECT_EQ(plain.region, std::nullopt);
  EXPECT_FALSE(plain.document || plain.caption || plain.help || plain.version);

  const CommandLine full =
      Parse({"-o", "out.html", "--region", "-3,4,-5,60000", "--document", "--", "-in.jpg"});
  EXPECT_EQ(full.inputs, std::vector<std::string>{"-in.jpg"});
  EXPECT_EQ(full.output, "out.html");
  EXPECT_EQ(full.region, (Region{-3, 4, -5, 60000}));
  EXPECT_TRUE(full.document);

  EXPECT_TRUE(Parse({"--caption"}).caption);
  EXPECT_TRUE(Parse({"-h"}).help);
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(ParseCommandLine, SeveralInputsGoIntoAFolder) {
  const CommandLine several = Parse({"a.jpg", "-d", "pages", "--bw", "b/b.gif", "--", "-c.bmp"});
  EXPECT_EQ(several.inputs, (std::vector<std::string>{"a.jpg", "b/b.gif", "-c.bmp"}));
  EXPECT_EQ(several.outputFolder, "pages");
  EXPECT_EQ(several.output, std::nullopt);
  EXPECT_EQ(several.options.BW, -1);

  // One input may go into the folder too.
  const CommandLine one = Parse({"-d", "pages/", "a.jpg"});
  EXPECT_EQ(one.inputs, std::vector<std::string>{"a.jpg"});
  EXPECT_EQ(one.outputFolder, "pages/");
  // The same input twice would write its page twice.
  EXPECT_EQ(UsageProblem({"a.jpg", "a.jpg", "-d", "out"}),
            "'a.jpg' and 'a.jpg' would both be written to out/a.html");
}

TEST(ParseCommandLine, UsageErrorsSayWhatIsWrong) {
  struct Case {
    std::vector<std::string_view> args;
    std::string problem;
  };
  const Case cases[] = {
      {{}, "no input picture given"},
      {{"--bw"}, "no input picture given"},
      {{"a.jpg", "b.jpg"}, "several inputs; write their pages into a folder with -d DIR"},
      {{"a.jpg", "b.jpg", "-o", "x.html"},
       "-o takes one input; write their pages into a folder with -d DIR"},
      {{"a.jpg", "-o", "x.html", "-d", "out"}, "-o and -d exclude each other"},
      {{"a.jpg", "b.jpg", "-d", "out", "-o", "x.html"}, "-o and -d exclude each other"},
      {{"-d", "out"}, "no input picture given"},
      {{"a.jpg", "-d", ""}, "-d wants a folder, not ''"},
      {{"a.jpg", "-o", ""}, "-o wants a file, not ''"},
      {{"a.jpg", "-d"}, "option '-d' wants a value: -d DIR"},
      {{"x/cat.jpg", "y/cat.gif", "-d", "out"},
       "'x/cat.jpg' and 'y/cat.gif' would both be written to out/cat.html"},
      {{"cat.jpg", "dog.jpg", "./cat.bmp", "-d", "out/"},
       "'cat.jpg' and './cat.bmp' would both be written to out/cat.html"},
      {{"a.jpg", "--version=1"}, "option '--version' takes no value"},
      {{"a.jpg", "--large"}, "unknown option '--large'"},
      {{"a.jpg", "-x"}, "unknown option '-x'"},
      {{"a.jpg", "--bw=yes"}, "option '--bw' takes no value"},
      {{"a.jpg", "--size"}, "option '--size' wants a value: --size 1:2|1:1|3:2|2:1"},
      {{"a.jpg", "-o"}, "option '-o' wants a value: -o FILE"},
      {{"a.jpg", "--size", "3:1"}, "--size wants one of 1:2|1:1|3:2|2:1, not '3:1'"},
      {{"a.jpg", "--style", "Dotted"},
       "--style wants one of plain|pattern|dotted|fractal, not 'Dotted'"},
      {{"a.jpg", "--quality", ""}, "--quality wants one of low|high, not ''"},
  };
  for (const Case& c : cases) EXPECT_EQ(UsageProblem(c.args), c.problem);
}

TEST(ParseCommandLine, RegionWantsExactlyFourIntegers) {
  for (const std::string_view bad : {"", "1,2,3", "1,2,3,4,5", "1,2,3,x", "1, 2,3,4", "1,2,3,4,",
                                     "+1,2,3,4", "1.5,2,3,4", "99999999999,0,1,1", ",1,2,3"}) {
    EXPECT_EQ(UsageProblem({"a.jpg", "--region", bad}),
              "--region wants four integers LEFT,TOP,WIDTH,HEIGHT, not '" + std::string(bad) + "'")
        << bad;
  }
  EXPECT_EQ(Parse({"a.jpg", "--region=0,0,1,1"}).region, (Region{0, 0, 1, 1}));
  EXPECT_EQ(Parse({"a.jpg", "--region", "-2147483648,2147483647,0,-0"}).region,
            (Region{std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, 0}));
}

// Every "(default X)" the help states is what the program does without the option.
TEST(HelpText, StatedDefaultsAreTheStartOptions) {
  int checked = 0;
  for (const OptionSpec& option : OptionTable()) {
    const auto at = option.help.find("(default ");
    if (at == std::string_view::npos) continue;
    const std::string_view word = option.help.substr(at + 9, option.help.find(')', at) - (at + 9));
    std::vector<std::string_view> args = {"a.jpg"};
    if (option.TakesValue()) args.push_back(option.names.front());
    args.push_back(word);
    EXPECT_TRUE(SameOptions(Parse(args).options, EncodeOptions{})) << option.Synopsis();
    ++checked;
  }
  EXPECT_EQ(checked, 7);
}

TEST(HelpText, ListsEveryOptionOnceInTableOrder) {
  const std::string help = HelpText();
  EXPECT_TRUE(
      help.starts_with("Usage: stipplor-encode [options] INPUT [-o OUTPUT]\n"
                       "       stipplor-encode [options] INPUT... -d DIR\n"));
  std::size_t previous = 0;
  for (const OptionSpec& option : OptionTable()) {
    const std::string line = "\n  " + option.Synopsis() + "   ";
    const auto at = help.find(line);
    ASSERT_NE(at, std::string::npos) << option.Synopsis();
    EXPECT_GT(at, previous);
    EXPECT_EQ(help.find(line, at + 1), std::string::npos);
    previous = at;
  }
  EXPECT_NE(help.find("\n  --size 1:2|1:1|3:2|2:1       cell size"), std::string::npos);
  EXPECT_NE(help.find("\n  -h, --help                   usage\n"), std::string::npos);
  EXPECT_NE(help.find("\n  --style plain|pattern|dotted|fractal   B&W style"), std::string::npos);
}

TEST(HelpText, LinesFitEightyColumns) {
  const std::string help = HelpText();
  std::size_t start = 0;
  while (start < help.size()) {
    const std::size_t end = help.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
    start = end + 1;
  }
}

TEST(HelpText, EveryNameOfTheTableIsUnderstood) {
  for (const OptionSpec& option : OptionTable()) {
    for (const std::string_view name : option.names) {
      std::vector<std::string_view> args = {"a.jpg", name};
      if (!option.choices.empty()) args.push_back(option.choices.back());
      if (name == "--region") args.push_back("0,0,2,2");
      if (name == "--width") args.push_back("800");
      if (name == "-o" || name == "-d") args.push_back("out");
      EXPECT_EQ(UsageProblem(args), "") << name;
    }
  }
}

}  // namespace
}  // namespace stipplor
