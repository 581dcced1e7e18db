#pragma once

#include "engine/line_sink.h"
#include "engine/row_builder.h"

namespace stipplor {

// Builds the lines of the run's rows of cells and appends them to `sink` from the top row down.
// With more than one thread, batches of rows are built in parallel and handed on in order, so
// the document is the same byte for byte. An error in a row stops the run there: the rows above
// it are written, the error propagates.
void WriteRowsInOrder(const RowContext& context, int threads, LineSink& sink);

}  // namespace stipplor
