// The main window's menu bar: its items and states at start, and the option commands.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

struct MenuRow {
  int depth;
  std::string name;
  std::string caption;  // "-" for a separator
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  friend bool operator==(const MenuRow&, const MenuRow&) = default;
};

void PrintTo(const MenuRow& row, std::ostream* os) {
  *os << std::string(static_cast<std::size_t>(row.depth) * 2, ' ') << row.name << " \""
      << row.caption << "\"" << (row.enabled ? "" : " disabled") << (row.visible ? "" : " hidden")
      << (row.checked ? " checked" : "");
}

void Walk(const QList<QAction*>& actions, int depth, std::vector<MenuRow>& rows) {
  for (QAction* action : actions) {
    rows.push_back({depth, action->objectName().toStdString(),
                    action->isSeparator() ? "-" : action->text().toStdString(), action->isEnabled(),
                    action->isVisible(), action->isChecked()});
    if (action->menu() != nullptr) Walk(action->menu()->actions(), depth + 1, rows);
  }
}

std::vector<MenuRow> MenuBarRows(MDIPicForm& form) {
  std::vector<MenuRow> rows;
  Walk(form.menuBar()->actions(), 0, rows);
  return rows;
}

const std::vector<MenuRow> kStartMenu = {
    {0, "mnuFile", "&File"},
    {1, "mnuFileOpen", "&Open..."},
    {1, "mnuSave", "&Save As ...", false},
    {1, "mnuSep0", "-"},
    {1, "mnuFileExit", "&Exit"},
    {0, "mnuOptions", "&Options"},
    {1, "mnuSize1", "1:2 ( &Large )"},
    {1, "mnuSize2", "1:1 ( &Normal )", true, true, true},
    {1, "mnuSize3", "3:2 ( &Small )"},
    {1, "mnuSize4", "2:1 ( &Tiny )"},
    {1, "mnuSep1", "-"},
    {1, "mnuBW", "&B&&W"},
    {1, "mnuColored", "&Colored", true, true, true},
    {1, "mnuSep2", "-"},
    {1, "mnuBWOptions", "&B&&W Options"},
    {2, "mnuBWPlain", "&Plain"},
    {2, "mnuBWPattern", "&Pattern"},
    {2, "mnuBWDotted", "&Dotted", true, true, true},
    {2, "mnuBWFractal", "&Fractal"},
    {2, "mnuSep3", "-"},
    {2, "mnuBWGrey", "&Grey", true, true, true},
    {2, "mnuBWColorized", "&Colorized"},
    {2, "mnuSep4", "-"},
    {2, "mnuBWSmoothTransition", "Smooth Transition", true, true, true},
    {1, "mnuColoredOptions", "&Colored Options"},
    {2, "mnuColoredLoQu", "&Lower Quality"},
    {2, "mnuColoredHiQu", "&Higher Quality", true, true, true},
    {1, "mnuSep5", "-"},
    {1, "mnuMinimizeSize", "&Minimize Size", true, true, true},
    {1, "mnuPixelFont", "Pixel Font"},
    {1, "mnuSep7", "-"},
    {1, "mnuPageWidth", "Page &Width"},
    {2, "mnuPageWidthPicture", "&As Picture", true, true, true},
    {2, "mnuPageWidth1600", "1600"},
    {2, "mnuPageWidth1200", "1200"},
    {2, "mnuPageWidth800", "800"},
    {2, "mnuPageWidth400", "400"},
    {0, "mnuEncode", "Encode!", false},
    {0, "mnuWindow", "&Window"},
    {1, "mnuTileHorizontally", "Tile &Horizontally", false},
    {1, "mnuTileVertically", "Tile &Vertically", false},
    {1, "mnuSep6", "-"},
    // Qt reports a hidden item as disabled; shown again, it is enabled.
    {1, "mnuPicture", "&Picture", false, false},
    {1, "mnuRuvaDev", "&RuvaDev", false, false},
};

using Values = std::tuple<int, int, int, int, int, int, int>;

Values ValuesOf(const EncodeOptions& o) {
  return {o.BW,           o.Ratio,      o.Colorized,         o.HighQuality,
          o.MinimizeSize, o.BWEncoding, o.BWSmoothTransition};
}

using MenuTest = AppFixture;

TEST_F(MenuTest, StartsWithTheDefinedItemsStatesAndMarks) {
  EXPECT_EQ(MenuBarRows(*form), kStartMenu);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Stipplor"));
  EXPECT_EQ(form->StatusPanel(1), QString());
  EXPECT_EQ(form->StatusPanel(2), QString());
  EXPECT_EQ(ValuesOf(form->Options().ForEncode()), Values(0, 2, 0, -1, -1, 2, -1));
}

TEST_F(MenuTest, AccessKeysShowALiteralAmpersand) {
  // "&B&&W" is shown as "B&W" with B as its access key.
  EXPECT_EQ(QKeySequence::mnemonic(Item("mnuBW")->text()), QKeySequence(Qt::ALT | Qt::Key_B));
  EXPECT_EQ(Item("mnuBW")->iconText(), QStringLiteral("B&W"));
}

TEST_F(MenuTest, StartsWithAHiddenResultWindowAndNoPictureWindow) {
  EXPECT_EQ(form->PictureWindow(), nullptr);
  ASSERT_NE(form->ResultWindow(), nullptr);
  EXPECT_FALSE(ResultSubWindow()->isVisible());
  EXPECT_EQ(form->ResultWindow()->windowTitle(), QStringLiteral("RuvaDev"));
  EXPECT_FALSE(form->ResultWindow()->CanUnloadMe);
}

TEST_F(MenuTest, TheCommandsAnswerTheirKeysWhereverTheFocusIs) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  // The keys go to the focus widget as typed. The result window's view hands back the keys its
  // page does not use a moment later, so each effect is waited for.
  const auto press = [this](const char* keys, const std::function<bool()>& reached) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus != nullptr ? focus : form.get(),
                       QKeySequence(QString::fromLatin1(keys)));
    return QTest::qWaitFor(reached, 5000);
  };
  dialogs.files.push_back(WritePicture(QStringLiteral("p.bmp"), GradientImage(20, 10)));
  ASSERT_TRUE(press("Ctrl+O", [this] { return form->PictureWindow() != nullptr; }));
  QSignalSpy loaded(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished);
  for (const char* keys : {"Ctrl+E", "F5"}) {
    ResultSubWindow()->hide();
    EXPECT_TRUE(press(keys, [this] { return ResultSubWindow()->isVisible(); })) << keys;
  }
  ASSERT_TRUE(loaded.count() > 0 || loaded.wait(20000));
  form->ResultWindow()->WebBrowser1->setFocus();
  for (const char* keys : {"Ctrl+S", "Ctrl+Shift+S"}) {
    dialogs.calls.clear();
    ASSERT_TRUE(press(keys, [this] { return !dialogs.calls.empty(); })) << keys;
    EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Save);
  }
  EXPECT_TRUE(press("Ctrl+Q", [this] { return !form->isVisible(); }));
}

struct OptionCase {
  std::vector<const char*> commands;
  Values values;
  std::set<std::string> checked;  // the checked items of the Options menu afterwards
};

void PrintTo(const OptionCase& c, std::ostream* os) {
  for (const char* command : c.commands) *os << command << ' ';
}

const std::set<std::string> kStartMarks = {
    "mnuSize2",       "mnuColored",      "mnuBWDotted",        "mnuBWGrey", "mnuBWSmoothTransition",
    "mnuColoredHiQu", "mnuMinimizeSize", "mnuPageWidthPicture"};

std::set<std::string> With(std::set<std::string> marks, std::vector<std::string> off,
                           std::vector<std::string> on) {
  for (const auto& name : off) marks.erase(name);
  for (const auto& name : on) marks.insert(name);
  return marks;
}

class OptionCommandTest : public AppFixture, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionCommandTest, StoresTheValueAndMovesOnlyTheMarks) {
  const OptionCase& c = GetParam();
  for (const char* command : c.commands) Trigger(command);

  EXPECT_EQ(ValuesOf(form->Options().ForEncode()), c.values);
  std::set<std::string> checked;
  std::vector<MenuRow> rows = MenuBarRows(*form);
  for (const MenuRow& row : rows) {
    if (row.checked) checked.insert(row.name);
  }
  EXPECT_EQ(checked, c.checked);
  // Nothing but the marks changes.
  ASSERT_EQ(rows.size(), kStartMenu.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    MenuRow expected = kStartMenu[i];
    expected.checked = rows[i].checked;
    EXPECT_EQ(rows[i], expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, OptionCommandTest,
    ::testing::Values(
        OptionCase{
            {"mnuSize1"}, {0, 1, 0, -1, -1, 2, -1}, With(kStartMarks, {"mnuSize2"}, {"mnuSize1"})},
        OptionCase{{"mnuSize2"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        OptionCase{
            {"mnuSize3"}, {0, 3, 0, -1, -1, 2, -1}, With(kStartMarks, {"mnuSize2"}, {"mnuSize3"})},
        OptionCase{
            {"mnuSize4"}, {0, 4, 0, -1, -1, 2, -1}, With(kStartMarks, {"mnuSize2"}, {"mnuSize4"})},
        OptionCase{{"mnuSize4", "mnuSize4"},
                   {0, 4, 0, -1, -1, 2, -1},
                   With(kStartMarks, {"mnuSize2"}, {"mnuSize4"})},
        OptionCase{
            {"mnuBW"}, {-1, 2, 0, -1, -1, 2, -1}, With(kStartMarks, {"mnuColored"}, {"mnuBW"})},
        OptionCase{{"mnuBW", "mnuColored"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        OptionCase{{"mnuBWPlain"},
                   {0, 2, 0, -1, -1, 0, -1},
                   With(kStartMarks, {"mnuBWDotted"}, {"mnuBWPlain"})},
        OptionCase{{"mnuBWPattern"},
                   {0, 2, 0, -1, -1, 1, -1},
                   With(kStartMarks, {"mnuBWDotted"}, {"mnuBWPattern"})},
        OptionCase{{"mnuBWFractal"},
                   {0, 2, 0, -1, -1, 3, -1},
                   With(kStartMarks, {"mnuBWDotted"}, {"mnuBWFractal"})},
        OptionCase{{"mnuBWFractal", "mnuBWDotted"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        OptionCase{{"mnuBWColorized"},
                   {0, 2, -1, -1, -1, 2, -1},
                   With(kStartMarks, {"mnuBWGrey"}, {"mnuBWColorized"})},
        OptionCase{{"mnuBWColorized", "mnuBWGrey"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        OptionCase{{"mnuBWSmoothTransition"},
                   {0, 2, 0, -1, -1, 2, 0},
                   With(kStartMarks, {"mnuBWSmoothTransition"}, {})},
        OptionCase{{"mnuBWSmoothTransition", "mnuBWSmoothTransition"},
                   {0, 2, 0, -1, -1, 2, -1},
                   kStartMarks},
        OptionCase{{"mnuColoredLoQu"},
                   {0, 2, 0, 0, -1, 2, -1},
                   With(kStartMarks, {"mnuColoredHiQu"}, {"mnuColoredLoQu"})},
        OptionCase{{"mnuColoredLoQu", "mnuColoredHiQu"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        OptionCase{{"mnuMinimizeSize"},
                   {0, 2, 0, -1, 0, 2, -1},
                   With(kStartMarks, {"mnuMinimizeSize"}, {})},
        OptionCase{{"mnuMinimizeSize", "mnuMinimizeSize"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        // The page width is none of the seven values.
        OptionCase{{"mnuPageWidth800"},
                   {0, 2, 0, -1, -1, 2, -1},
                   With(kStartMarks, {"mnuPageWidthPicture"}, {"mnuPageWidth800"})},
        OptionCase{
            {"mnuPageWidth800", "mnuPageWidthPicture"}, {0, 2, 0, -1, -1, 2, -1}, kStartMarks},
        // Each family keeps its options across mode changes.
        OptionCase{
            {"mnuBW", "mnuBWFractal", "mnuBWColorized", "mnuColored"},
            {0, 2, -1, -1, -1, 3, -1},
            With(kStartMarks, {"mnuBWDotted", "mnuBWGrey"}, {"mnuBWFractal", "mnuBWColorized"})},
        OptionCase{
            {"mnuColoredLoQu", "mnuMinimizeSize", "mnuBW", "mnuSize3"},
            {-1, 3, 0, 0, 0, 2, -1},
            With(kStartMarks, {"mnuColoredHiQu", "mnuMinimizeSize", "mnuColored", "mnuSize2"},
                 {"mnuColoredLoQu", "mnuBW", "mnuSize3"})},
        OptionCase{{"mnuPixelFont", "mnuBW"},
                   {-1, 2, 0, -1, -1, 2, -1},
                   With(kStartMarks, {"mnuColored"}, {"mnuPixelFont", "mnuBW"})}));

}  // namespace
}  // namespace stipplor::testing
