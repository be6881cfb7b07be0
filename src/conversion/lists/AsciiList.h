// ASCII point lists: one point per line, an identifier and two or three
// blank-separated coordinates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/FileKind.h"
#include "conversion/Messages.h"
#include "geodesy/CoordinateSystems.h"

namespace transref {

struct PointRecord {
  std::int32_t id = 0;
  double c1 = 0.0, c2 = 0.0, c3 = 0.0;
  int lineNumber = 0;  // 1-based
  std::string_view idText;  // the identifier as written (views the line)
};

// The fields a list line of the given kind holds: 4 (3D) or 3 (2D).
int ExpectedFields(FileKind kind);

// Outcome of parsing one line: a record, or the messages that end the run.
struct ParsedLine {
  std::optional<PointRecord> record;
  std::vector<UserMessage> messages;
};

// True for a line that is empty or holds only blanks and tabs: such a line
// is no point, no error and no end of the list; the reader skips it.
bool IsBlankLine(std::string_view line);

// Splits a line into fields separated by runs of blanks and tabs, checks
// their count and converts them: the identifier as a 32-bit whole number
// (optional sign, decimal digits), the coordinates as decimal numbers with
// '.' or ',' as the decimal mark, whatever the user's notation. A 2D line
// gets c3 = 0.
ParsedLine ParsePointLine(std::string_view line, FileKind inputKind, int lineNumber);

// One coordinate field as a list line holds it: optional sign, digits with
// '.' or ',' as the decimal mark, optional exponent, nothing else.
bool ReadListCoordinate(std::string_view field, double& value);
// A coordinate as the list reader takes it: optional sign, digits with a
// decimal mark ('.', or also ',' when `commaToo`), optional exponent,
// nothing else.
bool ReadCoordinateText(std::string_view field, bool commaToo, double& value);

// Range checks of a geographic input point (bounds included): the longitude
// message, or the latitude message, or nothing.
std::optional<std::string> CheckGeographicRange(const PointRecord& point);

// Appends one output line, newline included:
//   grid or cartesian: "%s %10.5lf %10.5lf %10.5lf\n" (2D: without the third value)
//   geographic:        "%s %15.10lf %15.10lf %15.10lf\n"
// always with a decimal point.
void AppendPointLine(std::string& out, std::int32_t id, const double values[3],
                     CoordinateSystemKind outputSystem, FileKind outputKind);
// The same with the identifier's text as given.
void AppendPointLine(std::string& out, std::string_view idText, const double values[3],
                     CoordinateSystemKind outputSystem, FileKind outputKind);

// The identifier a list line is written with: as read when it was written
// with a '+' or with leading zeros ("+1", "001" stay distinct points), else
// the number (in `buffer`).
std::string_view IdTextToWrite(const PointRecord& point, char (&buffer)[12]);

// Decimals of the list formats: 10 for degrees, 5 for metres.
int CoordinateDecimals(CoordinateSystemKind system);

// Writes `value` as printf's "%<width>.<precision>f" would (right-aligned,
// blanks on the left, wider values unpadded) and returns the end.
// `first` must have room for 350 + precision characters.
char* FormatFixed(char* first, double value, int width, int precision);

}  // namespace transref
