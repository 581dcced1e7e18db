#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "frame/dialogs.h"

namespace stipplor::testing {

// Dialogs that answer from a script and record what they were asked.
class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { Open, Save, Warning, Question, Choice };
  struct Call {
    Kind kind{};
    QString title{};        // message boxes
    QString text{};         // message boxes
    QString filter{};       // file dialogs
    QString fileName{};     // file dialogs: the name preset
    QStringList buttons{};  // Choose
  };

  std::deque<QString> files;     // answers of the file dialogs; none left: cancelled
  std::deque<bool> answers;      // answers of the questions; none left: No
  std::deque<int> choices;       // answers of Choose; none left: the last choice (cancel)
  std::function<void()> onShow;  // runs while any dialog is "open"
  std::vector<Call> calls;

  QString OpenFile(QWidget* parent, const QString& filter, const QString& fileName) override;
  QString SaveFile(QWidget* parent, const QString& filter, const QString& fileName) override;
  void Warning(QWidget* parent, const QString& title, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  int Choose(QWidget* parent, const QString& title, const QString& text,
             const QStringList& buttons) override;

  // The messages shown with the warning icon and OK, in order.
  std::vector<QString> Warnings() const;

 private:
  QString NextFile();
};

}  // namespace stipplor::testing
