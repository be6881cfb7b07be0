// Validating text-to-number conversion.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace transref {

// Reads the text as a decimal number with the point as decimal separator,
// independent of the process locale (results equal the "C" locale's strtod,
// including its leading white space, sign, hexadecimal, infinity and NaN
// forms).  A text without words (empty or only blanks) reads as 0.  When
// anything is left after the number, throws std::runtime_error with
// "%s não é um valor numerico!" (the whole text; at most 255 characters).
long double ToNumber(std::string_view text);

// printf-style formatting with the point as decimal separator, whatever the
// process locale: every number text the system writes or reads back for
// itself (list entries, packed sexagesimal, parameter values) goes through
// these, so a desktop in a decimal-comma locale gets the same texts.
int FormatC(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
int VFormatC(char* buffer, std::size_t size, const char* format, va_list arguments)
    __attribute__((format(printf, 3, 0)));
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace transref
