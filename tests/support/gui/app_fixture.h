#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiSubWindow>
#include <memory>

#include "shell/mdi_pic_form.h"
#include "tests/support/gui/scripted_dialogs.h"
#include "tests/support/test_files.h"

namespace stipplor::testing {

// A shown main window with scripted dialogs and a folder for the files of one test.
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A menu item by its name ("mnuSize1", "mnuEncode", ...).
  QAction* Item(const char* name) const;
  void Trigger(const char* name) const { Item(name)->trigger(); }
  QString Path(const QString& name) const;
  // A gradient picture of this size written into the test's folder and opened; answers its path.
  QString OpenPicture(int width, int height, const QString& name = QStringLiteral("p.bmp"));
  // "&Open..." answered with `path`.
  void Open(const QString& path);
  // "Encode!", then waits until the result window's view has loaded the document.
  void EncodeAndWait();
  // "&Save As ..." answered with `path`.
  void SaveAs(const QString& path);
  QMdiSubWindow* PictureSubWindow() const;
  QMdiSubWindow* ResultSubWindow() const;

  ScriptedDialogs dialogs;
  std::unique_ptr<MDIPicForm> form;
  test::TempDir folder;
};

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// Destroys the windows whose close asked for their deletion.
void DeleteClosedWindows();

// Waits (processing events) until the view of the result window has finished a load.
bool WaitForLoad(TextForm& textForm, int timeoutMs = 20000);

}  // namespace stipplor::testing
