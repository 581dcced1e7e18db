#include "app/start_file.h"

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

using StartFileTest = AppFixture;

// `stipplor FILE`, as the desktop entry's %f gives it: a name that is no UTF-8 opens by the bytes
// it was given; without a FILE nothing opens.
TEST_F(StartFileTest, OpensTheFileOfTheCommandLineByItsBytes) {
  std::string name = folder / "caf\xE9.bmp";
  test::WriteFile(name, test::Encoded(test::Gradient(33, 22), "BMP"));
  std::string program = "stipplor";
  char* argv[] = {program.data(), name.data()};
  OpenStartFile(*form, {}, 1, argv);
  EXPECT_EQ(form->PictureWindow(), nullptr);
  OpenStartFile(*form, {QString::fromLocal8Bit(name.c_str())}, 2, argv);
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
  EXPECT_TRUE(dialogs.warnings.empty());
}

}  // namespace
}  // namespace stipplor::testing
