// What the end of a successful run tells the user: the success line, how
// much was converted, where it went, and the plausibility warnings.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace transref {

struct RunSummary {
  std::size_t convertedCount = 0;  // points of a list, entities of a drawing
  bool drawing = false;            // the input was a drawing: the count is of entities
  std::string outputPath;
  std::vector<std::string> warnings;  // each a complete Portuguese text
};

// "O programa foi executado com sucesso!" on the first line, then e.g.
// "12 pontos convertidos." (or "1 ponto convertido.", "5 entidades do
// desenho convertidas."), "Arquivo de saída: <path>" and, when there are
// any, "Avisos:" followed by one "- <warning>" line each. Lines end with
// "\n" except the last.
std::string RunSummaryText(const RunSummary& summary);

}  // namespace transref
