#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace transref::convert {
namespace {

using ValueField = std::optional<std::string> ConvertOptions::*;
using FlagField = bool ConvertOptions::*;

struct ValueOption {
  std::string_view name;
  ValueField field;
};

struct FlagOption {
  std::string_view name;
  FlagField field;
};

constexpr std::array kValueOptions{
    ValueOption{"--from", &ConvertOptions::from},
    ValueOption{"--to", &ConvertOptions::to},
    ValueOption{"--from-kind", &ConvertOptions::fromKind},
    ValueOption{"--to-kind", &ConvertOptions::toKind},
    ValueOption{"--from-ellipsoid", &ConvertOptions::fromEllipsoid},
    ValueOption{"--to-ellipsoid", &ConvertOptions::toEllipsoid},
    ValueOption{"--from-cm", &ConvertOptions::fromCm},
    ValueOption{"--to-cm", &ConvertOptions::toCm},
    ValueOption{"--from-cm-dms", &ConvertOptions::fromCmDms},
    ValueOption{"--to-cm-dms", &ConvertOptions::toCmDms},
    ValueOption{"--from-hemisphere", &ConvertOptions::fromHemisphere},
    ValueOption{"--to-hemisphere", &ConvertOptions::toHemisphere},
    ValueOption{"--from-false-easting", &ConvertOptions::fromFalseEasting},
    ValueOption{"--from-false-northing", &ConvertOptions::fromFalseNorthing},
    ValueOption{"--to-false-easting", &ConvertOptions::toFalseEasting},
    ValueOption{"--to-false-northing", &ConvertOptions::toFalseNorthing},
    ValueOption{"--from-frame", &ConvertOptions::fromEllipsoid},
    ValueOption{"--to-frame", &ConvertOptions::toEllipsoid},
    ValueOption{"--model", &ConvertOptions::model},
    ValueOption{"--grid", &ConvertOptions::grid},
    ValueOption{"--params", &ConvertOptions::params},
    ValueOption{"--affine", &ConvertOptions::affine},
    ValueOption{"--from-heights", &ConvertOptions::fromHeights},
    ValueOption{"--to-heights", &ConvertOptions::toHeights},
    ValueOption{"--from-mean-height", &ConvertOptions::fromMeanHeight},
    ValueOption{"--to-mean-height", &ConvertOptions::toMeanHeight},
    ValueOption{"--from-undulation", &ConvertOptions::fromUndulation},
    ValueOption{"--to-undulation", &ConvertOptions::toUndulation},
    ValueOption{"--columns", &ConvertOptions::columns},
    ValueOption{"--separator", &ConvertOptions::separator},
};

constexpr std::array kFlagOptions{
    FlagOption{"--no-import-heights", &ConvertOptions::noImportHeights},
    FlagOption{"--decimal-comma", &ConvertOptions::decimalComma},
    FlagOption{"--decimal-point", &ConvertOptions::decimalPoint},
    FlagOption{"--header", &ConvertOptions::header},
    FlagOption{"--no-header", &ConvertOptions::noHeader},
    FlagOption{"--dms", &ConvertOptions::dms},
    FlagOption{"--strict", &ConvertOptions::strict},
    FlagOption{"--force", &ConvertOptions::force},
    FlagOption{"--quiet", &ConvertOptions::quiet},
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

ParsedCommand ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommand command;

  // --help and --version answer at once, whatever else the line holds.
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") {
      command.action = ParsedCommand::Action::Help;
      return command;
    }
    if (argument == "--version") {
      command.action = ParsedCommand::Action::Version;
      return command;
    }
  }

  ConvertOptions& options = command.options;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }

    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::optional<std::string> attached =
        equals == std::string::npos ? std::nullopt
                                    : std::optional<std::string>(argument.substr(equals + 1));

    const auto value = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                    [&](const ValueOption& o) { return o.name == name; });
    if (value != kValueOptions.end()) {
      std::optional<std::string>& field = options.*(value->field);
      const bool frame = name.ends_with("-frame") || name.ends_with("-ellipsoid");
      if (field && frame) {
        const std::string side = name.starts_with("--from") ? "--from" : "--to";
        throw UsageError(side + "-frame e " + side + "-ellipsoid são a mesma opção; dê o referencial uma vez só");
      }
      if (field) throw UsageError("a opção " + name + " foi dada mais de uma vez");
      if (name == "--from-frame") options.fromFrameNamed = true;
      if (name == "--to-frame") options.toFrameNamed = true;
      if (attached) {
        field = *attached;
      } else if (i + 1 < arguments.size()) {
        field = arguments[++i];  // taken as it is, also when it starts with '-' (-51)
      } else {
        throw UsageError("a opção " + name + " exige um valor");
      }
      continue;
    }

    const auto flag = std::find_if(kFlagOptions.begin(), kFlagOptions.end(),
                                   [&](const FlagOption& o) { return o.name == name; });
    if (flag != kFlagOptions.end()) {
      if (attached) throw UsageError("a opção " + name + " não aceita valor");
      bool& field = options.*(flag->field);
      if (field) throw UsageError("a opção " + name + " foi dada mais de uma vez");
      field = true;
      continue;
    }

    throw UsageError("opção desconhecida: " + Quoted(name));
  }

  if (files.empty()) throw UsageError("faltam os arquivos ENTRADA e SAÍDA");
  if (files.size() == 1) throw UsageError("falta o arquivo SAÍDA");
  if (files.size() > 2) throw UsageError("argumento a mais: " + Quoted(files[2]));
  options.inputPath = files[0];
  options.outputPath = files[1];
  return command;
}

std::string VersionText() { return std::string("transref-convert ") + TRANSREF_VERSION + "\n"; }

std::string UsageText() {
  // The text lives in transref-convert-help.txt, compiled in by CMake.
  return
#include "UsageText.inc"
      ;
}

}  // namespace transref::convert
