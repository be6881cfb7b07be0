// The batch converter's command line: the input split into an argument
// vector (one argument per line), parsed, turned into a job and run
// in-process, in a private folder that holds a point list, a geographic
// list and a drawing. Arguments cannot leave that folder ('/' is taken
// out). Invariants: the exit status is 0, 1 or 2; a usage error or a failed
// run says why on stderr; nothing but converted lines goes to a standard
// output that was named "-"; no temporary file is ever left behind, and a
// failed run creates no file.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzJobs.h"
#include "convert/ConvertProgram.h"

namespace {

using namespace transref;
using namespace transref::fuzz;
namespace fs = std::filesystem;

constexpr std::string_view kList = "101 177938.743 1676745.581 3.12\n102 179001.301 1675982.745 10.45\n";
constexpr std::string_view kGeographic = "1 -51.5 -30.25 100\n2 -48 -29.5 12\n";
constexpr std::string_view kDrawing =
    "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n177938.743\n 20\n1676745.581\n 30\n3.12\n"
    " 11\n179001.301\n 21\n1675982.745\n 31\n10.45\n  0\nENDSEC\n  0\nEOF\n";

struct Sandbox {
  Sandbox() {
    fs::current_path(scratch.Path());
    WriteFile(scratch.File("p.txt"), kList);
    WriteFile(scratch.File("g.txt"), kGeographic);
    WriteFile(scratch.File("d.dxf"), kDrawing);
    standardInput = scratch.File(".stdin");
    WriteFile(standardInput, kList);
    standardOutput = scratch.File(".stdout");
  }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch.Path())) names.insert(entry.path().filename().string());
    return names;
  }
  // Back to the three inputs: whatever a run wrote is removed.
  void Reset() {
    for (const std::string& name : Files()) {
      if (name != "p.txt" && name != "g.txt" && name != "d.dxf" && name != ".stdin") {
        std::error_code ignored;
        fs::remove_all(scratch.Path() / name, ignored);
      }
    }
  }
  ScratchFolder scratch;
  std::string standardInput, standardOutput;
};

std::vector<std::string> Arguments(std::string_view text) {
  std::vector<std::string> arguments;
  while (!text.empty() && arguments.size() < 64) {
    const std::size_t end = text.find('\n');
    std::string argument(text.substr(0, end));
    for (char& c : argument) {
      if (c == '/' || c == '\0') c = '_';
    }
    arguments.push_back(std::move(argument));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return arguments;
}

// The temporary files of this process: "." + output name + ".transref-" +
// process id + "-" + counter (an output may itself be named anything).
bool IsTemporary(const std::string& name) {
  static const std::string marker = ".transref-" + std::to_string(::getpid()) + "-";
  return name.starts_with('.') && name.find(marker) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Sandbox sandbox;
  sandbox.Reset();
  const std::vector<std::string> arguments = Arguments({reinterpret_cast<const char*>(data), size});
  const std::set<std::string> before = sandbox.Files();

  convert::ProgramContext context;
  context.inputDescriptor = ::open(sandbox.standardInput.c_str(), O_RDONLY | O_CLOEXEC);
  context.outputDescriptor = ::open(sandbox.standardOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  std::ostringstream out, err;
  const int status = convert::RunConverter(arguments, out, err, context);
  ::close(context.inputDescriptor);
  ::close(context.outputDescriptor);

  FUZZ_CHECK(status == convert::kExitSuccess || status == convert::kExitRunFailed || status == convert::kExitUsage);
  if (status != convert::kExitSuccess) FUZZ_CHECK(!err.str().empty());
  const std::set<std::string> after = sandbox.Files();
  const std::set<std::string> named(arguments.begin(), arguments.end());
  for (const std::string& name : after) FUZZ_CHECK(!IsTemporary(name) || named.count(name) == 1);
  if (status == convert::kExitRunFailed) {
    for (const std::string& name : after) FUZZ_CHECK(before.count(name) == 1 || name == ".stdout");
  }
  // What reached a standard output named "-" is converted lines only.
  const std::string written = ReadFile(sandbox.standardOutput);
  FUZZ_CHECK(written.find("sucesso") == std::string::npos);
  FUZZ_CHECK(written.find("transref-convert") == std::string::npos);
  return 0;
}
