#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "frame/dialogs.h"

namespace stipplor::testing {

// Dialogs that answer from a script and record what they were asked.
class ScriptedDialogs : public Dialogs {
 public:
  struct Call {
    QString title{};
    QString text{};         // the file dialogs' filter
    QString fileName{};     // the name a file dialog proposes
    QStringList buttons{};  // Choose's
    QString informative{};  // a detailed warning's
  };

  std::deque<QString> files;  // answers of the file dialogs; none left: cancelled
  std::deque<int> answers;    // of AskYesNo (1: Yes) and Choose; none left: No, the last button
  std::vector<Call> calls;
  std::vector<QString> warnings;  // the texts of the warnings shown

  QString OpenFile(QWidget*, const QString& filter, const QString& name) override {
    return Ask({{}, filter, name}, files, QString());
  }
  QString SaveFile(QWidget*, const QString& filter, const QString& name) override {
    return Ask({{}, filter, name}, files, QString());
  }
  void Warning(QWidget*, const QString& title, const QString& text) override {
    calls.push_back({title, text});
    warnings.push_back(text);
  }
  void DetailedWarning(QWidget* parent, const QString& title, const QString& text,
                       const QString& informative) override {
    Warning(parent, title, text);
    calls.back().informative = informative;
  }
  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    return Ask({title, text}, answers, 0) == 1;
  }
  int Choose(QWidget*, const QString& title, const QString& text,
             const QStringList& buttons) override {
    return Ask({title, text, {}, buttons}, answers, int(buttons.size()) - 1);
  }

 private:
  template <typename T>
  T Ask(Call call, std::deque<T>& script, T answer) {  // `answer` once the script has run out
    calls.push_back(std::move(call));
    if (!script.empty()) answer = script.front(), script.pop_front();
    return answer;
  }
};

}  // namespace stipplor::testing
