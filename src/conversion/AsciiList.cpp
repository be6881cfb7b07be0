#include "conversion/AsciiList.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace transref {
namespace {

constexpr int kFields3D = 4;
constexpr int kFields2D = 3;
constexpr std::size_t kMaxNumberText = 512;  // longer numbers are not numbers a survey writes

// Width and decimals of the output formats "%10.5lf" and "%15.10lf".
constexpr int kGridWidth = 10, kGridDecimals = 5;
constexpr int kDegreeWidth = 15, kDegreeDecimals = 10;

// Geographic range: the bounds themselves are valid.
constexpr double kMaxLongitude = 180.0;
constexpr double kMaxLatitude = 90.0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number as a locale-bound reader takes it: optional sign, digits
// with `separator` as the only decimal separator, optional exponent, nothing
// else (no blanks, no digit grouping, no "inf"/"nan", no hexadecimal).
bool ParseLocaleNumber(std::string_view field, char separator, double& value) {
  if (field.empty() || field.size() > kMaxNumberText) return false;
  std::size_t i = 0;
  bool negative = false;
  if (field[i] == '+' || field[i] == '-') {
    negative = field[i] == '-';
    ++i;
  }
  std::array<char, kMaxNumberText + 1> text{};
  std::size_t n = 0;
  std::size_t digits = 0;
  while (i < field.size() && IsDigit(field[i])) {
    text[n++] = field[i++];
    ++digits;
  }
  if (i < field.size() && field[i] == separator) {
    text[n++] = '.';
    ++i;
    while (i < field.size() && IsDigit(field[i])) {
      text[n++] = field[i++];
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    text[n++] = field[i++];
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) text[n++] = field[i++];
    if (i == field.size() || !IsDigit(field[i])) return false;
    while (i < field.size() && IsDigit(field[i])) text[n++] = field[i++];
  }
  if (i != field.size()) return false;
  double magnitude = 0.0;
  const auto parsed = std::from_chars(text.data(), text.data() + n, magnitude);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + n) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

// A point identifier: optional sign and decimal digits, within 32 bits.
bool ParseIdentifier(std::string_view field, std::int32_t& id) {
  std::size_t i = 0;
  bool negative = false;
  if (!field.empty() && (field[0] == '+' || field[0] == '-')) {
    negative = field[0] == '-';
    i = 1;
  }
  if (i == field.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < field.size(); ++i) {
    if (!IsDigit(field[i])) return false;
    magnitude = magnitude * 10 + (field[i] - '0');
    if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<std::int32_t>::max()) return false;
  id = static_cast<std::int32_t>(signedValue);
  return true;
}

ParsedLine Failure(std::vector<UserMessage> messages) {
  ParsedLine result;
  result.messages = std::move(messages);
  return result;
}

ParsedLine ConversionFailure(std::string_view field, int lineNumber) {
  return Failure({{MessageBoxKind::ConversionError, NotANumberMessage(field)},
                  {MessageBoxKind::Interrupt, BadLineMessage(lineNumber)}});
}

}  // namespace

int ExpectedFields(FileKind kind) { return kind == FileKind::Ascii2D ? kFields2D : kFields3D; }

ParsedLine ParsePointLine(std::string_view line, FileKind inputKind, int lineNumber, char decimalSeparator) {
  const int expected = ExpectedFields(inputKind);
  // Fields are maximal runs of characters other than the blank; a tab is an
  // ordinary character of a field.
  std::array<std::string_view, kFields3D> fields;
  int count = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size()) break;
    const std::size_t begin = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (count < kFields3D) fields[count] = line.substr(begin, i - begin);
    ++count;
  }
  if (count != expected) {
    return Failure({{MessageBoxKind::Interrupt, FieldCountMessage(lineNumber, expected)}});
  }

  PointRecord record;
  record.lineNumber = lineNumber;
  if (!ParseIdentifier(fields[0], record.id)) return ConversionFailure(fields[0], lineNumber);
  double* const coordinates[] = {&record.c1, &record.c2, &record.c3};
  for (int k = 1; k < expected; ++k) {
    if (!ParseLocaleNumber(fields[k], decimalSeparator, *coordinates[k - 1])) {
      return ConversionFailure(fields[k], lineNumber);
    }
  }
  ParsedLine result;
  result.record = record;
  return result;
}

std::optional<std::string> CheckGeographicRange(const PointRecord& point) {
  if (!(point.c1 >= -kMaxLongitude && point.c1 <= kMaxLongitude)) return LongitudeMessage(point.lineNumber);
  if (!(point.c2 >= -kMaxLatitude && point.c2 <= kMaxLatitude)) return LatitudeMessage(point.lineNumber);
  return std::nullopt;
}

char* FormatFixed(char* first, double value, int width, int precision) {
  // to_chars in fixed notation gives exactly printf's digits (both round the
  // exact binary value correctly); only the left padding is added here.
  constexpr int kRoom = 350;
  const auto result = std::to_chars(first, first + kRoom + precision, value, std::chars_format::fixed, precision);
  const int length = static_cast<int>(result.ptr - first);
  if (length >= width) return result.ptr;
  const int pad = width - length;
  std::memmove(first + pad, first, static_cast<std::size_t>(length));
  std::memset(first, ' ', static_cast<std::size_t>(pad));
  return first + width;
}

void AppendPointLine(std::string& out, std::int32_t id, const double values[3],
                     CoordinateSystemKind outputSystem, FileKind outputKind) {
  const bool geographic = outputSystem == CoordinateSystemKind::Geographic;
  const int width = geographic ? kDegreeWidth : kGridWidth;
  const int decimals = geographic ? kDegreeDecimals : kGridDecimals;
  const int count = outputKind == FileKind::Ascii2D ? 2 : 3;

  char buffer[3 * (kDegreeWidth + 360) + 16];
  char* p = std::to_chars(buffer, buffer + 12, id).ptr;
  for (int k = 0; k < count; ++k) {
    *p++ = ' ';
    p = FormatFixed(p, values[k], width, decimals);
  }
  *p++ = '\n';
  out.append(buffer, p);
}

}  // namespace transref
