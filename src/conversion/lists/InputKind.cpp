#include "conversion/lists/InputKind.h"

#include <string>
#include <string_view>

#include "conversion/lists/AsciiList.h"
#include "support/TextFile.h"

namespace transref {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";
constexpr std::string_view kCommentCode = "999";
constexpr std::string_view kMarkerCode = "0";
constexpr std::string_view kSectionMarker = "SECTION";
// Lines of a list checked against the strict grammar.
constexpr int kStrictLinesLooked = 20;

std::string_view Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// The number of blank- or tab-separated fields of a line.
int FieldCount(std::string_view line) {
  int count = 0;
  bool inField = false;
  for (const char c : line) {
    const bool separator = c == ' ' || c == '\t';
    if (!separator && !inField) ++count;
    inField = !separator;
  }
  return count;
}

FileKind KindOfFirstLines(TextFile& file) {
  std::string_view line;
  bool first = true;
  // The next non-blank line, trimmed; nothing at the end of the file.
  const auto nextLine = [&]() -> std::optional<std::string> {
    while (file.ReadLine(line) == TextFile::LineRead::Line) {
      if (first && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
      if (first && line.starts_with(kBinaryDxfSentinel)) return std::string(kBinaryDxfSentinel);
      first = false;
      if (!Trimmed(line).empty()) return std::string(line);
    }
    return std::nullopt;
  };

  std::optional<std::string> text = nextLine();
  while (text && Trimmed(*text) == kCommentCode) {
    if (!nextLine()) return FileKind::Ascii3D;  // the comment itself
    text = nextLine();
  }
  if (!text) return FileKind::Ascii3D;
  if (*text == kBinaryDxfSentinel) return FileKind::Dxf;
  if (Trimmed(*text) == kMarkerCode) {
    const std::optional<std::string> name = nextLine();
    if (name && Trimmed(*name) == kSectionMarker) return FileKind::Dxf;
    return FileKind::Delimited;
  }
  // The strict grammar on every line looked at (integer ID, two or three
  // numbers, blank separated); anything else is a delimited file.
  const FileKind kind = FieldCount(*text) == ExpectedFields(FileKind::Ascii2D) ? FileKind::Ascii2D : FileKind::Ascii3D;
  for (int looked = 0; text && looked < kStrictLinesLooked; ++looked, text = nextLine()) {
    if (!ParsePointLine(*text, kind, 1).record) return FileKind::Delimited;
  }
  return kind;
}

}  // namespace

std::optional<FileKind> DetectInputKind(TextFile& file) {
  const std::int64_t start = file.Position();
  const FileKind kind = KindOfFirstLines(file);
  if (!file.Seek(start)) return std::nullopt;
  return kind;
}

}  // namespace transref
