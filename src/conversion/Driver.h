// One conversion run, from a checked job to the written output file.
#pragma once

#include <cstdint>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/Messages.h"
#include "conversion/Progress.h"

namespace transref {

struct RunResult {
  enum class Status {
    Success,
    Failed,      // messages say why; lineNumber names the input line (0: none)
    OpenFailed,  // the error layer has reported and it was acknowledged; nothing else to show
  };
  Status status = Status::Success;
  std::vector<UserMessage> messages;  // in the order they are shown
  int lineNumber = 0;
  std::int64_t linesRead = 0;
  std::int64_t pointsWritten = 0;     // list lines or DXF groups written

  bool Succeeded() const { return status == Status::Success; }
};

// Checks the job, builds the datum step and the point chain, opens the input
// ("r") and the output ("w"), converts the list or walks the drawing while
// reporting to `progress`, and closes both files. On every failure after the
// output was opened, the output is closed holding the lines already written
// and the progress is ended. Success is never reported after a failure.
RunResult RunConversion(const ConversionJob& job, ProgressSink& progress);

}  // namespace transref
