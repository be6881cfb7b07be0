#include "conversion/lists/AsciiList.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "support/Bytes.h"
#include "support/Numbers.h"

namespace transref {
namespace {

constexpr int kFields3D = 4;
constexpr int kFields2D = 3;
constexpr std::size_t kMaxNumberText = 512;  // room for a coordinate written with a comma

// Width and decimals of the output formats "%10.5lf" and "%15.10lf".
constexpr int kGridWidth = 10, kGridDecimals = 5;
constexpr int kDegreeWidth = 15, kDegreeDecimals = 10;

// Geographic range: the bounds themselves are valid.
constexpr double kMaxLongitude = 180.0;
constexpr double kMaxLatitude = 90.0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsFieldSeparator(char c) { return c == ' ' || c == '\t'; }

// A coordinate: optional sign, digits with '.' or ',' as the decimal mark
// (whatever the user's notation: fields are blank-separated and digits are
// never grouped, so either mark is unambiguous), optional exponent, nothing
// else.
bool ParseCoordinate(std::string_view field, double& value, bool commaToo = true) {
  if (ReadExactDecimal(field, commaToo, value)) return true;
  const DecimalNumber number = ScanDecimalNumber(field, commaToo);
  if (number.length == 0 || number.length != field.size()) return false;
  // from_chars takes neither '+' nor ','.
  const bool negative = field.front() == '-';
  const std::size_t signLength = (field.front() == '-' || field.front() == '+') ? 1 : 0;
  std::string_view digits = field.substr(signLength);
  char copy[kMaxNumberText];
  if (number.markAt != std::string_view::npos && field[number.markAt] == ',') {
    if (digits.size() > sizeof copy) return false;
    std::memcpy(copy, digits.data(), digits.size());
    copy[number.markAt - signLength] = '.';
    digits = std::string_view(copy, digits.size());
  }
  double magnitude = 0.0;
  const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size()) return false;
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

bool ReadCoordinateText(std::string_view field, bool commaToo, double& value) {
  return ParseCoordinate(field, value, commaToo);
}

int ExpectedFields(FileKind kind) { return kind == FileKind::Ascii2D ? kFields2D : kFields3D; }

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), IsFieldSeparator);
}

ParsedLine ParsePointLine(std::string_view line, FileKind inputKind, int lineNumber) {
  const int expected = ExpectedFields(inputKind);
  // Fields are maximal runs of characters other than blanks and tabs.
  std::array<std::string_view, kFields3D> fields;
  int count = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsFieldSeparator(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t begin = i;
    while (i < line.size() && !IsFieldSeparator(line[i])) ++i;
    if (count < kFields3D) fields[count] = line.substr(begin, i - begin);
    ++count;
  }
  if (count != expected) {
    return Failure({{MessageBoxKind::Interrupt, FieldCountMessage(lineNumber, expected)}});
  }

  PointRecord record;
  record.lineNumber = lineNumber;
  record.idText = fields[0];
  if (!ParseIdentifier(fields[0], record.id)) return ConversionFailure(fields[0], lineNumber);
  double* const coordinates[] = {&record.c1, &record.c2, &record.c3};
  for (int k = 1; k < expected; ++k) {
    if (!ParseCoordinate(fields[k], *coordinates[k - 1])) {
      return ConversionFailure(fields[k], lineNumber);
    }
  }
  ParsedLine result;
  result.record = record;
  return result;
}

bool ReadListCoordinate(std::string_view field, double& value) { return ParseCoordinate(field, value); }

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

// "00" "01" ... "99": two digits per step.
constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
    "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

// Writes the decimal digits of n, at least `minimum` of them, backwards so
// that they end just before `end`; returns their start.
char* WriteDigitsBackwards(char* end, std::uint64_t n, int minimum) {
  char* q = end;
  while (n >= 100 || minimum > 2) {
    q -= 2;
    std::memcpy(q, kDigitPairs + 2 * (n % 100), 2);
    n /= 100;
    minimum -= 2;
  }
  if (n >= 10 || minimum == 2) {
    q -= 2;
    std::memcpy(q, kDigitPairs + 2 * n, 2);
  } else {
    *--q = static_cast<char>('0' + n);
  }
  return q;
}

// Writes "whole.fraction" with `precision` decimals (no point for 0)
// backwards, ending just before `end`; returns the start.
inline char* WriteFixedBackwards(char* end, std::uint64_t whole, std::uint64_t fraction, int precision) {
  char* q = end;
  if (precision > 0) {
    q = WriteDigitsBackwards(q, fraction, precision);
    *--q = '.';
  }
  return WriteDigitsBackwards(q, whole, 1);
}

// n / 10^precision written backwards. The output formats' precisions get
// their divisor as a constant, which turns the divisions into
// multiplications.
template <int P>
char* WriteScaledBackwards(char* end, std::uint64_t n) {
  constexpr std::uint64_t kScale = kPowersOfTen[P];
  return WriteFixedBackwards(end, n / kScale, n % kScale, P);
}

char* WriteScaledBackwards(char* end, std::uint64_t n, int precision) {
  switch (precision) {
    case 3: return WriteScaledBackwards<3>(end, n);
    case 5: return WriteScaledBackwards<5>(end, n);
    case 10: return WriteScaledBackwards<10>(end, n);
    default: break;
  }
  const std::uint64_t scale = kPowersOfTen[precision];
  return WriteFixedBackwards(end, n / scale, n % scale, precision);
}

// m * scale * 2^exponent rounded to the nearest whole number, ties to even,
// in the unsigned type U, which must hold m * scale and the result.
template <typename U>
U RoundedScaled(std::uint64_t mantissa, std::uint64_t scale, int exponent) {
  constexpr int kBits = static_cast<int>(sizeof(U) * 8);
  U n = static_cast<U>(mantissa) * scale;
  if (exponent >= 0) return n << exponent;
  const int shift = -exponent;
  if (shift >= kBits) return 0;  // below half a unit of the last decimal
  const U one = 1;
  const U remainder = n & ((one << shift) - 1);
  const U half = one << (shift - 1);
  n >>= shift;
  if (remainder > half || (remainder == half && (n & 1) != 0)) ++n;
  return n;
}

// Digits of `value` in fixed notation with `precision` decimals, rounded as
// printf rounds: the exact binary value to the nearest, ties to even. A
// finite double is m * 2^e exactly, so value * 10^p = m * 10^p * 2^e is
// rounded with integer arithmetic alone. Written backwards to end just
// before `end` (which must have 48 characters of room before it); returns
// the start.
char* FastFixedBackwards(char* end, double value, int precision) {
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
  char* q;
  if (precision <= 3) {
    // m * 10^p < 2^63 and |value| * 10^p < 1e18: 64 bits hold every step.
    q = WriteScaledBackwards(end, RoundedScaled<std::uint64_t>(mantissa, scale, exponent), precision);
  } else {
    // |value| < 1e15 keeps m * 10^p * 2^e below 2^84.
    const UInt128 scaled = RoundedScaled<UInt128>(mantissa, scale, exponent);
    if ((scaled >> 64) == 0) {
      q = WriteScaledBackwards(end, static_cast<std::uint64_t>(scaled), precision);
    } else {
      q = WriteFixedBackwards(end, static_cast<std::uint64_t>(scaled / scale), static_cast<std::uint64_t>(scaled % scale),
                              precision);
    }
  }
  if (negative) *--q = '-';  // printf keeps the sign of -0.0 and of tiny negatives
  return q;
}

}  // namespace

char* FormatFixed(char* first, double value, int width, int precision) {
  // Only the left padding is added to the digits; both paths give exactly
  // printf's digits (to_chars with a precision is defined as printf's).
  constexpr int kRoom = 350;
  char* end;
  if (precision >= 0 && precision <= kMaxFastPrecision && std::fabs(value) < kFastLimit) {
    // The digits go to a small buffer first, then behind the padding.
    char digits[48];
    char* const digitsEnd = digits + sizeof digits;
    const char* const start = FastFixedBackwards(digitsEnd, value, precision);
    const int length = static_cast<int>(digitsEnd - start);
    const int pad = width > length ? width - length : 0;
    for (int k = 0; k < pad; ++k) first[k] = ' ';
    CopyBytes(first + pad, start, static_cast<std::size_t>(length));
    return first + pad + length;
  }
  end = std::to_chars(first, first + kRoom + precision, value, std::chars_format::fixed, precision).ptr;
  const int length = static_cast<int>(end - first);
  if (length >= width) return end;
  const int pad = width - length;
  std::memmove(first + pad, first, static_cast<std::size_t>(length));
  std::memset(first, ' ', static_cast<std::size_t>(pad));
  return first + width;
}

int CoordinateDecimals(CoordinateSystemKind system) {
  return system == CoordinateSystemKind::Geographic ? kDegreeDecimals : kGridDecimals;
}

std::string_view IdTextToWrite(const PointRecord& point, char (&buffer)[12]) {
  const std::string_view text = point.idText;
  const std::size_t signLength = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  const bool leadingZero = text.size() > signLength + 1 && text[signLength] == '0';
  if (!text.empty() && (text[0] == '+' || leadingZero)) return text;
  return std::string_view(buffer, std::to_chars(buffer, buffer + sizeof buffer, point.id).ptr);
}

void AppendPointLine(std::string& out, std::int32_t id, const double values[3],
                     CoordinateSystemKind outputSystem, FileKind outputKind) {
  char idText[12];
  AppendPointLine(out, std::string_view(idText, std::to_chars(idText, idText + sizeof idText, id).ptr), values,
                  outputSystem, outputKind);
}

void AppendPointLine(std::string& out, std::string_view idText, const double values[3],
                     CoordinateSystemKind outputSystem, FileKind outputKind) {
  const bool geographic = outputSystem == CoordinateSystemKind::Geographic;
  const int width = geographic ? kDegreeWidth : kGridWidth;
  const int decimals = geographic ? kDegreeDecimals : kGridDecimals;
  const int count = outputKind == FileKind::Ascii2D ? 2 : 3;

  out.append(idText);
  char buffer[3 * (kDegreeWidth + 360) + 16];
  char* p = buffer;
  for (int k = 0; k < count; ++k) {
    *p++ = ' ';
    p = FormatFixed(p, values[k], width, decimals);
  }
  *p++ = '\n';
  out.append(buffer, static_cast<std::size_t>(p - buffer));
}

}  // namespace transref
