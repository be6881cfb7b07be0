#include "conversion/Messages.h"

#include <filesystem>

#include <cerrno>
#include <string>

#include "support/Numbers.h"

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

std::string_view OpenFailureReason(int error, FileRole role) {
  const bool input = role == FileRole::Input;
  switch (error) {
    case ENOENT:
      // Writing creates the file: what is missing is its folder.
      return input ? "o arquivo não existe" : "a pasta não existe";
    case ENOTDIR:
      return "uma parte do caminho não é uma pasta";
    case EISDIR:
      return "é uma pasta, não um arquivo";
    case EACCES:
    case EPERM:
      return input ? "sem permissão de leitura" : "sem permissão de gravação";
    case EROFS:
      return "o disco é somente de leitura";
    case ENOSPC:
      return "não há espaço livre no disco";
    case EDQUOT:
      return "a cota de disco foi excedida";
    case ENAMETOOLONG:
      return "o nome é longo demais";
    case ELOOP:
      return "os links simbólicos do caminho formam um ciclo";
    case EMFILE:
    case ENFILE:
      return "há arquivos abertos demais";
    case ETXTBSY:
    case EBUSY:
      return "o arquivo está em uso";
    case ENXIO:
    case ENODEV:
      return "o dispositivo não está disponível";
    default:
      return {};
  }
}

std::string OpenFailureMessage(std::string_view path, int error, FileRole role) {
  std::string text = role == FileRole::Input ? "Não foi possível abrir o arquivo de entrada \""
                                             : "Não foi possível criar o arquivo de saída \"";
  text += path;
  text += "\": ";
  const std::string_view reason = OpenFailureReason(error, role);
  if (reason.empty()) {
    text += "erro do sistema número " + std::to_string(error);
  } else {
    text += reason;
  }
  text += ".";
  return text;
}

std::string NotANumberMessage(std::string_view text) { return NotANumberText(text); }

namespace {
std::string GridFileName(std::string_view gridPath) {
  return "\"" + std::filesystem::path(gridPath).filename().string() + "\"";
}
}  // namespace

std::string OutsideGridProblem(std::string_view gridPath, std::string_view id) {
  return (id.empty() ? "ponto" : "ponto " + std::string(id)) + " fora da área da grade " + GridFileName(gridPath);
}

std::string OutsideGridMessage(std::string_view gridPath, std::int64_t lineNumber, std::string_view id) {
  return "Ponto fora da área da grade " + GridFileName(gridPath) + " (linha " + std::to_string(lineNumber) +
         (id.empty() ? "" : ", ponto " + std::string(id)) + "); nenhum arquivo foi gravado!";
}

void OutsideGridPoints::Add(std::int64_t lineNumber) {
  if (++count_ > kMaxNamed) return;
  lines_ += "linha " + std::to_string(lineNumber) + '\n';
}

std::string OutsideGridPoints::Message(std::string_view gridPath) const {
  std::string text = "Pontos fora da área da grade " + GridFileName(gridPath) + "; nenhum arquivo foi gravado:\n" + lines_;
  if (count_ > kMaxNamed) text += "... e mais " + std::to_string(count_ - kMaxNamed) + " linha(s)\n";
  return text;
}

}  // namespace transref
