// Validating text-to-number conversion.
#pragma once

#include <string_view>

namespace transref {

// Reads the text as a decimal number with the point as decimal separator,
// independent of the process locale (results equal the "C" locale's strtod,
// including its leading white space, sign, hexadecimal, infinity and NaN
// forms).  A text without words (empty or only blanks) reads as 0.  When
// anything is left after the number, throws std::runtime_error with
// "%s não é um valor numerico!" (the whole text; at most 255 characters).
long double ToNumber(std::string_view text);

}  // namespace transref
