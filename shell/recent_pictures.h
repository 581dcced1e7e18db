#pragma once

#include <QString>
#include <QStringList>

namespace stipplor {

// The pictures opened last, newest first: each name once, at most kCount of them.
class RecentPictures {
 public:
  static constexpr int kCount = 8;

  const QStringList& Names() const { return names_; }
  // `name` becomes the newest; the oldest beyond kCount goes.
  void Add(const QString& name);
  void Remove(const QString& name) { names_.removeAll(name); }

 private:
  QStringList names_;
};

// The list as it is kept between runs, in the user's settings (QSettings), each name as its bytes
// so that a name that is no UTF-8 comes back as it went.
RecentPictures LoadRecentPictures();
void StoreRecentPictures(const RecentPictures& recent);

}  // namespace stipplor
