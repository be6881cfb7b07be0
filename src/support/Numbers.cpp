#include "support/Numbers.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace transref {
namespace {

constexpr std::size_t kMessageBufferSize = 256;  // 255 characters + zero

// The "C" locale, created once: the program itself may set LC_NUMERIC from
// the environment, and a decimal comma must not leak into file reading.
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// White space as the C library's number readers skip it.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

DecimalNumber ScanDecimalNumber(std::string_view text, bool commaToo) {
  DecimalNumber number;
  const std::size_t size = text.size();
  std::size_t i = 0;
  if (i < size && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < size && IsDigit(text[i])) ++i, ++digits;
  if (i < size && (text[i] == '.' || (commaToo && text[i] == ','))) {
    number.markAt = i++;
    while (i < size && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return {};
  // An exponent counts only when it is complete ("1e" is the number 1
  // followed by a letter).
  if (i < size && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < size && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < size && IsDigit(text[j])) {
      while (j < size && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  number.length = i;
  return number;
}

bool ReadExactDecimal(std::string_view text, bool commaToo, double& value) {
  // Powers of ten that doubles hold exactly.
  static constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr std::ptrdiff_t kMaxDigits = 19;  // a 19-digit whole number fits 64 bits
  constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  std::uint64_t whole = 0;
  const char* const first = p;
  while (p != end && IsDigit(*p)) whole = whole * 10 + static_cast<std::uint64_t>(*p++ - '0');
  std::ptrdiff_t digits = p - first;
  std::ptrdiff_t decimals = 0;
  if (p != end) {
    if (!(*p == '.' || (commaToo && *p == ','))) return false;
    const char* const fraction = ++p;
    while (p != end && IsDigit(*p)) whole = whole * 10 + static_cast<std::uint64_t>(*p++ - '0');
    if (p != end) return false;
    decimals = p - fraction;
    digits += decimals;
  }
  // More digits than 64 bits hold may have wrapped `whole`: such texts take
  // the general way.
  if (digits == 0 || digits > kMaxDigits || whole > kExactLimit || decimals > 22) return false;
  const double magnitude = static_cast<double>(whole) / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

std::string NotANumberText(std::string_view text) {
  constexpr std::string_view kComplaint = " não é um valor numerico!";
  // The text as "%s" prints it: up to a zero byte (a broken file may hold
  // one), so the complaint is never cut off where the message is read as a
  // C string.
  std::string message(text.substr(0, text.find('\0')));
  message += kComplaint;
  if (message.size() > kMessageBufferSize - 1) message.resize(kMessageBufferSize - 1);
  return message;
}

void ThrowNotANumber(std::string_view text) { throw std::runtime_error(NotANumberText(text)); }

long double ToNumber(std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return 0.0L;
  std::size_t start = 0;
  while (start < text.size() && IsSpace(text[start])) ++start;
  const std::size_t length = ScanDecimalNumber(text.substr(start), false).length;
  if (length == 0 || length != text.size() - start) ThrowNotANumber(text);
  // strtod_l needs a zero-terminated text; a word of a coordinate line fits
  // the local buffer. The grammar is checked: it reads the whole text.
  char local[64];
  std::string heap;
  const char* begin;
  if (text.size() < sizeof local) {
    std::copy(text.begin(), text.end(), local);
    local[text.size()] = '\0';
    begin = local;
  } else {
    heap.assign(text);
    begin = heap.c_str();
  }
  errno = 0;
  const double value = strtod_l(begin, nullptr, CLocale());
  // Beyond the range of a double the reader gives infinity: that is no value
  // a drawing or a list can carry (it would be written as "inf").
  if (errno == ERANGE && std::isinf(value)) ThrowNotANumber(text);
  return value;
}

// vsnprintf with the "C" locale installed for this thread only.
int VFormatC(char* buffer, std::size_t size, const char* format, va_list arguments) {
  const locale_t previous = uselocale(CLocale());
  const int length = std::vsnprintf(buffer, size, format, arguments);
  uselocale(previous);
  return length;
}

int FormatC(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = VFormatC(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}

std::string FormatC(const char* format, ...) {
  char small[128];
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int length = VFormatC(small, sizeof small, format, arguments);
  va_end(arguments);
  std::string text;
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
    text.assign(small, static_cast<std::size_t>(length));
  } else if (length >= 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    VFormatC(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(again);
  return text;
}

}  // namespace transref
