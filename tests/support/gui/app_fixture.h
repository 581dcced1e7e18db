#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <memory>

#include "shell/mdi_pic_form.h"
#include "tests/support/gui/scripted_dialogs.h"

namespace stipplor::testing {

// A shown main window with scripted dialogs and a folder for the files of one test.
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A menu item by its name ("mnuSize1", "mnuEncode", ...).
  QAction* Item(const char* name) const;
  void Trigger(const char* name) const { Item(name)->trigger(); }

  // Writes `image` into the test's folder and answers its path.
  QString WritePicture(const QString& name, const QImage& image) const;
  QString Path(const QString& name) const { return folder.filePath(name); }

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
  QTemporaryDir folder;
};

// A picture with a colour gradient, so that every part of it differs.
QImage GradientImage(int width, int height);

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// What stipplor-encode writes to `out` for the picture with these arguments.
QByteArray CommandLineOutput(const QString& picture, QStringList arguments, const QString& out);

// Destroys the windows whose close asked for their deletion.
void DeleteClosedWindows();

// Waits (processing events) until the view of the result window has finished a load.
bool WaitForLoad(TextForm& textForm, int timeoutMs = 20000);

}  // namespace stipplor::testing
