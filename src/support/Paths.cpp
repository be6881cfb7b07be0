#include "support/Paths.h"

#include <string>

namespace transref {
namespace {

constexpr std::string_view kSeparators = "/\\";
constexpr std::string_view kEllipsis = "...";
constexpr char kFullStop = '.';

std::size_t LastSeparator(std::string_view path) { return path.find_last_of(kSeparators); }

// Text after the last separator (the whole text without one).
std::string_view NamePart(std::string_view path) {
  const std::size_t at = LastSeparator(path);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

}  // namespace

ZRTStrings ExtractFilePath(std::string_view path) {
  const std::size_t at = LastSeparator(path);
  return ZRTStrings(at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1));
}

ZRTStrings ExtractFileName(std::string_view path) { return ZRTStrings(NamePart(path)); }

ZRTStrings ExtractExtension(std::string_view path) {
  // Taken from the name only, so a full stop in a folder ("/home/ana.lima/")
  // is not mistaken for the start of the extension.
  const std::string_view name = NamePart(path);
  const std::size_t at = name.find(kFullStop);
  return ZRTStrings(at == std::string_view::npos ? std::string_view() : name.substr(at));
}

ZRTStrings ShortenPathForDisplay(std::string_view path, std::int32_t limit) {
  if (static_cast<std::int64_t>(path.size()) < limit) return ZRTStrings(path);
  if (path.empty()) return ZRTStrings();
  const std::size_t firstSeparator = path.find_first_of(kSeparators);
  if (firstSeparator == std::string_view::npos) return ZRTStrings(path);
  const char separator = path[firstSeparator];
  const std::string_view drive = path.substr(0, firstSeparator);
  const std::string_view rest = path.substr(firstSeparator + 1);
  const std::size_t lastSeparator = LastSeparator(rest);
  // Without a folder between the drive and the name there is nothing to
  // leave out.
  if (lastSeparator == std::string_view::npos) return ZRTStrings(path);
  const std::string_view name = rest.substr(lastSeparator + 1);
  const std::string_view middle = rest.substr(0, lastSeparator);
  const std::string_view last = NamePart(middle);

  std::string gap;
  gap.append(1, separator).append(kEllipsis).append(1, separator);
  std::string shortForm;
  shortForm.append(drive).append(gap).append(last).append(1, separator).append(name);

  const std::size_t folderEnd = middle.find_first_of(kSeparators);
  if (folderEnd == std::string_view::npos) {
    // One folder only: first and last are the same folder, so the long form
    // would repeat it.  Leave the folder out when that makes the path shorter.
    std::string oneFolder;
    oneFolder.append(drive).append(gap).append(name);
    return ZRTStrings(oneFolder.size() < path.size() ? std::string_view(oneFolder) : path);
  }
  const std::string_view first = middle.substr(0, folderEnd);
  std::string longForm;
  longForm.append(drive).append(1, separator).append(first).append(gap).append(last)
      .append(1, separator).append(name);
  return ZRTStrings(static_cast<std::int64_t>(longForm.size()) >= limit ? shortForm : longForm);
}

}  // namespace transref
