// The file filters as QFileDialog takes them.

#include <gtest/gtest.h>

#include "frame/dialogs.h"

namespace stipplor {
namespace {

TEST(QtFileFilterTest, TurnsPairsIntoQtChoices) {
  EXPECT_EQ(QtFileFilter("*.bmp;*.gif;*.jpg|*.bmp;*.gif;*.jpg|*.*|*.*"),
            "*.bmp;*.gif;*.jpg (*.bmp *.gif *.jpg);;*.* (*)");
  EXPECT_EQ(QtFileFilter("(*.html;*.htm) | *.html;*.htm"), "(*.html;*.htm) (*.html *.htm)");
}

}  // namespace
}  // namespace stipplor
