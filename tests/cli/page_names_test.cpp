#include "cli/page_names.h"

#include <gtest/gtest.h>

namespace stipplor {
namespace {

TEST(PageName, IsTheFileNameWithoutItsExtension) {
  struct Case {
    std::string_view input;
    std::string page;
  };
  const Case cases[] = {
      {"cat.jpg", "cat.html"},
      {"photos/cat.jpg", "cat.html"},
      {"/abs/path/cat.JPEG", "cat.html"},
      {"cat", "cat.html"},
      {"a.b.gif", "a.b.html"},
      {"folder.d/cat", "cat.html"},  // a dot in a folder's name is no extension
      {".cat", ".cat.html"},         // a leading dot is no extension
      {".cat.bmp", ".cat.html"},
      {"cat.", "cat.html"},
      {"photos/", "photos.html"},  // a folder: it will not load, but its name is its page's
      {"page.html", "page.html"},
  };
  for (const Case& c : cases) EXPECT_EQ(PageName(c.input), c.page) << c.input;
}

TEST(PageName, PathIsInTheFolder) {
  EXPECT_EQ(PagePath("out", "x/cat.jpg"), "out/cat.html");
  EXPECT_EQ(PagePath("out/", "cat.jpg"), "out/cat.html");
  EXPECT_EQ(PagePath("/", "cat.jpg"), "/cat.html");
  EXPECT_EQ(PagePath(".", "../cat.jpg"), "./cat.html");
}

}  // namespace
}  // namespace stipplor
