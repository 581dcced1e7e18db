#include "tests/support/gui/app_fixture.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

namespace stipplor::testing {

void AppFixture::SetUp() {
  ASSERT_TRUE(folder.isValid());
  form = std::make_unique<MDIPicForm>(dialogs);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

void AppFixture::TearDown() {
  form.reset();
  DeleteClosedWindows();
}

QAction* AppFixture::Item(const char* name) const {
  auto* action = form->findChild<QAction*>(QString::fromLatin1(name));
  EXPECT_NE(action, nullptr) << name;
  return action;
}

QString AppFixture::WritePicture(const QString& name, const QImage& image) const {
  const QString path = Path(name);
  EXPECT_TRUE(image.save(path)) << path.toStdString();
  return path;
}

void AppFixture::Open(const QString& path) {
  dialogs.files.push_back(path);
  Trigger("mnuFileOpen");
}

void AppFixture::EncodeAndWait() {
  QSignalSpy loaded(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished);
  Trigger("mnuEncode");
  ASSERT_TRUE(loaded.count() > 0 || loaded.wait(20000));
}

void AppFixture::SaveAs(const QString& path) {
  dialogs.files.push_back(path);
  Trigger("mnuSave");
}

QMdiSubWindow* AppFixture::PictureSubWindow() const {
  return form->PictureWindow() == nullptr
             ? nullptr
             : qobject_cast<QMdiSubWindow*>(form->PictureWindow()->parentWidget());
}

QMdiSubWindow* AppFixture::ResultSubWindow() const {
  return qobject_cast<QMdiSubWindow*>(form->ResultWindow()->parentWidget());
}

QImage GradientImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(
          x, y,
          qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), (x + y) % 256));
    }
  }
  return image;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QByteArray CommandLineOutput(const QString& picture, QStringList arguments, const QString& out) {
  QProcess process;
  arguments << picture << QStringLiteral("-o") << out;
  process.start(QStringLiteral(STIPPLOR_BINARY_DIR "/cli/stipplor-encode"), arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return ReadAll(out);
}

void DeleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool WaitForLoad(TextForm& textForm, int timeoutMs) {
  QSignalSpy loaded(textForm.WebBrowser1, &QWebEngineView::loadFinished);
  return loaded.wait(timeoutMs);
}

}  // namespace stipplor::testing
