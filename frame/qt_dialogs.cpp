#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "frame/dialogs.h"

namespace stipplor {

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList choices;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
      // "*.*" means every file, also one without a dot in its name.
      patterns << (pattern.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*")
                                                              : pattern.trimmed());
    }
    choices << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
  }
  return choices.join(QStringLiteral(";;"));
}

namespace {

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter,
                      const QString& fileName) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  // The open dialog takes any typed name; the loader tells whether it is a picture. The save
  // dialog asks nothing: the overwrite question belongs to the result window.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(QtFileFilter(filter));
  dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

QString QtDialogs::OpenFile(QWidget* parent, const QString& filter, const QString& fileName) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen, filter, fileName);
}

QString QtDialogs::SaveFile(QWidget* parent, const QString& filter, const QString& fileName) {
  return RunFileDialog(parent, QFileDialog::AcceptSave, filter, fileName);
}

void QtDialogs::Warning(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void QtDialogs::DetailedWarning(QWidget* parent, const QString& title, const QString& text,
                                const QString& informative) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box.setInformativeText(informative);
  box.exec();
}

bool QtDialogs::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

int QtDialogs::Choose(QWidget* parent, const QString& title, const QString& text,
                      const QStringList& choices) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
  QList<QAbstractButton*> buttons;
  for (qsizetype i = 0; i < choices.size(); ++i) {
    buttons.append(box.addButton(
        choices[i], i + 1 == choices.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
  }
  box.exec();
  const auto pressed = buttons.indexOf(box.clickedButton());
  return static_cast<int>(pressed < 0 ? choices.size() - 1 : pressed);
}

}  // namespace stipplor
