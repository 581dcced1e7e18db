#pragma once

#include <QString>
#include <string_view>

namespace stipplor {

// Writes `text` to `path` as the command line writes its pages: through a temporary file in the
// same folder that replaces the target only once it is completely written and on the disk, so
// a failed write leaves an existing file as it was. Answers the platform's description of the
// failure, or an empty string on success.
QString WriteWhole(const QString& path, std::string_view text);

// Why a save to `path` is refused at once, or an empty string: a FIFO, device or socket of that
// name (or a link to one) would be written in place, and could hold the program or never end.
// A folder is left to the save, which fails.
QString SaveRefusal(const QString& path);

// Whether a save to `path` replaces a file: any file of that name counts, even one this user
// cannot read, or a link to nowhere; a folder does not (a save to it fails).
bool IsTaken(const QString& path);

}  // namespace stipplor
