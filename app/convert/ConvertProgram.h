// transref-convert from its argument list to its exit status, with the
// streams and the environment passed in so that tests can run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "DecimalNotation.h"

namespace transref::convert {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitRunFailed = 1,  // the run failed: the system's messages are on stderr
  kExitUsage = 2,      // the command line cannot be acted on
};

struct ProgramContext {
  EnvironmentReader environment;  // getenv
  bool stderrIsTerminal = false;  // draw the progress bar
};

// Parses the arguments (without the program name), builds the job, checks
// it, refuses an existing output without --force, runs the conversion and
// reports: the success message on `out` (unless --quiet), usage errors and
// the run's messages on `err`.
int RunConverter(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const ProgramContext& context);

}  // namespace transref::convert
