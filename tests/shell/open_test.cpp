// Opening a picture from the File menu or by dropping a file on the main window.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

class OpenTest : public AppFixture {
 protected:
  void Drop(const QList<QUrl>& urls, const QString& text = {}) {
    QMimeData data;
    if (!urls.isEmpty()) data.setUrls(urls);
    if (!text.isEmpty()) data.setText(text);
    const QPoint position = form->rect().center();
    QDragEnterEvent enter(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
  }

  QString Caption() const { return form->PictureWindow()->windowTitle(); }
};

TEST_F(OpenTest, AsksWithTheOpenFilterAndAnEmptyNameEveryTime) {
  Trigger("mnuFileOpen");
  Trigger("mnuFileOpen");
  ASSERT_EQ(dialogs.calls.size(), 2U);
  for (const auto& call : dialogs.calls) {
    EXPECT_EQ(call.kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(call.fileName, QString());
  }
  // Two choices: the pictures by every name their formats go by, and every file.
  const QStringList filter = dialogs.calls.front().filter.split(u'|');
  ASSERT_EQ(filter.size(), 4);
  EXPECT_EQ(filter[0], filter[1]);
  EXPECT_EQ(filter.mid(2), QStringList({QStringLiteral("*.*"), QStringLiteral("*.*")}));
  const QStringList pictures = filter[1].split(u';');
  for (const char* name : {"a.bmp", "a.dib", "a.gif", "a.jpg", "a.jpeg", "a.jpe", "a.jfif"}) {
    EXPECT_TRUE(QDir::match(pictures, QString::fromLatin1(name))) << name;
  }
  EXPECT_FALSE(QDir::match(pictures, QStringLiteral("a.txt")));
}

TEST_F(OpenTest, CancellingChangesNothing) {
  Trigger("mnuFileOpen");
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_FALSE(Item("mnuEncode")->isEnabled());
  EXPECT_EQ(form->StatusPanel(1), QString());
  EXPECT_TRUE(dialogs.Warnings().empty());
}

TEST_F(OpenTest, OpensEachFormatWithThePathAsCaption) {
  const QImage image = GradientImage(40, 30);
  const struct {
    QString path;
    QSize size;
  } cases[] = {
      {WritePicture(QStringLiteral("a.bmp"), image), image.size()},
      {WritePicture(QStringLiteral("c.jpg"), image), image.size()},
      {WritePicture(QStringLiteral("d.png"), image), image.size()},
      {QStringLiteral(STIPPLOR_SOURCE_DIR "/samples/rocket.gif"), QSize(640, 427)},
      {QStringLiteral(STIPPLOR_SOURCE_DIR "/samples/chelsea.bmp"), QSize(451, 300)},
  };
  for (const auto& c : cases) {
    Open(c.path);
    ASSERT_NE(form->PictureWindow(), nullptr) << c.path.toStdString();
    EXPECT_EQ(Caption(), c.path);
    EXPECT_EQ(form->PictureWindow()->picture().Width(), c.size.width());
    EXPECT_EQ(form->PictureWindow()->picture().Height(), c.size.height());
  }
  EXPECT_TRUE(dialogs.Warnings().empty());
}

TEST_F(OpenTest, ASecondPictureReplacesTheFirstInTheSameWindow) {
  Open(WritePicture(QStringLiteral("first.bmp"), GradientImage(40, 30)));
  PicForm* window = form->PictureWindow();
  const QString second = WritePicture(QStringLiteral("second.bmp"), GradientImage(70, 20));
  Open(second);
  EXPECT_EQ(form->PictureWindow(), window);
  EXPECT_EQ(Caption(), second);
  EXPECT_EQ(window->picture().Width(), 70);
  EXPECT_TRUE(Item("mnuEncode")->isEnabled());
}

TEST_F(OpenTest, AnInvalidFileKeepsThePreviousPictureAndCaption) {
  const QString good = WritePicture(QStringLiteral("good.bmp"), GradientImage(40, 30));
  Open(good);
  const QString fake = Path(QStringLiteral("text.jpg"));
  QFile file(fake);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("this is no picture\n");
  file.close();
  for (const QString& bad : {fake, Path(QStringLiteral("missing.bmp")), folder.path()}) {
    dialogs.calls.clear();
    Open(bad);
    ASSERT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Invalid Picture File !")});
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
    EXPECT_EQ(Caption(), good);
    EXPECT_EQ(form->PictureWindow()->picture().Width(), 40);
  }
}

TEST_F(OpenTest, AnInvalidFirstFileCreatesNoWindow) {
  Open(Path(QStringLiteral("missing.jpg")));
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Invalid Picture File !")});
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_FALSE(Item("mnuEncode")->isEnabled());
}

TEST_F(OpenTest, DroppingOneFileOpensIt) {
  const QString path = WritePicture(QStringLiteral("dropped.bmp"), GradientImage(33, 22));
  Drop({QUrl::fromLocalFile(path)});
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(Caption(), path);
  EXPECT_EQ(form->PictureWindow()->picture().Width(), 33);
}

// A name that is no UTF-8 (Latin-1) opens from the bytes of its URL; the caption shows the byte
// as \xE9.
TEST_F(OpenTest, DroppingAFileWhoseNameIsNoUtf8OpensIt) {
  const QByteArray path = QFile::encodeName(Path(QStringLiteral("caf"))) + "\xE9.bmp";
  ASSERT_EQ(::rename(QFile::encodeName(WritePicture(QStringLiteral("p.bmp"), GradientImage(33, 22)))
                         .constData(),
                     path.constData()),
            0);
  Drop({QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(Path(QStringLiteral("caf")), "/") +
                          "%E9.bmp")});
  ::unlink(path.constData());  // the folder's own clean-up cannot name it
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(Caption(), Path(QStringLiteral("caf\\xE9.bmp")));
}

TEST_F(OpenTest, DroppingTwoFilesOrNoFileDoesNothing) {
  const QString a = WritePicture(QStringLiteral("a.bmp"), GradientImage(10, 10));
  const QString b = WritePicture(QStringLiteral("b.bmp"), GradientImage(10, 10));
  Drop({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
  Drop({}, QStringLiteral("some dragged text"));
  Drop({QUrl(QStringLiteral("http://localhost/a.bmp"))});
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(OpenTest, ADroppedFileThatIsNoPictureIsReported) {
  Drop({QUrl::fromLocalFile(Path(QStringLiteral("missing.bmp")))});
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Invalid Picture File !")});
}

}  // namespace
}  // namespace stipplor::testing
