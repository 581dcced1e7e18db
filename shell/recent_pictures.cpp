#include "shell/recent_pictures.h"

#include <QSettings>
#include <QVariantList>

#include "frame/dialogs.h"
#include "picture_io/file_names.h"

namespace stipplor {

namespace {

const QString kKey = QStringLiteral("RecentPictures");

}  // namespace

void RecentPictures::Add(const QString& name) {
  names_.removeAll(name);
  names_.prepend(name);
  while (names_.size() > kCount) names_.removeLast();
}

RecentPictures LoadRecentPictures() {
  const QSettings settings(kAppTitle, kAppTitle);
  RecentPictures recent;
  // Added oldest first, so that a list edited by hand still keeps the rules.
  const QVariantList names = settings.value(kKey).toList();
  for (auto name = names.crbegin(); name != names.crend(); ++name) {
    recent.Add(FileNameFromBytes(name->toByteArray()));
  }
  return recent;
}

void StoreRecentPictures(const RecentPictures& recent) {
  QSettings settings(kAppTitle, kAppTitle);
  QVariantList names;
  for (const QString& name : recent.Names()) names.append(FileNameBytes(name));
  settings.setValue(kKey, names);
}

}  // namespace stipplor
