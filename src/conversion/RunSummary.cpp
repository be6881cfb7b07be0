#include "conversion/RunSummary.h"

#include "conversion/Messages.h"

namespace transref {

std::string RunSummaryText(const RunSummary& summary) {
  const bool one = summary.convertedCount == 1;
  std::string text(kSuccessMessage);
  text += "\n" + std::to_string(summary.convertedCount);
  if (summary.drawing) {
    text += one ? " entidade do desenho convertida." : " entidades do desenho convertidas.";
  } else {
    text += one ? " ponto convertido." : " pontos convertidos.";
  }
  text += "\nArquivo de saída: " + summary.outputPath;
  if (!summary.warnings.empty()) {
    text += "\nAvisos:";
    for (const std::string& warning : summary.warnings) text += "\n- " + warning;
  }
  return text;
}

}  // namespace transref
