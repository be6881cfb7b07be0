// One conversion run, from a checked job to the written output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/Messages.h"
#include "conversion/Progress.h"

namespace transref {

struct RunResult {
  enum class Status {
    Success,
    Failed,      // messages say why; lineNumber names the input line (0: none)
    OpenFailed,  // a file could not be opened; the one message names it and says why
  };
  Status status = Status::Success;
  std::vector<UserMessage> messages;  // in the order they are shown
  int lineNumber = 0;
  std::int64_t linesRead = 0;
  std::int64_t pointsWritten = 0;     // list lines or DXF groups written
  std::size_t convertedCount = 0;     // points of a list, point groups of a drawing
  // After a success: points that cannot be where the chosen systems say,
  // each a complete Portuguese text (count, first lines, likely cause).
  std::vector<std::string> warnings;

  bool Succeeded() const { return status == Status::Success; }
};

// Checks the job, builds the datum step and the point chain, opens the input
// and the output, converts the list or walks the drawing while reporting to
// `progress`, and closes both files. The output is written to a temporary
// file beside it and takes its name only when the run succeeded: a failed
// run leaves an existing output as it was and creates no file (see
// ReplacingOutput). A stream in `streams` is read or written instead of the
// named file; a failed run may then have written part of its lines. The
// progress is ended on every failure after it began. Success is never
// reported after a failure. The points of a delimited file are carried on
// `workers` threads at once (0: one for each core, up to four; a grid job
// always on one); the output does not depend on how many.
RunResult RunConversion(const ConversionJob& job, ProgressSink& progress, const RunStreams& streams = {},
                        int workers = 0);

}  // namespace transref
