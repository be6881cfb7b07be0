#include "conversion/model/JobTexts.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

#include "conversion/Messages.h"
#include "geodesy/ParameterSets.h"

namespace transref {
namespace {

using Option = std::optional<std::string>;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A whole decimal number and nothing else; a comma is a decimal mark when `commaIsDecimal`.
}  // namespace

std::optional<double> ReadNumberText(std::string text, bool commaIsDecimal) {
  if (commaIsDecimal) std::replace(text.begin(), text.end(), ',', '.');
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || digits.front() == '+' || error != std::errc{} || end != digits.data() + digits.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

namespace {

double Number(const std::string& text, const std::string& option) {
  if (const std::optional<double> value = ReadNumberText(text, true)) return *value;
  throw ChoiceError(option + ": " + Quoted(text) + " não é um número");
}

// "a,b,c": exactly `count` numbers with a decimal point.
std::vector<double> Numbers(const std::string& text, std::size_t count, const std::string& option,
                            std::string_view layout) {
  std::vector<double> values;
  for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
    comma = text.find(',', start);
    const std::string part = text.substr(start, comma - start);
    const std::optional<double> value = ReadNumberText(part, false);
    if (!value) {
      throw ChoiceError(option + ": " + Quoted(part) + " não é um número (use ponto decimal e vírgula entre os valores: " +
                       std::string(layout) + ")");
    }
    values.push_back(*value);
  }
  if (values.size() != count) {
    throw ChoiceError(option + ": são esperados " + std::to_string(count) + " valores separados por vírgula (" +
                     std::string(layout) + ")");
  }
  return values;
}

void Check(const Outcome& outcome, const std::string& option, std::string_view hint = {}) {
  if (!outcome.Refused()) return;
  throw ChoiceError(option + ": " + (hint.empty() ? outcome.refusal : std::string(hint) + " (" + outcome.refusal + ")"));
}


void ChooseSystem(JobModel& model, const SideTexts& o) {
  const std::optional<CoordinateSystemKind> system = SystemFromName(*o.system);
  if (!system) {
    throw ChoiceError(o.prefix + ": sistema desconhecido " + Quoted(*o.system) +
                     " (use um texto da lista, como \"Gauß-Krüger (Oru)\", ou " + SystemNames() + ")");
  }
  const Outcome outcome = model.ChooseSystem(o.side, *system);
  if (outcome.Refused()) throw ChoiceError(o.prefix + ": " + outcome.refusal + " (" + o.Name("-kind") + ")");
}

// "sirgas2000, carta-geral, ..." from the frame table.
std::string FrameNamesText() {
  std::string names;
  for (int f = 0; f < kReferenceFrameCount; ++f) {
    const std::string_view name = FrameInfo(static_cast<ReferenceFrame>(f)).optionNames[0];
    if (!name.empty()) names += std::string(name) + ", ";
  }
  return names;
}

void ChooseEllipsoid(JobModel& model, const SideTexts& o) {
  // The option's default: the system's own frame, else SIRGAS 2000.
  if (!o.ellipsoid && !model.Locks(o.side).ellipsoidLocked) model.ChooseEllipsoid(o.side, ReferenceFrame::Grs80);
  if (!o.ellipsoid) return;
  const std::string option = o.Name(o.frameNamed ? "-frame" : "-ellipsoid");
  if (const std::optional<ReferenceFrame> frame = FrameFromName(*o.ellipsoid); frame && *frame != ReferenceFrame::Custom) {
    return Check(model.ChooseEllipsoid(o.side, *frame), option);
  }
  const std::size_t comma = o.ellipsoid->find(',');
  const std::string axis = o.ellipsoid->substr(0, comma);
  const std::string flattening = comma == std::string::npos ? "" : o.ellipsoid->substr(comma + 1);
  if (comma == std::string::npos || !ReadNumberText(axis, false) || !ReadNumberText(flattening, false)) {
    throw ChoiceError(option + ": " + Quoted(*o.ellipsoid) + " não é um referencial (use " + FrameNamesText() +
                      "ou A,INVF, por exemplo 6378160,298.25)");
  }
  Check(model.ChooseEllipsoid(o.side, ReferenceFrame::Custom), option);
  Check(model.TypeSemiMajorAxis(o.side, axis), option);
  Check(model.TypeInverseFlattening(o.side, flattening), option);
}

void ChooseGrid(JobModel& model, const SideTexts& o) {
  if (o.hemisphere) {
    const std::string option = o.Name("-hemisphere");
    const std::string text = *o.hemisphere;
    const bool north = text == "N" || text == "n" || text == kLatitudeHemisphereItems[0];
    if (!north && text != "S" && text != "s" && text != kLatitudeHemisphereItems[1]) {
      throw ChoiceError(option + ": " + Quoted(text) + " não é um hemisfério (use N ou S)");
    }
    Check(model.ChooseLatitudeHemisphere(o.side, north), option);
  }
  if (o.cm && o.cmDms) throw ChoiceError(o.Name("-cm") + " e " + o.Name("-cm-dms") + " não podem ser usadas juntas");
  if (o.cm || o.cmDms) {
    const std::string option = o.Name(o.cm ? "-cm" : "-cm-dms");
    std::string text = o.cm ? *o.cm : *o.cmDms;
    std::replace(text.begin(), text.end(), ',', '.');
    const std::optional<double> value = ReadNumberText(text, false);
    if (!value) {
      throw ChoiceError(option + ": " + Quoted(o.cm ? *o.cm : *o.cmDms) + " não é um número" +
                       (o.cm ? "" : " (forma G.MMSSsss, por exemplo -51.1530)"));
    }
    // The sign chooses the longitude hemisphere, the magnitude the meridian.
    Check(model.ChooseLongitudeHemisphere(o.side, std::signbit(*value)), option);
    if (o.cm) {
      const Outcome outcome = model.ChooseCentralMeridian(o.side, std::fabs(*value));
      if (outcome.Refused()) throw ChoiceError(option + ": " + Quoted(*o.cm) + " " + outcome.refusal);
    } else {
      if (text.front() == '-' || text.front() == '+') text.erase(0, 1);
      Check(model.TypeCentralMeridian(o.side, text, '.'), option);
    }
  }
  for (const auto& [value, suffix] : {std::pair{&o.falseEasting, "-false-easting"},
                                      std::pair{&o.falseNorthing, "-false-northing"}}) {
    if (!*value) continue;
    const Outcome outcome = suffix == std::string_view("-false-easting")
                                ? model.TypeFalseEasting(o.side, **value)
                                : model.TypeFalseNorthing(o.side, **value);
    Check(outcome, o.Name(suffix));
    Number(**value, o.Name(suffix));
  }
}

void ChooseHeights(JobModel& model, const SideTexts& o, bool importing) {
  // Importing, the output's options name the option that frees them.
  const std::string_view hint = o.side == Side::Out && importing ? "exige --no-import-heights" : "";
  if (o.heights) {
    const std::string text = *o.heights;
    if (text != "geometric" && text != "orthometric") {
      throw ChoiceError(o.Name("-heights") + ": " + Quoted(text) +
                       " não é um tipo de altitude (use geometric ou orthometric)");
    }
    // The dialog's OK would replace an imported output's height kind.
    Check(model.HeightOptionsAllowed(o.side), o.Name("-heights"), hint);
    Check(model.ChooseHeightKind(o.side, text == "geometric"), o.Name("-heights"));
  }
  if (o.meanHeight) {
    Check(model.ChooseMeanHeight(o.side, Number(*o.meanHeight, o.Name("-mean-height"))), o.Name("-mean-height"), hint);
  }
  if (o.undulation) {
    const double metres = Number(*o.undulation, o.Name("-undulation"));
    const bool geometric = o.side == Side::In ? model.Altimetry().inputGeometric : model.Altimetry().outputGeometric;
    Check(model.ChooseMeanUndulation(o.side, metres), o.Name("-undulation"),
          hint.empty() && !geometric ? "exige " + o.Name("-heights") + " geometric" : std::string(hint));
  }
}

void ChooseParameters(JobModel& model, const JobTexts& options) {
  constexpr std::string_view kParams = "TX,TY,TZ,RX,RY,RZ,ESCALA", kAffine = "TX,TY,TZ,A,B,C,D,E,F,G,H,I";
  const Option& m = options.model;
  std::string mLower = m.value_or("");
  std::transform(mLower.begin(), mLower.end(), mLower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (m && *m != "7" && *m != "3" && *m != "12" && mLower != "grid") {
    throw ChoiceError("--model: " + Quoted(*m) + " não é um modelo (use 7, 3, 12 ou grid)");
  }
  // Without --model the frames' default stays (a shipped grid, else seven
  // parameters); --grid alone chooses the grid model.
  const TransformationModel chosen = mLower == "grid" || (!m && options.grid) ? TransformationModel::Grid
                                     : !m                                    ? model.Model()
                                     : *m == "7"                             ? TransformationModel::Isogonal
                                     : *m == "3"                             ? TransformationModel::Translation
                                                                             : TransformationModel::Affine;
  if (options.grid && chosen != TransformationModel::Grid) {
    throw ChoiceError("--grid: só se aplica ao modelo Grade NTv2 (--model grid)");
  }
  const std::string modelOption = m ? "--model " + *m : "--model";
  if (chosen == TransformationModel::Grid) {
    if (options.params) throw ChoiceError("--params: não se aplica ao modelo Grade NTv2");
    if (options.affine) throw ChoiceError("--affine: não se aplica ao modelo Grade NTv2");
  }
  if (options.params && chosen == TransformationModel::Affine) throw ChoiceError("--params: com --model 12 use --affine");
  if (const Outcome outcome = model.ChooseModel(chosen); outcome.Refused()) {
    if (chosen == TransformationModel::Affine) {
      throw ChoiceError(modelOption + ": " + outcome.refusal + " Informe os parâmetros com --affine " + std::string(kAffine));
    }
    throw ChoiceError(modelOption + ": " + outcome.refusal + " Informe os parâmetros com --params " +
                      std::string(kParams) + " ou use --model grid");
  }
  if (chosen == TransformationModel::Grid) {
    if (options.grid) model.ChooseGridFile(*options.grid);
    if (model.GridPath().empty() && !m) {
      // A pair without published parameters nor a shipped grid.
      throw ChoiceError("--model: " + std::string(kNoParametersMessage) + " Informe os parâmetros com --params " +
                        std::string(kParams) + " ou uma grade com --grid ARQUIVO");
    }
    if (model.GridPath().empty()) {
      const std::optional<ShippedGrid> shipped = ShippedGridFor(model.Fields(Side::In).frame, model.Fields(Side::Out).frame);
      throw ChoiceError(shipped ? "--model grid: a grade " + Quoted(shipped->fileName) +
                                      " que acompanha o programa não foi encontrada; informe-a com --grid ARQUIVO"
                                : "--model grid: nenhuma grade do programa liga estes referenciais; informe uma "
                                  "com --grid ARQUIVO");
    }
  }
  if (options.params) {
    const std::vector<double> v = Numbers(*options.params, 7, "--params", kParams);
    Check(model.TypeIsogonalParameters({v[0], v[1], v[2], v[3], v[4], v[5], v[6]}), "--params");
  }
  if (options.affine) {
    const std::vector<double> v = Numbers(*options.affine, 12, "--affine", kAffine);
    Check(model.TypeAffineParameters({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]}),
          "--affine");
  }
}

}  // namespace

ConversionJob ReadJobTexts(const JobTexts& texts) {
  if (!texts.input.system || !texts.output.system) {
    const std::string fields = !texts.input.system && !texts.output.system
                                   ? texts.input.prefix + " e " + texts.output.prefix
                                   : !texts.input.system ? texts.input.prefix : texts.output.prefix;
    throw ChoiceError(fields + ": indique os sistemas de entrada e de saída (use um texto da lista, como "
                               "\"Gauß-Krüger (Oru)\", ou " + SystemNames() + ")");
  }
  JobModel model;
  // The one question the rules ask (parameters for a pair without published
  // ones), answered by the options: --params or --affine is "Sim".
  struct Answer : Dialogue {
    bool yes = false;
    bool AskCustomParameters() override { return yes; }
  } answer;
  answer.yes = texts.params || texts.affine;
  model.SetDialogue(&answer);
  model.ChooseFiles(texts.inputPath, texts.outputPath);
  Check(model.ChooseFileKind(Side::In, texts.inputKind), texts.inputKindField);
  Check(model.ChooseFileKind(Side::Out, texts.outputKind), texts.outputKindField);
  for (const SideTexts* side : {&texts.input, &texts.output}) {
    ChooseSystem(model, *side);
    ChooseEllipsoid(model, *side);
    ChooseGrid(model, *side);
  }
  if (texts.noImportHeights) model.ChooseImportHeights(false);
  ChooseHeights(model, texts.input, model.Altimetry().importHeights);
  ChooseHeights(model, texts.output, model.Altimetry().importHeights);
  model.CloseAltimetryDialog();
  ChooseParameters(model, texts);
  if (!FormatChanges(texts.inputKind, texts.outputKind, texts.dms) && !model.SidesDiffer()) {
    throw ChoiceError(texts.output.prefix + ": " + std::string(kNothingToConvert) + " (mude --to, --to-ellipsoid, --to-cm ou --to-hemisphere)");
  }
  model.SetDialogue(nullptr);
  JobModel::Built built = model.BuildJob();
  if (!built.job) throw ChoiceError(built.message);
  built.job->delimited = ReadDelimitedTexts(texts);
  return *built.job;
}

DelimitedOptions ReadDelimitedTexts(const JobTexts& texts) {
  DelimitedOptions delimited;
  if (texts.columns) {
    const std::optional<std::vector<ColumnRole>> columns = ParseColumnsText(*texts.columns);
    if (!columns) {
      throw ChoiceError("--columns: \"" + *texts.columns +
                        "\" não é uma lista de colunas (use id, e, n, h, lon, lat, x, y, z e - para uma coluna "
                        "levada como está, separados por vírgula, cada coordenada uma vez, por exemplo id,n,e,h,-)");
    }
    delimited.columns = *columns;
  }
  if (texts.separator) {
    delimited.separator = ParseSeparatorName(*texts.separator);
    if (!delimited.separator) {
      throw ChoiceError("--separator: \"" + *texts.separator +
                        "\" não é um separador (use \";\", \",\", tab ou blank)");
    }
  }
  if (texts.headerConflict) throw ChoiceError("--header e --no-header não podem ser usadas juntas");
  delimited.header = texts.header;
  delimited.sexagesimalOutput = texts.dms;
  return delimited;
}

}  // namespace transref
