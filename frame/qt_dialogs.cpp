#include <QFileDialog>
#include <QMessageBox>
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

bool QtDialogs::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace stipplor
