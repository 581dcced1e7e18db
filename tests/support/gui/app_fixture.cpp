#include "tests/support/gui/app_fixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

namespace stipplor::testing {

void AppFixture::SetUp() {
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

QString AppFixture::Path(const QString& name) const {
  return QString::fromStdString(folder / name.toStdString());
}

QString AppFixture::OpenPicture(int width, int height, const QString& name) {
  const QString path = Path(name);
  EXPECT_TRUE(test::Gradient(width, height).save(path)) << path.toStdString();
  Open(path);
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

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void DeleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool WaitForLoad(TextForm& textForm, int timeoutMs) {
  QSignalSpy loaded(textForm.WebBrowser1, &QWebEngineView::loadFinished);
  return loaded.wait(timeoutMs);
}

}  // namespace stipplor::testing
