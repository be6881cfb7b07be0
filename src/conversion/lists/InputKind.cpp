#include "conversion/lists/InputKind.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

#include "conversion/lists/AsciiList.h"
#include "conversion/lists/DelimitedLayout.h"
#include "support/TextFile.h"

namespace transref {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";
constexpr std::string_view kCommentCode = "999";
constexpr std::string_view kMarkerCode = "0";
constexpr std::string_view kSectionMarker = "SECTION";

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

FileKind KindOfFirstLines(TextFile& file, int linesLooked) {
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
  // A first line in the strict grammar (integer ID, two or three numbers,
  // blank separated) makes a strict list, unless a later line uses what
  // only a delimited file has: a comment, or an ID that is no integer. A
  // mistyped number keeps the strict list and its messages.
  const FileKind kind = FieldCount(*text) == ExpectedFields(FileKind::Ascii2D) ? FileKind::Ascii2D : FileKind::Ascii3D;
  if (!ParsePointLine(*text, kind, 1).record) return FileKind::Delimited;
  for (int looked = 1; looked < linesLooked && (text = nextLine()); ++looked) {
    if (IsBlankOrComment(*text)) return FileKind::Delimited;
    if (ParsePointLine(*text, kind, 1).record) continue;
    const std::string_view trimmed = Trimmed(*text);
    std::string numbered(1, '0');
    numbered.append(trimmed.substr(std::min(trimmed.size(), trimmed.find_first_of(" \t"))));
    if (ParsePointLine(numbered, kind, 1).record) return FileKind::Delimited;
  }
  return kind;
}

}  // namespace

std::optional<FileKind> DetectInputKind(TextFile& file, int linesLooked) {
  const std::int64_t start = file.Position();
  const FileKind kind = KindOfFirstLines(file, linesLooked);
  if (!file.Seek(start)) return std::nullopt;
  return kind;
}

FileKind FileKindFromExtension(std::string_view path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".dxf") return FileKind::Dxf;
  if (extension == ".csv") return FileKind::Delimited;
  if (extension == ".kml") return FileKind::Kml;
  if (extension == ".geojson") return FileKind::GeoJson;
  return FileKind::Ascii3D;
}

}  // namespace transref
