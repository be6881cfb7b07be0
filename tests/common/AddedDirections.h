// Comparing a converted drawing with its input line for line, the
// direction groups the conversion adds where the input leaves a direction
// implicit set aside.
#pragma once

#include <charconv>
#include <string>
#include <vector>

namespace transref::test {

// A converted drawing's lines with the direction groups the conversion added
// set aside: the pairs of the output whose code line the input does not
// have at that place, when their code is a direction's (50, or the MTEXT
// vector 11/21/31). Any other extra pair stays, so that a comparison with
// the input fails on it.
struct SetAside {
  std::vector<std::string> lines;
  int added = 0;
};
inline SetAside SetAsideAddedDirections(const std::vector<std::string>& input,
                                        const std::vector<std::string>& output) {
  SetAside result;
  auto isDirection = [](const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    int code = -1;
    if (first != std::string::npos) std::from_chars(line.data() + first, line.data() + line.size(), code);
    return code == 50 || code == 11 || code == 21 || code == 31;
  };
  std::size_t i = 0;
  for (std::size_t o = 0; o < output.size(); o += 2) {
    if (!(i < input.size() && output[o] == input[i]) && o + 1 < output.size() && isDirection(output[o])) {
      ++result.added;
      continue;
    }
    result.lines.push_back(output[o]);
    if (o + 1 < output.size()) result.lines.push_back(output[o + 1]);
    i += 2;
  }
  return result;
}

}  // namespace transref::test
