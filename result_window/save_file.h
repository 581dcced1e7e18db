#pragma once

#include <QString>
#include <string_view>

namespace stipplor {

// Writes `text` to `path` as the command line writes its pages: through a temporary file in the
// same folder that replaces the target only once it is completely written and on the disk, so
// a failed write leaves an existing file as it was. Answers the platform's description of the
// failure, or an empty string on success.
QString WriteWhole(const QString& path, std::string_view text);

}  // namespace stipplor
