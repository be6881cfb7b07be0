// Option recognition of transref-convert: value forms, flags, file names and
// every way a command line can be refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/CommandLine.h"

namespace transref::convert {
namespace {

using Args = std::vector<std::string>;

std::string Refusal(const Args& arguments) {
  try {
    ParseCommandLine(arguments);
  } catch (const UsageError& error) {
    return error.what();
  }
  ADD_FAILURE() << "accepted a command line that must be refused";
  return {};
}

TEST(CommandLine, TakesValuesInBothFormsAndFilesInOrder) {
  const ParsedCommand command = ParseCommandLine(
      {"--from", "Gauß-Krüger (Oru)", "in.txt", "--to=utm", "--from-cm", "-51", "out.txt",
       "--params=1,2,3,4,5,6,7", "--force", "--quiet", "--no-import-heights"});
  EXPECT_EQ(command.action, ParsedCommand::Action::Convert);
  const ConvertOptions& o = command.options;
  EXPECT_EQ(o.from, "Gauß-Krüger (Oru)");
  EXPECT_EQ(o.to, "utm");
  EXPECT_EQ(o.fromCm, "-51");  // a value that starts with '-' is still a value
  EXPECT_EQ(o.params, "1,2,3,4,5,6,7");
  EXPECT_TRUE(o.force);
  EXPECT_TRUE(o.quiet);
  EXPECT_TRUE(o.noImportHeights);
  EXPECT_FALSE(o.decimalComma);
  EXPECT_FALSE(o.toCm.has_value());
  EXPECT_EQ(o.inputPath, "in.txt");
  EXPECT_EQ(o.outputPath, "out.txt");
}

TEST(CommandLine, EveryValueOptionLandsInItsOwnField) {
  const ParsedCommand command = ParseCommandLine(
      {"--from-kind", "a", "--to-kind", "b", "--from-ellipsoid", "c", "--to-ellipsoid", "d",
       "--to-cm", "e", "--from-cm-dms", "f", "--to-cm-dms", "g", "--from-hemisphere", "h",
       "--to-hemisphere", "i", "--from-false-easting", "j", "--from-false-northing", "k",
       "--to-false-easting", "l", "--to-false-northing", "m", "--model", "n", "--affine", "o",
       "--from-heights", "p", "--to-heights", "q", "--from-mean-height", "r",
       "--to-mean-height", "s", "--from-undulation", "t", "--to-undulation", "u",
       "--decimal-comma", "x", "y"});
  const ConvertOptions& o = command.options;
  const std::vector<std::optional<std::string>> fields = {
      o.fromKind, o.toKind, o.fromEllipsoid, o.toEllipsoid, o.toCm, o.fromCmDms, o.toCmDms,
      o.fromHemisphere, o.toHemisphere, o.fromFalseEasting, o.fromFalseNorthing,
      o.toFalseEasting, o.toFalseNorthing, o.model, o.affine, o.fromHeights, o.toHeights,
      o.fromMeanHeight, o.toMeanHeight, o.fromUndulation, o.toUndulation};
  for (std::size_t k = 0; k < fields.size(); ++k) {
    EXPECT_EQ(fields[k], std::string(1, static_cast<char>('a' + k))) << "field " << k;
  }
  EXPECT_TRUE(o.decimalComma);
  EXPECT_EQ(o.inputPath, "x");
  EXPECT_EQ(o.outputPath, "y");
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
  const ParsedCommand command = ParseCommandLine({"--quiet", "--", "-in.txt", "--force"});
  EXPECT_EQ(command.options.inputPath, "-in.txt");
  EXPECT_EQ(command.options.outputPath, "--force");
  EXPECT_FALSE(command.options.force);
}

TEST(CommandLine, HelpAndVersionAnswerWhateverElseIsOnTheLine) {
  EXPECT_EQ(ParseCommandLine({"--bogus", "--help"}).action, ParsedCommand::Action::Help);
  EXPECT_EQ(ParseCommandLine({"-h"}).action, ParsedCommand::Action::Help);
  EXPECT_EQ(ParseCommandLine({"--version", "a"}).action, ParsedCommand::Action::Version);
  // After "--" they are file names.
  EXPECT_EQ(ParseCommandLine({"--", "--help", "out"}).action, ParsedCommand::Action::Convert);
  EXPECT_NE(VersionText().find("transref-convert "), std::string::npos);
}

TEST(CommandLine, HelpTextIsPortugueseAndNamesEveryOption) {
  const std::string help = UsageText();
  EXPECT_EQ(help.rfind("Uso: transref-convert [opções] ENTRADA SAÍDA", 0), 0u);
  for (const char* option :
       {"--from", "--to", "--from-kind", "--to-kind", "--from-ellipsoid", "--to-ellipsoid",
        "--from-cm", "--to-cm", "--from-cm-dms", "--to-cm-dms", "--from-hemisphere",
        "--to-hemisphere", "--from-false-easting", "--from-false-northing", "--to-false-easting",
        "--to-false-northing", "--model", "--params", "--affine", "--from-heights",
        "--from-mean-height", "--from-undulation", "--no-import-heights", "--to-heights",
        "--to-mean-height", "--to-undulation", "--decimal-comma", "--decimal-point", "--force",
        "--quiet", "--help", "--version"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

TEST(CommandLine, RefusalsNameTheOption) {
  EXPECT_EQ(Refusal({"--frm", "gk", "a", "b"}), "opção desconhecida: \"--frm\"");
  EXPECT_EQ(Refusal({"a", "b", "--from"}), "a opção --from exige um valor");
  EXPECT_EQ(Refusal({"--to", "utm", "--to", "ltm", "a", "b"}),
            "a opção --to foi dada mais de uma vez");
  EXPECT_EQ(Refusal({"--force", "--force", "a", "b"}), "a opção --force foi dada mais de uma vez");
  EXPECT_EQ(Refusal({"--force=yes", "a", "b"}), "a opção --force não aceita valor");
  EXPECT_EQ(Refusal({"-x", "a", "b"}), "opção desconhecida: \"-x\"");
}

TEST(CommandLine, NeedsExactlyTwoFiles) {
  EXPECT_EQ(Refusal({}), "faltam os arquivos ENTRADA e SAÍDA");
  EXPECT_EQ(Refusal({"--quiet", "in.txt"}), "falta o arquivo SAÍDA");
  EXPECT_EQ(Refusal({"a", "b", "c"}), "argumento a mais: \"c\"");
}

}  // namespace
}  // namespace transref::convert
