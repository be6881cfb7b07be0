// transref-convert: the batch converter.
#include <signal.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "ConvertProgram.h"
#include "support/ReplacingOutput.h"

namespace {

// An interrupted run (Ctrl+C, a closed terminal, a kill, a reader of our
// standard output gone) leaves no temporary file behind; the program then
// ends as the signal would have ended it.
void RemoveOutputAndStop(int signalNumber) {
  transref::RemovePendingOutputs();
  raise(signalNumber);  // the handler was reset: the default action follows
}

void RemoveOutputOnInterruption() {
  struct sigaction action {};
  action.sa_handler = RemoveOutputAndStop;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaction(signalNumber, &action, nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  RemoveOutputOnInterruption();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  transref::convert::ProgramContext context;
  context.stderrIsTerminal = isatty(STDERR_FILENO) != 0;
  return transref::convert::RunConverter(arguments, std::cout, std::cerr, context);
}
