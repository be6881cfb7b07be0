#include "conversion/Messages.h"

#include <string>

namespace transref {
namespace {

constexpr std::string_view kLinePrefix = "O arquivo de entrada possui a inconsistência na linha ";

std::string LineDetail(int lineNumber, std::string_view detail) {
  std::string text(kLinePrefix);
  text += std::to_string(lineNumber);
  text += ":\n";
  text += detail;
  return text;
}

}  // namespace

std::string FieldCountMessage(int lineNumber, int expectedFields) {
  return "O arquivo de entrada possui uma inconsistência na linha " + std::to_string(lineNumber) +
         ":\n Número de linhas diferente de " + std::to_string(expectedFields) + "!";
}

std::string BadLineMessage(int lineNumber) {
  return std::string(kLinePrefix) + std::to_string(lineNumber) + "!";
}

std::string LongitudeMessage(int lineNumber) { return LineDetail(lineNumber, "Valor da Longitude incorreto!"); }

std::string LatitudeMessage(int lineNumber) { return LineDetail(lineNumber, "Valor da Latitude incorreto!"); }

std::string OutOfDomainMessage(int lineNumber) {
  return LineDetail(lineNumber, "Ponto fora do domínio da transformação!");
}

std::string NotANumberMessage(std::string_view text) {
  // The number reader's message buffer holds 255 characters.
  constexpr std::size_t kMaxMessage = 255;
  std::string message(text);
  message += " não é um valor numerico!";
  if (message.size() > kMaxMessage) message.resize(kMaxMessage);
  return message;
}

}  // namespace transref
