// transref-convert from its argument list to its exit status, with the
// streams passed in so that tests can run it in-process.
#pragma once

#include <unistd.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace transref::convert {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitRunFailed = 1,  // the run failed: the system's messages are on stderr
  kExitUsage = 2,      // the command line cannot be acted on
  kExitWarnings = 3,   // with --strict: the run succeeded but warned of implausible points
};

// The file name that stands for standard input (as ENTRADA) or standard
// output (as SAÍDA).
inline constexpr std::string_view kStandardStream = "-";

struct ProgramContext {
  int inputDescriptor = STDIN_FILENO;    // read for the input "-"
  int outputDescriptor = STDOUT_FILENO;  // written for the output "-"
  bool stderrIsTerminal = false;         // draw the progress bar
};

// Parses the arguments (without the program name), detects the input's
// kind, builds the job, checks it, refuses an existing output without
// --force, runs the conversion and reports. `out` receives --help,
// --version and the success message; with the output "-" the converted
// lines are written to the output descriptor and nothing else, and the
// success message goes to `err`. Unless --quiet, `err` also states the
// systems, ellipsoids and model when any of them came from a default. Usage
// errors, open failures (prefixed "transref-convert: ") and the run's
// messages go to `err`.
int RunConverter(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const ProgramContext& context);

}  // namespace transref::convert
