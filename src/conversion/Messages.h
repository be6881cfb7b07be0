// The user-visible texts of a conversion run, and the record that carries
// one of them to whoever shows it (a message box or a line on stderr).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace transref {

enum class MessageBoxKind {
  ConversionError,  // the platform's standard error box (the number reader's complaint)
  Interrupt,        // caption kInterruptCaption, stop icon
};

struct UserMessage {
  MessageBoxKind kind = MessageBoxKind::Interrupt;
  std::string text;
};

inline constexpr std::string_view kInterruptCaption = "O procedimento será interrompido!";
inline constexpr std::string_view kSuccessCaption = "TSC_OBRU";
inline constexpr std::string_view kSuccessMessage = "O programa foi executado com sucesso!";

inline constexpr std::string_view kEllipsoidReadError = "Erro na leitura dos Parâmetros do Elipsóide!";
inline constexpr std::string_view kParametersReadError = "Erro na leitura dos Parâmetros de Transformação!";
inline constexpr std::string_view kWriteError = "Erro na gravação do arquivo de saída!";
inline constexpr std::string_view kScaleFactorError = "Fator de escala do sistema de coordenadas inválido!";
inline constexpr std::string_view kCentralMeridianError = "Meridiano central inválido!";
inline constexpr std::string_view kSameFileError =
    "O arquivo de saída não pode ser o próprio arquivo de entrada!";
// A "drawing" without an entities section (a point list or some other text
// chosen as DXF): nothing in it could be transformed.
inline constexpr std::string_view kNoEntitiesError =
    "O arquivo de entrada não possui a seção ENTITIES de um desenho DXF!";
inline constexpr std::string_view kFileKindError =
    "O tipo de arquivo não combina com o sistema de coordenadas escolhido!";
// Two sides that would give back every coordinate as it was read.
inline constexpr std::string_view kNothingToConvert =
    "nada a converter: entrada e saída têm o mesmo sistema, meridiano central, hemisférios, "
    "falsa origem e elipsóide";

// A grid run without a grid file.
inline constexpr std::string_view kNoGridChosen =
    "Escolha o arquivo da grade NTv2 (modelo \"Grade NTv2\")!";

// A list point outside every subgrid of the run's grid is a bad line:
// "ponto 12 fora da área da grade "SAD69_003.gsb"" in the list of bad
// lines, and, when it is the first, "Ponto fora da área da grade
// "SAD69_003.gsb" (linha 40, ponto 12); nenhum arquivo foi gravado!". `id`
// is the point's identifier as written (empty: none).
std::string OutsideGridProblem(std::string_view gridPath, std::string_view id);
std::string OutsideGridMessage(std::string_view gridPath, std::int64_t lineNumber, std::string_view id);

// The lines of a drawing whose points fell outside every subgrid of the
// run's grid; the run writes nothing.
class OutsideGridPoints {
 public:
  static constexpr int kMaxNamed = 20;
  void Add(std::int64_t lineNumber);
  bool Any() const { return count_ > 0; }
  // "Pontos fora da área da grade "SAD69_003.gsb"; nenhum arquivo foi
  // gravado:" and one line per point (at most kMaxNamed, then how many more).
  std::string Message(std::string_view gridPath) const;

 private:
  std::int64_t count_ = 0;
  std::string lines_;
};

// Stage captions and the label of the progress window.
inline constexpr std::string_view kStageReadingHeader = "Lendo cabeçalho do arquivo de entrada";
inline constexpr std::string_view kStageProcessing = "Processando transformação";
inline constexpr std::string_view kStageFinishing = "Finalizando...";
inline constexpr std::string_view kProgressLabel = "Convertendo Arquivo";

// "O arquivo de entrada possui uma inconsistência na linha %d:\n Número de linhas diferente de %d!"
std::string FieldCountMessage(int lineNumber, int expectedFields);
// "O arquivo de entrada possui a inconsistência na linha %d!"
std::string BadLineMessage(int lineNumber);
// "...na linha %d:\nValor da Longitude incorreto!"
std::string LongitudeMessage(int lineNumber);
// "...na linha %d:\nValor da Latitude incorreto!"
std::string LatitudeMessage(int lineNumber);
// "...na linha %d:\nPonto fora do domínio da transformação!"
std::string OutOfDomainMessage(int lineNumber);
enum class FileRole { Input, Output };
// Why a file could not be opened, in Portuguese ("o arquivo não existe",
// "é uma pasta, não um arquivo", "sem permissão de leitura" ...), from an
// errno value; empty for a reason without a text of its own.
std::string_view OpenFailureReason(int error, FileRole role);
// "Não foi possível abrir o arquivo de entrada "%s": <reason>." or
// "Não foi possível criar o arquivo de saída "%s": <reason>."
std::string OpenFailureMessage(std::string_view path, int error, FileRole role);
// "%s não é um valor numerico!" (the number reader's own complaint)
std::string NotANumberMessage(std::string_view text);

}  // namespace transref
