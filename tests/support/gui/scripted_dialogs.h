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
    QString title{};     // message boxes
    QString text{};      // message boxes; the file dialogs' filter
    QString fileName{};  // file dialogs: the name proposed
    QStringList buttons{};
  };

  std::deque<QString> files;     // answers of the file dialogs; none left: cancelled
  std::deque<int> answers;       // of AskYesNo (1: Yes) and Choose; none left: No, the last choice
  std::function<void()> onShow;  // runs while any dialog is "open"
  std::vector<Call> calls;

  QString OpenFile(QWidget*, const QString& filter, const QString& fileName) override {
    return Ask({.kind = Kind::Open, .text = filter, .fileName = fileName}, files, QString());
  }
  QString SaveFile(QWidget*, const QString& filter, const QString& fileName) override {
    return Ask({.kind = Kind::Save, .text = filter, .fileName = fileName}, files, QString());
  }
  void Warning(QWidget*, const QString& title, const QString& text) override {
    Ask({.kind = Kind::Warning, .title = title, .text = text}, answers, 0);
  }
  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    return Ask({.kind = Kind::Question, .title = title, .text = text}, answers, 0) == 1;
  }
  int Choose(QWidget*, const QString& title, const QString& text,
             const QStringList& buttons) override {
    return Ask({Kind::Choice, title, text, {}, buttons}, answers,
               static_cast<int>(buttons.size()) - 1);
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
    const bool answered = call.kind != Kind::Warning;
    calls.push_back(std::move(call));
    if (onShow) onShow();
    if (!answered || script.empty()) return none;
    T answer = script.front();
    script.pop_front();
    return answer;
  }
};

}  // namespace stipplor::testing
