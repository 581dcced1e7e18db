#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace stipplor {

// The application's title, shown on its message boxes.
inline const QString kAppTitle = QStringLiteral("Stipplor");

// The file dialogs and message boxes of the program. Filters are written as pairs of a display
// text and a pattern list separated by "|" ("*.bmp;*.gif;*.jpg|*.bmp;*.gif;*.jpg|*.*|*.*").
// A file dialog answers the chosen path, or an empty string when the user cancels.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual QString OpenFile(QWidget* parent, const QString& filter, const QString& fileName) = 0;
  virtual QString SaveFile(QWidget* parent, const QString& filter, const QString& fileName) = 0;
  // A message box with the warning icon and one OK button.
  virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
  // A warning as above with an informative text under its text (which file, and why). Dialogs
  // with no place for it show the warning alone.
  virtual void DetailedWarning(QWidget* parent, const QString& title, const QString& text,
                               const QString& /*informative*/) {
    Warning(parent, title, text);
  }
  // A message box with the warning icon and the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
  // A message box with the warning icon and one button for each choice, the last one the
  // cancel button; answers the index of the button pressed (the last one when it is closed).
  virtual int Choose(QWidget* parent, const QString& title, const QString& text,
                     const QStringList& choices) = 0;
};

// Dialogs shown with QFileDialog and QMessageBox.
class QtDialogs : public Dialogs {
 public:
  QString OpenFile(QWidget* parent, const QString& filter, const QString& fileName) override;
  QString SaveFile(QWidget* parent, const QString& filter, const QString& fileName) override;
  void Warning(QWidget* parent, const QString& title, const QString& text) override;
  void DetailedWarning(QWidget* parent, const QString& title, const QString& text,
                       const QString& informative) override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  int Choose(QWidget* parent, const QString& title, const QString& text,
             const QStringList& choices) override;
};

// Turns a "text|patterns|text|patterns" filter into QFileDialog's form,
// "text (pattern pattern);;text (pattern)".
QString QtFileFilter(const QString& filter);

}  // namespace stipplor
