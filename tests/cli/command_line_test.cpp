#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/option_table.h"
#include "cli/page_names.h"

namespace stipplor {
namespace {

std::string UsageProblem(const std::vector<std::string_view>& args) {
  try {
    ParseCommandLine(args);
    return "";
  } catch (const UsageError& error) {
    return error.what();
  }
}

// BW, Ratio, Colorized, HighQuality, MinimizeSize, BWEncoding, BWSmoothTransition, PixelFont.
using Fields = std::tuple<int, int, int, int, int, int, int, bool>;
Fields FieldsOf(const EncodeOptions& o) {
  return {o.BW,           o.Ratio,      o.Colorized,          o.HighQuality,
          o.MinimizeSize, o.BWEncoding, o.BWSmoothTransition, o.PixelFont};
}

TEST(ParseCommandLine, OptionsSetTheirValuesAndLaterOnesWin) {
  const struct {
    std::vector<std::string_view> args;
    Fields fields;
  } cases[] = {
      {{}, FieldsOf(EncodeOptions{})},
      {{"--size", "1:2", "--bw", "--style", "plain", "--colorized", "--no-smooth", "--quality",
        "low", "--no-minimize", "--pixel-font"},
       {-1, 1, -1, 0, 0, 0, 0, true}},
      {{"--size=3:2", "--style=pattern", "--bw", "--colored", "--colorized", "--grey"},
       {0, 3, 0, -1, -1, 1, -1, false}},
      {{"--size", "2:1", "--style", "fractal", "--no-smooth", "--smooth", "--quality", "low",
        "--quality", "high", "--no-minimize", "--minimize"},
       {0, 4, 0, -1, -1, 3, -1, false}},
      {{"--style", "pattern", "--style", "dotted", "--size", "3:2", "--size", "1:1"},
       FieldsOf(EncodeOptions{})},
  };
  for (const auto& c : cases) {
    std::vector<std::string_view> args = c.args;
    args.push_back("pic.jpg");
    const CommandLine line = ParseCommandLine(args);
    EXPECT_EQ(FieldsOf(line.options), c.fields);
    EXPECT_EQ(line.inputs, std::vector<std::string>{"pic.jpg"});
  }
}

TEST(ParseCommandLine, InputsOutputsRegionAndModes) {
  const auto parse = [](std::vector<std::string_view> args) { return ParseCommandLine(args); };
  const CommandLine plain = parse({"in.jpg"});
  EXPECT_FALSE(plain.output || plain.outputFolder || plain.region || plain.pageWidth != 0 ||
               plain.document || plain.caption || plain.help || plain.version);
  const CommandLine full = parse(
      {"-o", "out.html", "--region", "-3,4,-5,60000", "--width=32767", "--document", "--", "--bw"});
  EXPECT_EQ(full.inputs, std::vector<std::string>{"--bw"});
  EXPECT_EQ(std::tuple(full.output, full.region, full.pageWidth, full.document),
            std::tuple("out.html", Region{-3, 4, -5, 60000}, 32767, true));
  const CommandLine several = parse({"a.jpg", "-d", "pages", "b.gif", "--region=0,0,1,1"});
  EXPECT_EQ(several.inputs, (std::vector<std::string>{"a.jpg", "b.gif"}));
  EXPECT_EQ(std::tuple(several.outputFolder, several.region),
            std::tuple("pages", Region{0, 0, 1, 1}));
  for (const std::string_view mode : {"--caption", "-h", "--help", "--version"}) {
    const CommandLine line = parse({mode});
    EXPECT_EQ(
        std::tuple(line.caption, line.help, line.version),
        std::tuple(mode == "--caption", mode == "-h" || mode == "--help", mode == "--version"));
  }
}

TEST(ParseCommandLine, UsageErrorsSayWhatIsWrong) {
  const struct {
    std::vector<std::string_view> args;
    std::string problem;
  } cases[] = {
      {{"--bw"}, "no input picture given"},
      {{"a.jpg", "b.jpg"}, "several inputs; write their pages into a folder with -d DIR"},
      {{"a.jpg", "b.jpg", "-o", "x.html"},
       "-o takes one input; write their pages into a folder with -d DIR"},
      {{"a.jpg", "-o", "x.html", "-d", "out"}, "-o and -d exclude each other"},
      {{"a.jpg", "-d", ""}, "-d wants a folder, not ''"},
      {{"a.jpg", "-o", ""}, "-o wants a file, not ''"},
      {{"a.jpg", "-d"}, "option '-d' wants a value: -d DIR"},
      {{"a.jpg", "a.jpg", "-d", "out"}, "'a.jpg' and 'a.jpg' would both be written to out/a.html"},
      {{"cat.jpg", "dog.jpg", "x/cat.bmp", "-d", "out/"},
       "'cat.jpg' and 'x/cat.bmp' would both be written to out/cat.html"},
      {{"a.jpg", "--version=1"}, "option '--version' takes no value"},
      {{"a.jpg", "--large"}, "unknown option '--large'"},
      {{"a.jpg", "--size"}, "option '--size' wants a value: --size 1:2|1:1|3:2|2:1"},
      {{"a.jpg", "--size", "3:1"}, "--size wants one of 1:2|1:1|3:2|2:1, not '3:1'"},
      {{"a.jpg", "--style", "Dotted"},
       "--style wants one of plain|pattern|dotted|fractal, not 'Dotted'"},
      {{"a.jpg", "--quality="}, "--quality wants one of low|high, not ''"},
      {{"--max-bytes=1k", "--caption", "--width=8"}, "--width and --max-bytes exclude each other"},
      {{"a.jpg", "-", "-d", "out"},
       "standard input ('-') has no name for a page in a folder; write its page with -o FILE"},
  };
  for (const auto& c : cases) EXPECT_EQ(UsageProblem(c.args), c.problem);
  for (const std::string_view bad : {"", "1", "1.5", "2x", "-2", "32768", "99999999999"}) {
    EXPECT_EQ(UsageProblem({"a.jpg", "--width", bad}),
              "--width wants a number of pixels from 2 to 32767, not '" + std::string(bad) + "'");
  }
  for (const std::string_view bad : {"", "0", "-1", "1K", "2kB", "1.5M", "9223372036854776k"}) {
    EXPECT_EQ(UsageProblem({"a.jpg", "--max-bytes", bad}),
              "--max-bytes wants a number of bytes from 1 up, or of k (1,000) or M (1,000,000), "
              "not '" +
                  std::string(bad) + "'");
  }
  for (const std::string_view bad : {"", "1,2,3", "1,2,3,4,5", "1,2,3,x", "1, 2,3,4", "1,2,3,4,",
                                     "+1,2,3,4", "99999999999,0,1,1"}) {
    EXPECT_EQ(UsageProblem({"a.jpg", "--region", bad}),
              "--region wants four integers LEFT,TOP,WIDTH,HEIGHT, not '" + std::string(bad) + "'");
  }
}

TEST(HelpText, AlignsTheOptionsAndWrapsAtEightyColumns) {
  const std::string help = HelpText();
  EXPECT_NE(help.find("pages carry their\n                               own 1-pixel font,"),
            std::string::npos);
  EXPECT_TRUE(help.ends_with("\n  -h, --help                   usage\n"));
  for (std::size_t at = 0, end; (end = help.find('\n', at)) != std::string::npos; at = end + 1) {
    EXPECT_LE(end - at, 80u) << help.substr(at, end - at);
  }
}

TEST(PagePath, IsTheFolderAndTheFileNameWithoutItsExtension) {
  const struct {
    std::string_view folder, input, page;
  } cases[] = {
      {"out", "photos/cat.jpg", "out/cat.html"},
      {"out/", "/abs/path/cat.JPEG", "out/cat.html"},
      {"/", "a.b.gif", "/a.b.html"},
      {".", "folder.d/cat", "./cat.html"},  // a dot in a folder's name is no extension
      {"o", "../.cat.bmp", "o/.cat.html"},  // nor is a leading dot
      {"o", "cat.", "o/cat.html"},
      {"o", "photos//", "o/photos.html"},  // a folder will not load, but its page has a name
  };
  for (const auto& c : cases) EXPECT_EQ(PagePath(c.folder, c.input), c.page) << c.input;
}

}  // namespace
}  // namespace stipplor
