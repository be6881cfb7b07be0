// Lenient reading of a numeric edit field of the main window.
#pragma once

#include <string>
#include <string_view>

namespace transref {

// The value read from an edit and the text the edit is rewritten with.
struct EditNumber {
  double value = 0.0;
  std::string text;
};

// Every ',' is taken as a decimal point; the longest leading decimal number
// (leading blanks skipped, optional sign, digits, optional point and
// fraction, optional exponent) is converted, and a text without one reads
// as 0. The rewritten text is the shortest text that reads back as the same
// double, with `decimalSeparator` as its decimal separator. Never fails.
EditNumber ReadEditNumber(std::string_view text, char decimalSeparator = '.');

}  // namespace transref
