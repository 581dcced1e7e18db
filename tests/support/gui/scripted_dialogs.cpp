#include "tests/support/gui/scripted_dialogs.h"

namespace stipplor::testing {

QString ScriptedDialogs::NextFile() {
  if (onShow) onShow();
  if (files.empty()) return {};
  QString file = files.front();
  files.pop_front();
  return file;
}

QString ScriptedDialogs::OpenFile(QWidget*, const QString& filter, const QString& fileName) {
  calls.push_back({.kind = Kind::Open, .filter = filter, .fileName = fileName});
  return NextFile();
}

QString ScriptedDialogs::SaveFile(QWidget*, const QString& filter, const QString& fileName) {
  calls.push_back({.kind = Kind::Save, .filter = filter, .fileName = fileName});
  return NextFile();
}

void ScriptedDialogs::Warning(QWidget*, const QString& title, const QString& text) {
  calls.push_back({.kind = Kind::Warning, .title = title, .text = text});
  if (onShow) onShow();
}

bool ScriptedDialogs::AskYesNo(QWidget*, const QString& title, const QString& text) {
  calls.push_back({.kind = Kind::Question, .title = title, .text = text});
  if (onShow) onShow();
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

int ScriptedDialogs::Choose(QWidget*, const QString& title, const QString& text,
                            const QStringList& buttons) {
  calls.push_back({.kind = Kind::Choice, .title = title, .text = text, .buttons = buttons});
  if (onShow) onShow();
  if (choices.empty()) return static_cast<int>(buttons.size()) - 1;
  const int answer = choices.front();
  choices.pop_front();
  return answer;
}

std::vector<QString> ScriptedDialogs::Warnings() const {
  std::vector<QString> texts;
  for (const Call& call : calls) {
    if (call.kind == Kind::Warning) texts.push_back(call.text);
  }
  return texts;
}

}  // namespace stipplor::testing
