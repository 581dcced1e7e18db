// The file filters as QFileDialog takes them.

#include <gtest/gtest.h>

#include "frame/dialogs.h"

namespace stipplor {
namespace {

TEST(QtFileFilterTest, TurnsPairsIntoQtChoices) {
  const struct {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"*.bmp;*.gif;*.jpg|*.bmp;*.gif;*.jpg|*.*|*.*",
       "*.bmp;*.gif;*.jpg (*.bmp *.gif *.jpg);;*.* (*)"},
      {"(*.html;*.htm) | *.html;*.htm", "(*.html;*.htm) (*.html *.htm)"},
      {"Pictures|*.png", "Pictures (*.png)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QtFileFilter(QString::fromLatin1(c.filter)), QString::fromLatin1(c.qt)) << c.filter;
  }
}

}  // namespace
}  // namespace stipplor
