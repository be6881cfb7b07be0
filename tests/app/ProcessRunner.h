// Runs a program with arguments and a controlled locale environment and
// collects its exit status, standard output and standard error.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace transref::testing {

struct ProcessResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// LC_ALL, LC_NUMERIC and LANG are removed from the child's environment, then
// `environment` is applied (a value of nullopt removes the variable). The
// child reads `standardInput` on its standard input (nothing: /dev/null).
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::optional<std::string>>& environment = {},
                         const std::string& standardInput = {});

}  // namespace transref::testing
