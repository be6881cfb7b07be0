#include "conversion/EditNumber.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

namespace transref {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLeadingBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

EditNumber ReadEditNumber(std::string_view text, char decimalSeparator) {
  // Commas are decimal points here, whatever the user's regional settings.
  std::string s(text);
  for (char& c : s) {
    if (c == ',') c = '.';
  }

  std::size_t i = 0;
  while (i < s.size() && IsLeadingBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t mantissaStart = i;
  std::size_t integerDigits = 0, significantIntegerDigits = 0, fractionDigits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    if (significantIntegerDigits > 0 || s[i] != '0') ++significantIntegerDigits;
    ++integerDigits;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    std::size_t j = i + 1;
    while (j < s.size() && IsDigit(s[j])) {
      ++fractionDigits;
      ++j;
    }
    if (integerDigits + fractionDigits > 0) i = j;
  }
  EditNumber result;
  if (integerDigits + fractionDigits == 0) {
    // No decimal number at the start of the text: it reads as 0.
    result.value = 0.0;
  } else {
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
      std::size_t j = i + 1;
      bool negativeExponent = false;
      if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
        negativeExponent = s[j] == '-';
        ++j;
      }
      if (j < s.size() && IsDigit(s[j])) {
        while (j < s.size() && IsDigit(s[j])) {
          if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
          ++j;
        }
        if (negativeExponent) exponent = -exponent;
        i = j;
      }
    }
    // from_chars takes no '+' sign: convert the unsigned part and sign it.
    double magnitude = 0.0;
    const auto parsed = std::from_chars(s.data() + mantissaStart, s.data() + i, magnitude,
                                        std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
      // Beyond the range of double: underflow gives 0 as the C library's
      // conversion does, overflow the largest finite value. Infinity would be
      // rewritten as "inf", which the next reading takes for no number (0):
      // the value would change without the user seeing it.
      const long scale = static_cast<long>(significantIntegerDigits) + exponent;
      magnitude = scale > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    result.value = negative ? -magnitude : magnitude;
  }

  // Shortest digits that read back as the same double, written without an
  // exponent for the magnitudes an edit holds (a false northing typed as
  // 5000000 stays "5000000", not "5e+06"); only very small or very large
  // values take the exponent form.
  const double magnitude = std::fabs(result.value);
  const bool plain = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e15);
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, result.value,
                                     plain ? std::chars_format::fixed : std::chars_format::general);
  result.text.assign(buffer, written.ptr);
  for (char& c : result.text) {
    if (c == '.') c = decimalSeparator;
  }
  return result;
}

}  // namespace transref
