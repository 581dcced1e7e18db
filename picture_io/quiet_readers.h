#pragma once

namespace stipplor {

// Silences what Qt's image readers, and libpng, libjpeg and libmng under them, write while they
// meet a damaged file ("libpng error: IHDR: CRC error"): the programs name the file and the
// cause themselves, in one line. Their notes reach Qt's log, or C's stderr stream, which libpng
// writes its errors to. Standard error itself stays open for the programs' own reports and
// pages (-o /dev/stderr).
void SilenceImageReaders();

}  // namespace stipplor
