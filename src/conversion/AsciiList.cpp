#include "conversion/AsciiList.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace transref {
namespace {

constexpr int kFields3D = 4;
constexpr int kFields2D = 3;
constexpr std::size_t kMaxNumberText = 512;  // room for a number written with a comma

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
  const std::size_t size = field.size();
  std::size_t i = 0;
  bool negative = false;
  if (i < size && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  const std::size_t numberStart = i;
  std::size_t digits = 0;
  std::size_t separatorAt = std::string_view::npos;
  while (i < size && IsDigit(field[i])) ++i, ++digits;
  if (i < size && field[i] == separator) {
    separatorAt = i++;
    while (i < size && IsDigit(field[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < size && (field[i] == 'e' || field[i] == 'E')) {
    ++i;
    if (i < size && (field[i] == '+' || field[i] == '-')) ++i;
    if (i == size || !IsDigit(field[i])) return false;
    while (i < size && IsDigit(field[i])) ++i;
  }
  if (i != size) return false;

  // The grammar is checked; from_chars converts the unsigned part, after
  // the separator became a point when it is a comma.
  std::string_view number = field.substr(numberStart);
  char copy[kMaxNumberText];
  if (separator != '.' && separatorAt != std::string_view::npos) {
    if (number.size() > sizeof copy) return false;
    std::memcpy(copy, number.data(), number.size());
    copy[separatorAt - numberStart] = '.';
    number = std::string_view(copy, number.size());
  }
  double magnitude = 0.0;
  const auto parsed = std::from_chars(number.data(), number.data() + number.size(), magnitude);
  if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size()) return false;
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

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL,
                                          10000000ULL, 100000000ULL, 1000000000ULL, 10000000000ULL};
__extension__ typedef unsigned __int128 UInt128;  // GCC and Clang
constexpr int kMaxFastPrecision = 10;
// Values below this take the exact integer path: |v| * 10^10 stays below
// 2^84, well inside 128 bits.
constexpr double kFastLimit = 1e15;

// Digits of `value` in fixed notation with `precision` decimals, rounded as
// printf rounds: the exact binary value to the nearest, ties to even. A
// finite double is m * 2^e exactly, so value * 10^p = m * 10^p * 2^e is
// rounded with integer arithmetic alone.
char* FastFixed(char* p, double value, int precision) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent;
  if (biased == 0) {
    exponent = -1074;  // subnormal
  } else {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  const std::uint64_t scale = kPowersOfTen[precision];
  UInt128 scaled = static_cast<UInt128>(mantissa) * scale;
  if (exponent >= 0) {
    scaled <<= exponent;  // |value| < 1e15 keeps this below 2^84
  } else if (exponent <= -127) {
    scaled = 0;  // below 2^-74 before scaling: rounds to zero
  } else {
    const int shift = -exponent;
    const UInt128 one = 1;
    const UInt128 remainder = scaled & ((one << shift) - 1);
    const UInt128 half = one << (shift - 1);
    scaled >>= shift;
    if (remainder > half || (remainder == half && (scaled & 1) != 0)) ++scaled;
  }
  const std::uint64_t whole = static_cast<std::uint64_t>(scaled / scale);
  std::uint64_t fraction = static_cast<std::uint64_t>(scaled % scale);
  if (negative) *p++ = '-';  // printf keeps the sign of -0.0 and of tiny negatives
  p = std::to_chars(p, p + 24, whole).ptr;
  if (precision > 0) {
    *p++ = '.';
    for (int k = precision - 1; k >= 0; --k) {
      p[k] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    p += precision;
  }
  return p;
}

}  // namespace

char* FormatFixed(char* first, double value, int width, int precision) {
  // Only the left padding is added to the digits; both paths give exactly
  // printf's digits (to_chars with a precision is defined as printf's).
  constexpr int kRoom = 350;
  char* end;
  if (precision >= 0 && precision <= kMaxFastPrecision && std::fabs(value) < kFastLimit) {
    end = FastFixed(first, value, precision);
  } else {
    end = std::to_chars(first, first + kRoom + precision, value, std::chars_format::fixed, precision).ptr;
  }
  const int length = static_cast<int>(end - first);
  if (length >= width) return end;
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
