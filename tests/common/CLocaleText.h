// Number reading for tests that check written files: the files always use
// the point, while the suites also run in a decimal-comma locale, so the C
// library's locale-bound readers (stod, sscanf) cannot be used on them.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace transref::test {

// The number at the start of the text (blanks before it skipped), as
// std::stod reads it in the "C" locale; 0 when there is none.
inline double Number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return negative ? -value : value;
}

// Splits a written list line "id c1 c2 [c3]" into its identifier and
// values; returns how many fields were read (as sscanf's "%d %lf %lf %lf").
inline int ScanPointLine(const std::string& line, int& id, double& c1, double& c2, double& c3) {
  double* const values[] = {&c1, &c2, &c3};
  std::size_t at = 0;
  int fields = 0;
  for (int k = 0; k < 4; ++k) {
    while (at < line.size() && line[at] == ' ') ++at;
    std::size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\n') ++end;
    if (end == at) break;
    const std::string_view field(line.data() + at, end - at);
    if (k == 0) {
      if (std::from_chars(field.data(), field.data() + field.size(), id).ec != std::errc()) break;
    } else {
      *values[k - 1] = Number(field);
    }
    ++fields;
    at = end;
  }
  return fields;
}

}  // namespace transref::test
