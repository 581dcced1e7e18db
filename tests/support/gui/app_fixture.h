#pragma once

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <memory>

#include "shell/mdi_pic_form.h"
#include "tests/support/gui/scripted_dialogs.h"
#include "tests/support/test_files.h"

namespace stipplor::testing {

// Destroys the windows whose close asked for their deletion.
inline void DeleteClosedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A shown main window with scripted dialogs and a folder for the files of one test.
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    StoreRecentPictures({});
    form = std::make_unique<MDIPicForm>(dialogs);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void TearDown() override {
    form.reset();
    DeleteClosedWindows();
  }

  // A menu item by its name ("mnuSize1", "mnuEncode", ...).
  QAction* Item(const char* name) const {
    auto* action = form->findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  void Trigger(const char* name) const { Item(name)->trigger(); }
  QString Path(const std::string& name) const { return QString::fromStdString(folder / name); }
  // The file dialog will answer with `path`, then the menu item.
  void Open(const QString& path) { dialogs.files.push_back(path), Trigger("mnuFileOpen"); }
  void SaveAs(const QString& path) { dialogs.files.push_back(path), Trigger("mnuSave"); }
  // A gradient picture of this size written into the test's folder and opened; answers its path.
  QString OpenPicture(int width, int height, const std::string& name = "p.bmp") {
    EXPECT_TRUE(test::Gradient(width, height).save(Path(name)));
    Open(Path(name));
    return Path(name);
  }
  // "Encode!", then waits until the result window's view has loaded the document.
  void EncodeAndWait() {
    QSignalSpy loaded(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished);
    Trigger("mnuEncode");
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(20000));
  }
  static QMdiSubWindow* SubWindowOf(QWidget* w) {
    return qobject_cast<QMdiSubWindow*>(w->parentWidget());
  }
  QMdiSubWindow* PictureSubWindow() const { return SubWindowOf(form->PictureWindow()); }
  QMdiSubWindow* ResultSubWindow() const { return SubWindowOf(form->ResultWindow()); }

  ScriptedDialogs dialogs;
  std::unique_ptr<MDIPicForm> form;
  test::TempDir folder;
};

}  // namespace stipplor::testing
