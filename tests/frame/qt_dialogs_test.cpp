// The file filters as QFileDialog takes them.

#include <gtest/gtest.h>

#include "frame/dialogs.h"

namespace stipplor {
namespace {

TEST(QtFileFilterTest, TurnsPairsIntoQtChoices) {
  for (const auto& [filter, qt] : {
           std::pair{"*.bmp;*.gif;*.jpg|*.bmp;*.gif;*.jpg|*.*|*.*",
                     "*.bmp;*.gif;*.jpg (*.bmp *.gif *.jpg);;*.* (*)"},
           std::pair{"(*.html;*.htm) | *.html;*.htm", "(*.html;*.htm) (*.html *.htm)"},
       }) {
    EXPECT_EQ(QtFileFilter(QString::fromLatin1(filter)), QString::fromLatin1(qt)) << filter;
  }
}

}  // namespace
}  // namespace stipplor
