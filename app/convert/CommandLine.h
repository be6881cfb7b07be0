// The options of transref-convert as typed: names recognised, values taken,
// nothing interpreted yet (that is the job builder's work).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace transref::convert {

// A command line the converter cannot act on; the text names the option.
// The program prints it and ends with exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ConvertOptions {
  // Options that take a value, each at most once.
  std::optional<std::string> from, to;
  std::optional<std::string> fromKind, toKind;
  // --from-frame / --to-frame; --from-ellipsoid / --to-ellipsoid are their
  // older names, kept as synonyms (one of the two per side).
  std::optional<std::string> fromEllipsoid, toEllipsoid;
  bool fromFrameNamed = false, toFrameNamed = false;  // given as --from-frame / --to-frame
  std::optional<std::string> fromCm, toCm;
  std::optional<std::string> fromCmDms, toCmDms;
  std::optional<std::string> fromHemisphere, toHemisphere;
  std::optional<std::string> fromFalseEasting, fromFalseNorthing;
  std::optional<std::string> toFalseEasting, toFalseNorthing;
  std::optional<std::string> model;
  std::optional<std::string> grid;  // --grid FILE: the grid model with that NTv2 file
  std::optional<std::string> params;
  std::optional<std::string> affine;
  std::optional<std::string> fromHeights, toHeights;
  std::optional<std::string> fromMeanHeight, toMeanHeight;
  std::optional<std::string> fromUndulation, toUndulation;
  // Delimited files: the column roles ("id,n,e,h,-") and the separator
  // (";", ",", "tab", "blank").
  std::optional<std::string> columns, separator;

  // Flags.
  bool noImportHeights = false;
  // Accepted for the scripts that name them; lists are read with either
  // decimal mark, so they change nothing.
  bool decimalComma = false;
  bool decimalPoint = false;
  bool header = false, noHeader = false;
  bool dms = false;     // geographic output in degrees, minutes and seconds
  bool strict = false;  // a plausibility warning fails the run (exit 3)
  bool force = false;
  bool quiet = false;

  std::string inputPath, outputPath;
};

struct ParsedCommand {
  enum class Action { Convert, Help, Version };
  Action action = Action::Convert;
  ConvertOptions options;
};

// Reads the arguments after the program name. "--name value" and
// "--name=value" are both accepted; "--" ends the options. --help and
// --version win over everything else on the line. "-" is a file name
// (standard input or output). Throws UsageError for an unknown option, a
// missing value, an option given twice, a flag given a value, or other than
// two file names.
ParsedCommand ParseCommandLine(const std::vector<std::string>& arguments);

// The Portuguese help text of --help.
std::string UsageText();

// One line naming the program and its version.
std::string VersionText();

}  // namespace transref::convert
