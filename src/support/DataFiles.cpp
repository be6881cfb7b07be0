#include "support/DataFiles.h"

#include <filesystem>
#include <system_error>

namespace transref {

std::optional<std::string> FindDataFile(std::string_view relative) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path folders[3];
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) folders[0] = program.parent_path().parent_path() / "share" / "transref";
  folders[1] = TRANSREF_INSTALLED_DATA_DIR;
  folders[2] = TRANSREF_SOURCE_DATA_DIR;
  for (const fs::path& folder : folders) {
    if (folder.empty()) continue;
    const fs::path candidate = folder / relative;
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  }
  return std::nullopt;
}

}  // namespace transref
