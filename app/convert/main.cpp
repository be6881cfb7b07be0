// transref-convert: the batch converter.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "ConvertProgram.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  transref::convert::ProgramContext context;
  context.environment = [](const char* name) { return std::getenv(name); };
  context.stderrIsTerminal = isatty(STDERR_FILENO) != 0;
  return transref::convert::RunConverter(arguments, std::cout, std::cerr, context);
}
