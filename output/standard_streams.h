#pragma once

namespace stipplor {

// Opens /dev/null onto each of standard input, output and error that the program was started
// without (as with "2>&-"). Otherwise the next file opened would take the stream's number, and
// what is meant for the stream (a report) would land in that file (a page). Call first thing.
void OpenClosedStandardStreams();

}  // namespace stipplor
