// The kinds of file a conversion reads and writes.
#pragma once

#include <string_view>

namespace transref {

// Item positions of the file-kind lists of the main window.
enum class FileKind : int { Ascii3D = 0, Ascii2D = 1, Dxf = 2, Delimited = 3, Kml = 4, GeoJson = 5 };
inline constexpr int kFileKindCount = 6;

// The fixed-grammar point lists (integer ID, blank-separated numbers).
constexpr bool IsStrictList(FileKind kind) { return kind == FileKind::Ascii3D || kind == FileKind::Ascii2D; }
// Every point list: the strict ones and the delimited one.
constexpr bool IsPointList(FileKind kind) { return IsStrictList(kind) || kind == FileKind::Delimited; }
constexpr bool IsDrawing(FileKind kind) { return kind == FileKind::Dxf; }
// Output only: points on a map, longitude and latitude on GRS80.
constexpr bool IsMap(FileKind kind) { return kind == FileKind::Kml || kind == FileKind::GeoJson; }

// The item text of the kinds whose text never changes ("DXF", the delimited
// kind, the two maps); empty for the two strict lists, whose texts name the
// coordinates of the chosen system.
constexpr std::string_view FixedFileKindLabel(FileKind kind) {
  switch (kind) {
    case FileKind::Dxf: return "DXF";
    case FileKind::Delimited: return "Texto delimitado / planilha (CSV)";
    case FileKind::Kml: return "KML (Google Earth)";
    case FileKind::GeoJson: return "GeoJSON";
    default: return {};
  }
}

}  // namespace transref
