// Validating text-to-number conversion.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace transref {

// Reads the text as a decimal number with the point as decimal separator,
// independent of the process locale: optional leading white space, sign,
// digits with an optional point, optional exponent (values equal the "C"
// locale's strtod; below the smallest double a value reads as 0).
// Hexadecimal, "inf", "nan", "infinity" and decimal numbers beyond the
// range of a double are not numbers.  A
// text without words (empty or only blanks) reads as 0.  When the text is
// not such a number, or anything is left after it, throws
// std::runtime_error with "%s não é um valor numerico!" (the whole text; at
// most 255 characters).
long double ToNumber(std::string_view text);

// The decimal number at the start of a text: an optional sign, digits with
// at most one decimal mark ('.', or also ',' when `commaToo`) and at least
// one digit, then an optional complete exponent. No white space, digit
// grouping, hexadecimal, infinity or NaN forms. `length` is 0 when the text
// does not start with such a number; `markAt` is the position of the mark.
struct DecimalNumber {
  std::size_t length = 0;
  std::size_t markAt = std::string_view::npos;
};
DecimalNumber ScanDecimalNumber(std::string_view text, bool commaToo);

// Reads a plain decimal text - an optional sign, digits and at most one
// decimal mark ('.', or also ',' when `commaToo`), at least one digit,
// nothing else - when its value is a whole number below 2^53 divided by a
// power of ten up to 10^22 (every coordinate as surveys and drawings write
// it). Both are exact doubles, so one division rounds their exact quotient
// correctly: the value std::from_chars and strtod give (Clinger, "How to
// read floating point numbers accurately", 1990). False for any other text,
// which the caller then reads the general way.
bool ReadExactDecimal(std::string_view text, bool commaToo, double& value);

// "%s não é um valor numerico!" with the text (up to a zero byte, as "%s"
// takes it), bounded to 255 characters as the number reader's message
// buffer holds it; every refusal of a number says it this way.
std::string NotANumberText(std::string_view text);
// Throws std::runtime_error with NotANumberText(text).
[[noreturn]] void ThrowNotANumber(std::string_view text);

// printf-style formatting with the point as decimal separator, whatever the
// process locale: every number text the system writes or reads back for
// itself (list entries, packed sexagesimal, parameter values) goes through
// these, so a desktop in a decimal-comma locale gets the same texts.
int FormatC(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
int VFormatC(char* buffer, std::size_t size, const char* format, va_list arguments)
    __attribute__((format(printf, 3, 0)));
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace transref
