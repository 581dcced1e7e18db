// The option items, the keys, and opening a picture from the File menu or by dropping it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <array>
#include <functional>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

using MenuTest = AppFixture;

TEST_F(MenuTest, EachOptionItemStoresItsValueAndMovesItsMark) {
  // The rows apply in turn. Values: the seven as Encode takes them (BW, Ratio, Colorized,
  // HighQuality, MinimizeSize, BWEncoding, BWSmoothTransition), the pixel font, the page width.
  const char* const start =
      "BWDotted BWGrey BWSmoothTransition Colored ColoredHiQu MinimizeSize PageWidthPicture Size2";
  const struct {
    std::vector<const char*> items;
    std::array<int, 9> values;
    const char* marks;  // the checked items, without "mnu"
  } rows[] = {
      {{}, {0, 2, 0, -1, -1, 2, -1, 0, 0}, start},
      {{"mnuSize1", "mnuBW", "mnuBWPlain", "mnuBWColorized", "mnuBWSmoothTransition",
        "mnuColoredLoQu", "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidth800"},
       {-1, 1, -1, 0, 0, 0, 0, 1, 800},
       "BW BWColorized BWPlain ColoredLoQu PageWidth800 PixelFont Size1"},
      {{"mnuSize3", "mnuBWPattern", "mnuPageWidth1600"},
       {-1, 3, -1, 0, 0, 1, 0, 1, 1600},
       "BW BWColorized BWPattern ColoredLoQu PageWidth1600 PixelFont Size3"},
      {{"mnuSize4", "mnuSize4", "mnuBWFractal", "mnuColored", "mnuPageWidth1200"},
       {0, 4, -1, 0, 0, 3, 0, 1, 1200},
       "BWColorized BWFractal Colored ColoredLoQu PageWidth1200 PixelFont Size4"},
      {{"mnuSize2", "mnuBWDotted", "mnuBWGrey", "mnuBWSmoothTransition", "mnuColoredHiQu",
        "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidthPicture"},
       {0, 2, 0, -1, -1, 2, -1, 0, 0},
       start},
  };
  for (const auto& row : rows) {
    for (const char* item : row.items) Trigger(item);
    const EncodeOptions o = form->Options().ForEncode();
    EXPECT_EQ(
        (std::array<int, 9>{o.BW, o.Ratio, o.Colorized, o.HighQuality, o.MinimizeSize, o.BWEncoding,
                            o.BWSmoothTransition, o.PixelFont, form->Options().PageWidth}),
        row.values)
        << row.marks;
    QStringList marks;
    for (const QAction* item : form->findChildren<QAction*>()) {
      if (item->isChecked()) marks << item->objectName().mid(3);
    }
    marks.sort();
    EXPECT_EQ(marks.join(u' ').toStdString(), row.marks);
  }
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
  test::Gradient(20, 10).save(Path(QStringLiteral("p.bmp")));
  dialogs.files.push_back(Path(QStringLiteral("p.bmp")));
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

TEST_F(MenuTest, OpenOffersEveryPictureNameAndARefusedFileChangesNoWindow) {
  Trigger("mnuFileOpen");  // cancelled
  const QStringList filter = dialogs.calls.at(0).text.split(u'|');
  ASSERT_EQ(filter.size(), 4);
  EXPECT_EQ(filter[0], filter[1]);
  EXPECT_EQ(filter[3], QStringLiteral("*.*"));
  for (const char* name : {"a.bmp", "a.dib", "a.gif", "a.jpg", "a.jpeg", "a.jpe", "a.jfif"}) {
    EXPECT_TRUE(QDir::match(filter[1].split(u';'), QString::fromLatin1(name))) << name;
  }
  Open(Path(QStringLiteral("missing.bmp")));
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_FALSE(Item("mnuEncode")->isEnabled());
  const QString good = OpenPicture(40, 30);
  PicForm* window = form->PictureWindow();
  Open(Path(QStringLiteral("missing.bmp")));
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>(2, QStringLiteral("Invalid Picture File !")));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(form->PictureWindow(), window);
  EXPECT_EQ(window->windowTitle(), good);
  EXPECT_EQ(window->picture().Width(), 40);
}

TEST_F(MenuTest, OneDroppedFileOpensEvenWithANameThatIsNoUtf8) {
  const auto drop = [this](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = form->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
  };
  const QString picture = Path(QStringLiteral("p.bmp"));
  test::Gradient(33, 22).save(picture);
  drop({QUrl::fromLocalFile(picture), QUrl::fromLocalFile(picture)});
  drop({QUrl(QStringLiteral("http://localhost/p.bmp"))});
  drop({});
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_TRUE(dialogs.calls.empty());
  drop({QUrl::fromLocalFile(Path(QStringLiteral("missing.bmp")))});
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Invalid Picture File !")});

  // A Latin-1 name opens from the bytes of its URL; the caption shows the byte as \xE9.
  const QByteArray folderUrl = QUrl::toPercentEncoding(QString::fromStdString(folder.Path()), "/");
  ASSERT_EQ(::rename(QFile::encodeName(picture).constData(), (folder / "caf\xE9.bmp").c_str()), 0);
  drop({QUrl::fromEncoded("file://" + folderUrl + "/caf%E9.bmp")});
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path(QStringLiteral("caf\\xE9.bmp")));
  EXPECT_EQ(form->PictureWindow()->picture().Width(), 33);
}

}  // namespace
}  // namespace stipplor::testing
