#include "ProcessRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace transref::testing {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::optional<std::string>>& environment,
                         const std::string& standardInput) {
  static int runs = 0;
  const std::filesystem::path base = std::filesystem::temp_directory_path() /
                                     ("transref-run-" + std::to_string(getpid()) + "-" +
                                      std::to_string(++runs));
  const std::string outPath = base.string() + ".out";
  const std::string errPath = base.string() + ".err";
  // Standard input is a pipe, as in "echo ... | transref-convert - -".
  int input[2];
  if (pipe(input) != 0) return {};

  std::vector<std::string> argv0{program};
  argv0.insert(argv0.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv0) argv.push_back(argument.data());
  argv.push_back(nullptr);

  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) _exit(127);
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    close(input[1]);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) unsetenv(name);
    for (const auto& [name, value] : environment) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }

  close(input[0]);
  // A child that stops reading early must not end this process.
  const auto previous = std::signal(SIGPIPE, SIG_IGN);
  for (std::size_t written = 0; written < standardInput.size();) {
    const ssize_t n = write(input[1], standardInput.data() + written, standardInput.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  close(input[1]);
  std::signal(SIGPIPE, previous);

  ProcessResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

}  // namespace transref::testing
