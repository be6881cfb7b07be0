// The choices of a job given as texts, as a person types them on a command
// line or in a settings file: systems by list text or short name, ellipsoids
// by name or "A,INVF", meridians in decimal degrees or packed sexagesimal,
// hemispheres N/S, heights, the model 7/3/12 and its parameters. They are
// read into the job model one at a time in the order the window takes them
// (files, input side, output side, heights, model), so every rule is the
// model's; a refusal names the field, the value and what is accepted.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "conversion/ConversionJob.h"
#include "conversion/model/JobModel.h"

namespace transref {

// A choice that cannot be made; the text names the field ("--from-cm: ...").
class ChoiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The texts of one side; fields are named `prefix` + "-cm", "-ellipsoid" ...
struct SideTexts {
  Side side = Side::In;
  std::string prefix;  // "--from", "--to"
  std::optional<std::string> system, ellipsoid, cm, cmDms, hemisphere, falseEasting, falseNorthing, heights,
      meanHeight, undulation;
  bool frameNamed = false;  // the frame given as "-frame" rather than "-ellipsoid"
  std::string Name(std::string_view suffix) const { return prefix + std::string(suffix); }
};

struct JobTexts {
  std::string inputPath, outputPath;
  FileKind inputKind = FileKind::Ascii3D, outputKind = FileKind::Ascii3D;
  std::string inputKindField = "--from-kind", outputKindField = "--to-kind";
  SideTexts input, output;  // side and prefix named by the caller
  std::optional<std::string> model, params, affine;
  std::optional<std::string> grid;  // an NTv2 file: the grid model with it
  bool noImportHeights = false;
  // The delimited file's layout chosen instead of detection ("id,n,e,h,-",
  // ";", header or not), and sexagesimal output.
  std::optional<std::string> columns, separator;
  std::optional<bool> header;
  bool headerConflict = false;  // both a header and no header asked for
  bool dms = false;
};

// The delimited-file choices of the texts; ChoiceError for a value that
// cannot be read, naming the option, the value and what is accepted.
DelimitedOptions ReadDelimitedTexts(const JobTexts& texts);

// The job for the texts, or ChoiceError. A side without a system is refused,
// naming the system names; a side without an ellipsoid takes its system's
// own, else GRS80; two sides that would change nothing are refused.
ConversionJob ReadJobTexts(const JobTexts& texts);

// Strict number of a text: a whole decimal number and nothing else; with
// `commaIsDecimal` a comma is a decimal mark too.
std::optional<double> ReadNumberText(std::string text, bool commaIsDecimal);

}  // namespace transref
