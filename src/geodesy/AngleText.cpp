#include "geodesy/AngleText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace transref {
namespace {

AngleReading Refused(std::string reason) { return {std::nullopt, std::move(reason)}; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The marks written between degrees, minutes and seconds, in UTF-8 and in
// Windows-1252 (a file's bytes reach here undecoded): degree sign, the
// masculine ordinal often typed for it, prime and double prime, apostrophe,
// quotation mark, colon.
constexpr std::array<std::string_view, 12> kMarks = {
    "\xC2\xB0", "\xC2\xBA", "\xE2\x80\xB2", "\xE2\x80\xB3", "\xE2\x80\x99", "\xE2\x80\x9D",
    "\xB0",     "\xBA",     "'",            "\"",           ":",            "\xB4"};

// Length of the mark at the start of `text`, 0 when none.
std::size_t MarkLength(std::string_view text) {
  for (const std::string_view mark : kMarks) {
    if (text.starts_with(mark)) return mark.size();
  }
  return 0;
}

// A hemisphere letter: +1 or -1 for a letter of the axis, 0 for none, 2 for
// a letter of the other axis.
int HemisphereSign(char c, AngleAxis axis) {
  const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  const bool longitude = axis == AngleAxis::Longitude;
  switch (upper) {
    case 'E': case 'L': return longitude ? 1 : 2;
    case 'W': case 'O': return longitude ? -1 : 2;
    case 'N': return longitude ? 2 : 1;
    case 'S': return longitude ? 2 : -1;
    default: return 0;
  }
}

// One unsigned number: digits with at most one decimal mark ('.' or ',').
bool ReadPart(std::string_view text, double& value, bool& fractional) {
  if (text.size() > 64) return false;
  char copy[65];
  int marks = 0;
  bool digit = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ',' || c == '.') {
      ++marks;
      c = '.';
    } else if (IsDigit(c)) {
      digit = true;
    } else {
      return false;
    }
    copy[i] = c;
  }
  if (!digit || marks > 1) return false;
  fractional = marks == 1;
  const auto parsed = std::from_chars(copy, copy + text.size(), value, std::chars_format::fixed);
  return parsed.ec == std::errc() && parsed.ptr == copy + text.size();
}

}  // namespace

AngleReading ReadAngleText(std::string_view text, AngleAxis axis) {
  const std::string_view axisName = axis == AngleAxis::Longitude ? "longitude" : "latitude";
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return Refused("a " + std::string(axisName) + " está vazia");

  // A hemisphere letter before or after the value.
  int hemisphere = 0;
  for (const bool atEnd : {true, false}) {
    if (hemisphere != 0 || text.empty()) break;
    const char c = atEnd ? text.back() : text.front();
    const int sign = HemisphereSign(c, axis);
    if (sign == 0) continue;
    if (sign == 2) {
      return Refused("a letra \"" + std::string(1, c) + "\" não é um hemisfério de " + std::string(axisName) +
                     (axis == AngleAxis::Longitude ? " (use E, L, W ou O)" : " (use N ou S)"));
    }
    hemisphere = sign;
    if (atEnd) text.remove_suffix(1); else text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  }

  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (hemisphere != 0 && negative) {
    return Refused("sinal negativo e letra de hemisfério juntos: o sentido fica ambíguo");
  }

  // Up to three numbers (degrees, minutes, seconds) between marks or blanks.
  std::array<double, 3> parts{};
  int count = 0;
  bool fractionSeen = false;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (IsBlank(text[i]) || MarkLength(text.substr(i)) > 0)) {
      i += IsBlank(text[i]) ? 1 : MarkLength(text.substr(i));
    }
    if (i == text.size()) break;
    const std::size_t begin = i;
    while (i < text.size() && (IsDigit(text[i]) || text[i] == '.' || text[i] == ',')) ++i;
    if (i == begin || count == 3) {
      return Refused("\"" + std::string(text) + "\" não é um ângulo em graus decimais nem em graus, minutos e segundos");
    }
    bool fractional = false;
    if (fractionSeen || !ReadPart(text.substr(begin, i - begin), parts[count], fractional)) {
      return Refused("\"" + std::string(text) + "\" não é um ângulo em graus decimais nem em graus, minutos e segundos");
    }
    fractionSeen = fractional;
    ++count;
  }
  if (count == 0) return Refused("a " + std::string(axisName) + " não tem número");
  if (count >= 2 && (parts[1] >= 60.0 || (count == 3 && parts[2] >= 60.0))) {
    return Refused("minutos e segundos devem ser menores que 60");
  }
  const double magnitude = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
  const bool west = negative || hemisphere < 0;
  return {west ? -magnitude : magnitude, {}};
}

}  // namespace transref
