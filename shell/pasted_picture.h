#pragma once

#include <QString>

class QMimeData;

namespace stipplor {

// The one local file that copied or dropped data names (a text/uri-list of one file URL), its
// name taken from the URL's own bytes; empty when the data names no such file or several.
QString CopiedFile(const QMimeData& data);

// Whether "Paste Picture" finds a picture in the data: one copied file or an image.
bool HoldsPicture(const QMimeData& data);

}  // namespace stipplor
