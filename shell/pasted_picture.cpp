#include "shell/pasted_picture.h"

#include <QMimeData>
#include <QUrl>

#include "picture_io/file_names.h"

namespace stipplor {

QString CopiedFile(const QMimeData& data) {
  // The formats first: the data itself may have to come from another program.
  if (!data.hasUrls()) return {};
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
  // toLocalFile() would make a name that is no UTF-8 unreadable.
  return FileNameFromBytes(
      QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1()));
}

bool HoldsPicture(const QMimeData& data) {
  return data.hasImage() || data.hasFormat(QStringLiteral("image/png")) ||
         !CopiedFile(data).isEmpty();
}

}  // namespace stipplor
