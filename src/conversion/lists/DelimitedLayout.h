// The layout of a delimited point file (a spreadsheet's CSV, an
// instrument's or a GIS's export): separator, decimal mark, header row,
// what each column holds, text encoding and line end. Detected from the
// first lines; every part can be given instead (the converter's options,
// the window's layout dialog).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geodesy/CoordinateSystems.h"

namespace transref {

// What a column holds. C1, C2 and C3 are the coordinates in the order the
// input system names them: E, N, height (grids); longitude, latitude,
// height (geographic); X, Y, Z (cartesian). Every other column is carried
// to the output unchanged, in its place.
enum class ColumnRole { Id, C1, C2, C3, Carried };

enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };
enum class LineEnd { Lf, CrLf, Cr };

// A separator: ';', ',', '\t', or ' ' for runs of blanks (and tabs).
inline constexpr char kBlankSeparator = ' ';

struct DelimitedLayout {
  char separator = ';';
  char decimalMark = '.';  // of the numbers written; either mark is read unless ',' separates
  bool header = false;     // the first line that is no comment names the columns
  std::vector<ColumnRole> columns;  // by position; columns past the end are carried
  TextEncoding encoding = TextEncoding::Utf8;
  LineEnd lineEnd = LineEnd::Lf;
};

// What the user chose instead of detection; anything left empty is detected.
struct DelimitedOptions {
  std::optional<char> separator;
  std::optional<bool> header;
  // The decimal mark the output's numbers are written with (never a comma
  // where a comma separates the fields).
  std::optional<char> decimalMark;
  std::vector<ColumnRole> columns;  // empty: from the header, else ID and coordinates in order
  bool sexagesimalOutput = false;   // geographic output as 51°12'30.50000"W
};

// Encoding and line end from the first bytes of a file: a byte-order mark
// says UTF-8 or UTF-16; else valid UTF-8 is UTF-8 and anything else
// Windows-1252. The first line end found decides (LF when there is none).
struct TextFormat {
  TextEncoding encoding = TextEncoding::Utf8;
  LineEnd lineEnd = LineEnd::Lf;
};
TextFormat DetectTextFormat(std::string_view firstBytes);

// The bytes of the byte-order mark an encoding writes ("" for none).
std::string_view ByteOrderMark(TextEncoding encoding);
std::string_view LineEndText(LineEnd lineEnd);

// A line that is no data: empty, blanks only, or a comment (# or //).
bool IsBlankOrComment(std::string_view line);

// One field of a line: the bytes as written (quotes included) and the
// value (quotes removed, "" inside read as one "), with where it starts
// and ends in the line.
struct Field {
  std::size_t begin = 0, end = 0;  // raw bytes line[begin, end)
  std::string_view value;          // view of the line, or of `unquoted` storage
  bool quoted = false;
};

// Splits `line` at `separator` outside quotes. Blank separation takes runs
// of blanks and tabs and ignores them at both ends. Unquoted values keep
// no surrounding blanks. `storage` holds the values of quoted fields with
// doubled quotes; false when a quote is left open.
bool SplitFields(std::string_view line, char separator, std::vector<Field>& fields, std::string& storage);

// The role a header name gives its column (Portuguese or English, any
// case, accents optional: "Ponto", "Este", "NORTE", "Cota", "Longitude",
// "Descrição"); nothing for a name that is no known coordinate or ID.
std::optional<ColumnRole> RoleOfHeaderName(std::string_view name);

// Detection from the first lines (raw bytes in the file's encoding after
// UTF-16 was turned into UTF-8; comments and blank lines may be among
// them). Gives the layout or a Portuguese reason.
struct LayoutDetection {
  std::optional<DelimitedLayout> layout;
  std::string reason;
};
LayoutDetection DetectLayout(const std::vector<std::string>& firstLines, TextFormat format,
                             CoordinateSystemKind inputSystem, const DelimitedOptions& options);

// The converter's option values: "id,n,e,h,-" (id, e, n, h, lon, lat, x,
// y, z, '-' for a carried column) and ";", ",", "tab", "blank". Nothing for
// an unknown text.
std::optional<std::vector<ColumnRole>> ParseColumnsText(std::string_view text);
// Why columns cannot be read as points: the ID or a coordinate given twice,
// or a horizontal coordinate missing (named as the input system names it);
// empty when they can.
std::string ColumnRolesProblem(const std::vector<ColumnRole>& columns, CoordinateSystemKind inputSystem);
std::optional<char> ParseSeparatorName(std::string_view text);

// "separador ';', vírgula decimal, com cabeçalho, colunas ID;E;N;H;-, UTF-8, CR LF"
std::string LayoutSummary(const DelimitedLayout& layout, CoordinateSystemKind inputSystem);

// The coordinate names of a system in a header: E/N/H (h for geometric
// heights), Longitude/Latitude/h, X/Y/Z.
std::string_view CoordinateHeaderName(ColumnRole role, CoordinateSystemKind system, bool geometricHeight);

// The text in the file's encoding as UTF-8 (Windows-1252 through iconv;
// UTF-8 as it is, with an invalid byte replaced by U+FFFD).
std::string DecodeToUtf8(std::string_view text, TextEncoding encoding);

}  // namespace transref
