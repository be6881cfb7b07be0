// What kind of file an input is, from its first lines.
#pragma once

#include <optional>
#include <string_view>

#include "conversion/FileKind.h"

namespace transref {

class TextFile;

// Reads the first lines of `file` from its current position and goes back
// there. A UTF-8 byte-order mark, blank lines and leading DXF comments
// (group 999) are passed over; then "0" followed by "SECTION" (blanks
// around them ignored), or the first line of a binary DXF, is a drawing.
// Anything else is a point list: a strict one when its first line follows
// the strict grammar - 2D when it holds three fields, else 3D - and none of
// the next lines (up to `linesLooked` in all) is a comment or has an ID that
// is no integer; a delimited one otherwise. An empty file is a 3D list.
// Nothing when the file cannot go back (a pipe whose start has been read
// past). A pipe that delivers its lines late is best judged by its first
// line alone (`linesLooked` 1).
std::optional<FileKind> DetectInputKind(TextFile& file, int linesLooked = 20);

// The kind a file name implies (any case): DXF for ".dxf", the delimited
// kind for ".csv", the maps for ".kml" and ".geojson", else the 3D list.
FileKind FileKindFromExtension(std::string_view path);

}  // namespace transref
