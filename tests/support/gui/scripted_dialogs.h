#pragma once

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
    QString title{};
    QString text{};      // the file dialogs' filter
    QString fileName{};  // the name a file dialog proposes
    QStringList buttons{};
  };

  std::deque<QString> files;     // answers of the file dialogs; none left: cancelled
  std::deque<int> answers;       // of AskYesNo (1: Yes) and Choose; none left: No, the last button
  std::function<void()> onShow;  // runs while any dialog is "open"
  std::vector<Call> calls;

  QString OpenFile(QWidget*, const QString& filter, const QString& name) override {
    return Ask({Kind::Open, {}, filter, name}, files, QString());
  }
  QString SaveFile(QWidget*, const QString& filter, const QString& name) override {
    return Ask({Kind::Save, {}, filter, name}, files, QString());
  }
  void Warning(QWidget*, const QString& title, const QString& text) override {
    std::deque<int> none;
    Ask({Kind::Warning, title, text}, none, 0);
  }
  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    return Ask({Kind::Question, title, text}, answers, 0) == 1;
  }
  int Choose(QWidget*, const QString& title, const QString& text,
             const QStringList& buttons) override {
    return Ask({Kind::Choice, title, text, {}, buttons}, answers, int(buttons.size()) - 1);
  }

  // The texts of the warnings shown, in order.
  std::vector<QString> Warnings() const {
    std::vector<QString> texts;
    for (const Call& call : calls) {
      if (call.kind == Kind::Warning) texts.push_back(call.text);
    }
    return texts;
  }

 private:
  template <typename T>
  T Ask(Call call, std::deque<T>& script, T none) {
    calls.push_back(std::move(call));
    if (onShow) onShow();
    if (script.empty()) return none;
    T answer = script.front();
    script.pop_front();
    return answer;
  }
};

}  // namespace stipplor::testing
