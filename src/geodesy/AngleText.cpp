#include "geodesy/AngleText.h"

#include <charconv>
#include <string>

#include "support/Numbers.h"

namespace transref {

// Decimal degrees only: an optional sign, digits and one decimal mark ('.'
// or ','), blanks around them allowed.
AngleReading ReadAngleText(std::string_view text, AngleAxis axis) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {std::nullopt, axis == AngleAxis::Longitude ? "Digite a longitude." : "Digite a latitude."};
  }
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  double value = 0.0;
  if (ReadExactDecimal(text, true, value)) return {value, {}};
  const DecimalNumber number = ScanDecimalNumber(text, true);
  if (number.length == text.size()) {
    std::string copy(text.substr(text.front() == '+' ? 1 : 0));
    for (char& c : copy) c = c == ',' ? '.' : c;
    const auto parsed = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (parsed.ec == std::errc() && parsed.ptr == copy.data() + copy.size()) return {value, {}};
  }
  return {std::nullopt, "\"" + std::string(text) + "\" não é um ângulo em graus decimais."};
}

}  // namespace transref
