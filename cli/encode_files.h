#pragma once

#include "cli/command_line.h"

namespace stipplor {

// Encodes the inputs of the command line into their outputs: one input into -o, standard output
// or the -d folder; several into the -d folder, two at a time on a two-core machine. A file that
// fails is reported on standard error, naming it and the cause, and the others go
// on. Returns the exit status: 0 when every file was encoded, 1 otherwise.
int EncodeFiles(const CommandLine& line);

}  // namespace stipplor
