// The data files that ship with the program (IBGE's grids), found wherever
// the program runs from: an installed program, a build tree, a test.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace transref {

// The path of `relative` (e.g. "grids/SAD69_003.gsb") in the first data
// folder that holds it: share/transref beside the running program's bin/
// folder (an installed or unpacked copy, wherever it was put), the install
// prefix's share/transref, then the source tree's data/ (build trees).
// Nothing when no folder holds it.
std::optional<std::string> FindDataFile(std::string_view relative);

}  // namespace transref
