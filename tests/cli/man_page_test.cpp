// The manual page the build made lists what stipplor-encode --help lists.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

// The text of a roff source as it reads: font changes dropped, escapes resolved, spaces
// collapsed. Requests stay on lines of their own.
std::string Readable(std::string roff) {
  roff = std::regex_replace(roff, std::regex(R"(\\f[BIRP])"), "");
  roff = std::regex_replace(roff, std::regex(R"(\\&)"), "");
  roff = std::regex_replace(roff, std::regex(R"(\\-)"), "-");
  roff = std::regex_replace(roff, std::regex(R"(\\e)"), "\\");
  return roff;
}

std::string Collapsed(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

struct HelpOption {
  std::string synopsis;     // "--size 1:2|1:1|3:2|2:1"
  std::string description;  // its text, on one line
};

// The options as --help lists them: "  SYNOPSIS   TEXT", the text continued on indented lines.
std::vector<HelpOption> OptionsOf(const std::string& help) {
  std::vector<HelpOption> options;
  std::size_t at = 0;
  for (std::size_t end; (end = help.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = help.substr(at, end - at);
    if (line.starts_with("  -")) {
      const std::size_t gap = line.find("   ");
      options.push_back({line.substr(2, gap - 2), line.substr(line.find_first_not_of(' ', gap))});
    } else if (line.starts_with("      ") && !options.empty()) {
      options.back().description += " " + line.substr(line.find_first_not_of(' '));
    }
  }
  return options;
}

TEST(ManPage, ListsEveryOptionOfTheHelpWithItsText) {
  const test::Finished help = test::RunEncoder({"--help"});
  ASSERT_EQ(help.exitCode, 0);
  const std::string page = Readable(test::ReadFile(STIPPLOR_MAN_PAGE).toStdString());
  const std::vector<HelpOption> options = OptionsOf(help.out);
  ASSERT_GE(options.size(), 14u);
  for (const HelpOption& option : options) {
    const std::string entry = ".TP\n" + option.synopsis + "\n";
    const std::size_t at = page.find(entry);
    ASSERT_NE(at, std::string::npos) << option.synopsis;
    const std::size_t text = at + entry.size();
    EXPECT_EQ(Collapsed(page.substr(text, page.find('\n', text) - text)), option.description)
        << option.synopsis;
  }
}

TEST(ManPage, SynopsisIsTheHelpsUsage) {
  const std::string help = test::RunEncoder({"--help"}).out;
  const std::string page = Readable(test::ReadFile(STIPPLOR_MAN_PAGE).toStdString());
  const std::string synopsis = page.substr(page.find(".SH SYNOPSIS\n"));
  const std::smatch usage = [&] {
    std::smatch match;
    std::regex_search(help, match, std::regex(R"(^Usage: (\S+) (.*)\n {7}(\S+) (.*)\n)"));
    return match;
  }();
  ASSERT_FALSE(usage.empty()) << help;
  EXPECT_TRUE(synopsis.starts_with(".SH SYNOPSIS\n.B " + usage.str(1) + "\n" + usage.str(2) +
                                   "\n.br\n.B " + usage.str(3) + "\n" + usage.str(4) + "\n"))
      << synopsis;
}

TEST(ManPage, NamesTheProgramAndItsVersion) {
  const std::string page = Readable(test::ReadFile(STIPPLOR_MAN_PAGE).toStdString());
  EXPECT_NE(page.find("\n.TH STIPPLOR-ENCODE 1 \"\" \"Stipplor " STIPPLOR_VERSION "\""),
            std::string::npos);
  EXPECT_EQ(test::RunEncoder({"--version"}).out, "stipplor-encode " STIPPLOR_VERSION "\n");
}

}  // namespace
}  // namespace stipplor
