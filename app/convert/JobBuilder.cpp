#include "JobBuilder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversion/EditNumber.h"
#include "conversion/Messages.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/Sexagesimal.h"
#include "support/Numbers.h"

namespace transref::convert {
namespace {

using Option = std::optional<std::string>;
using K = CoordinateSystemKind;

struct SystemAlias {
  std::string_view name;
  CoordinateSystemKind kind;
};

constexpr std::array kSystemAliases{
    SystemAlias{"ltm", K::Ltm},          SystemAlias{"ltm-oru", K::LtmOru},
    SystemAlias{"ltm-custom", K::LtmCustom}, SystemAlias{"rtm", K::Rtm},
    SystemAlias{"gk", K::GaussKruger},   SystemAlias{"gk-oru", K::GaussKrugerOru},
    SystemAlias{"gk-custom", K::GaussKrugerCustom}, SystemAlias{"utm", K::Utm},
    SystemAlias{"geographic", K::Geographic}, SystemAlias{"cartesian", K::Cartesian},
};

struct KindName {
  std::string_view name;
  FileKind kind;
};

constexpr std::array kKindNames{
    KindName{"ascii3d", FileKind::Ascii3D},
    KindName{"ascii2d", FileKind::Ascii2D},
    KindName{"dxf", FileKind::Dxf},
};

// The systems the window starts with, as it starts: input "Gauß-Krüger (Oru)",
// output "LTM (Oru)".
constexpr CoordinateSystemKind kDefaultInputSystem = K::GaussKrugerOru;
constexpr CoordinateSystemKind kDefaultOutputSystem = K::LtmOru;

// Two list entries are the same meridian when their numbers agree this well.
constexpr double kMeridianMatchTolerance = 1e-9;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view KindText(FileKind kind) {
  return kKindNames[static_cast<std::size_t>(kind)].name;
}

std::string SystemText(CoordinateSystemKind kind) { return Quoted(SystemInfo(kind).label); }

// A whole decimal number and nothing else: optional sign, digits, a decimal
// mark ('.', or also ',' when `commaIsDecimal`), optional exponent.
std::optional<double> ReadNumber(std::string_view text, bool commaIsDecimal) {
  std::string copy(text);
  if (commaIsDecimal) std::replace(copy.begin(), copy.end(), ',', '.');
  std::string_view digits = copy;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty() || digits.front() == '+') return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

double NumberOption(const std::string& text, std::string_view option) {
  if (const std::optional<double> value = ReadNumber(text, true)) return *value;
  throw UsageError(std::string(option) + ": " + Quoted(text) + " não é um número");
}

// "a,b,c": exactly `count` numbers with a decimal point (the comma separates).
std::vector<double> NumberListOption(const std::string& text, std::size_t count,
                                     std::string_view option, std::string_view layout) {
  std::vector<double> values;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma - start);
    const std::optional<double> value = ReadNumber(part, false);
    if (!value) {
      throw UsageError(std::string(option) + ": " + Quoted(part) +
                       " não é um número (use ponto decimal e vírgula entre os valores: " +
                       std::string(layout) + ")");
    }
    values.push_back(*value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (values.size() != count) {
    throw UsageError(std::string(option) + ": são esperados " + std::to_string(count) +
                     " valores separados por vírgula (" + std::string(layout) + ")");
  }
  return values;
}

// The options of one side, named with its prefix ("--from" or "--to").
struct SideOptions {
  std::string prefix;
  bool frameNamed;  // given as --from-frame rather than --from-ellipsoid
  const Option& system;
  const Option& kind;
  const Option& ellipsoid;
  const Option& cm;
  const Option& cmDms;
  const Option& hemisphere;
  const Option& falseEasting;
  const Option& falseNorthing;
  const Option& heights;
  const Option& meanHeight;
  const Option& undulation;

  std::string Name(std::string_view suffix = {}) const { return prefix + std::string(suffix); }
};

// The ellipsoid of a side as the window holds it: the combo position and the
// texts of the two ellipsoid edits (processing reads the edits).
struct EllipsoidChoice {
  ReferenceFrame frame = ReferenceFrame::Grs80;
  std::string axisText;
  std::string flatteningText;
};

// What the window's side holds once the user has made the choices.
struct SideChoice {
  FileKind kind = FileKind::Ascii3D;
  CoordinateSystemKind system = kDefaultInputSystem;
  EllipsoidChoice ellipsoid;
  bool west = true;      // "Oeste (W)"
  bool northern = false;  // "Norte (N)"
  std::string meridianEntry;
  std::string falseEastingText;
  std::string falseNorthingText;
};

// Hemispheres that the window shows disabled, and why.
struct HemisphereLock {
  bool west = true;
  bool northern = false;
  std::string reason;
};

// The edits of a built-in ellipsoid show its values in the general
// float-to-text form with up to 15 significant digits.
std::string EllipsoidEditText(double value) {
  char text[32];
  FormatC(text, sizeof text, "%.15g", value);
  return text;
}

EllipsoidChoice FrameEllipsoid(ReferenceFrame frame) {
  const ReferenceFrameInfo& info = FrameInfo(frame);
  return {frame, EllipsoidEditText(info.semiMajorAxis), EllipsoidEditText(info.inverseFlattening)};
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

EllipsoidChoice ChooseEllipsoid(const SideOptions& side, CoordinateSystemKind system) {
  const std::optional<ReferenceFrame> locked = SystemInfo(system).lockedFrame;
  if (!side.ellipsoid) return FrameEllipsoid(locked.value_or(ReferenceFrame::Grs80));

  const std::string& text = *side.ellipsoid;
  const std::string option = side.Name(side.frameNamed ? "-frame" : "-ellipsoid");
  EllipsoidChoice choice;
  const std::optional<ReferenceFrame> named = FrameFromName(text);
  if (named && *named != ReferenceFrame::Custom) {
    choice = FrameEllipsoid(*named);
  } else {
    const std::size_t comma = text.find(',');
    const std::string axis = text.substr(0, comma);
    const std::string flattening = comma == std::string::npos ? "" : text.substr(comma + 1);
    if (comma == std::string::npos || !ReadNumber(axis, false) || !ReadNumber(flattening, false)) {
      throw UsageError(option + ": " + Quoted(text) + " não é um referencial (use " + FrameNamesText() +
                       "ou A,INVF, por exemplo 6378160,298.25)");
    }
    choice = {ReferenceFrame::Custom, axis, flattening};
  }
  if (locked && choice.frame != *locked) {
    throw UsageError(option + ": o sistema " + SystemText(system) + " usa sempre o elipsóide " +
                     Quoted(FrameInfo(*locked).label));
  }
  return choice;
}

CoordinateSystemKind ChooseSystem(const SideOptions& side, CoordinateSystemKind fallback) {
  if (!side.system) return fallback;
  if (const std::optional<CoordinateSystemKind> kind = SystemFromName(*side.system)) return *kind;
  throw UsageError(side.Name() + ": sistema desconhecido " + Quoted(*side.system) +
                   " (use um texto da lista, como \"Gauß-Krüger (Oru)\", ou ltm, ltm-oru, "
                   "ltm-custom, rtm, gk, gk-oru, gk-custom, utm, geographic, cartesian)");
}

FileKind ParseKindOption(const Option& text, std::string_view option) {
  if (const std::optional<FileKind> kind = FileKindFromName(*text)) return *kind;
  throw UsageError(std::string(option) + ": tipo desconhecido " + Quoted(*text) +
                   " (use ascii3d, ascii2d ou dxf)");
}

// The systems each file kind offers: a drawing only the grids, a 2D list
// everything but the cartesian system.
void CheckSystemOffered(const SideOptions& side, const SideChoice& choice) {
  const bool offered = choice.kind == FileKind::Dxf       ? IsProjected(choice.system)
                       : choice.kind == FileKind::Ascii2D ? choice.system != K::Cartesian
                                                          : true;
  if (!offered) {
    throw UsageError(side.Name() + ": o sistema " + SystemText(choice.system) +
                     " não é oferecido para arquivos do tipo " + std::string(KindText(choice.kind)) +
                     " (" + side.Name("-kind") + ")");
  }
}

void RefuseForNonGrid(const SideOptions& side, const SideChoice& choice) {
  const std::pair<const Option*, std::string_view> gridOptions[] = {
      {&side.cm, "-cm"},
      {&side.cmDms, "-cm-dms"},
      {&side.hemisphere, "-hemisphere"},
      {&side.falseEasting, "-false-easting"},
      {&side.falseNorthing, "-false-northing"},
  };
  for (const auto& [option, suffix] : gridOptions) {
    if (*option) {
      throw UsageError(side.Name(suffix) + ": não se aplica ao sistema " +
                       SystemText(choice.system));
    }
  }
}

bool ParseHemisphere(const std::string& text, std::string_view option) {
  const std::string lower = Lower(text);
  if (lower == "n" || text == kLatitudeHemisphereItems[0]) return true;
  if (lower == "s" || text == kLatitudeHemisphereItems[1]) return false;
  throw UsageError(std::string(option) + ": " + Quoted(text) + " não é um hemisfério (use N ou S)");
}

// The central-meridian list entry and longitude hemisphere named by
// --from-cm / --from-cm-dms (or their --to twins).
void ReadCentralMeridianOption(const SideOptions& side, SideChoice& choice) {
  const CoordinateSystemInfo& info = SystemInfo(choice.system);
  if (side.cm && side.cmDms) {
    throw UsageError(side.Name("-cm") + " e " + side.Name("-cm-dms") +
                     " não podem ser usadas juntas");
  }
  if (side.cmDms) {
    const std::string option = side.Name("-cm-dms");
    if (!info.usesCustomPanel) {
      throw UsageError(option + ": só se aplica aos sistemas customizados (" +
                       SystemText(K::LtmCustom) + ", " + SystemText(K::GaussKrugerCustom) + ")");
    }
    // The sign gives the hemisphere; the window takes the magnitude in its
    // entry field and the hemisphere from its combo.
    std::string magnitude = *side.cmDms;
    choice.west = !magnitude.empty() && magnitude.front() == '-';
    if (!magnitude.empty() && (magnitude.front() == '-' || magnitude.front() == '+')) {
      magnitude.erase(0, 1);
    }
    std::replace(magnitude.begin(), magnitude.end(), ',', '.');
    std::optional<CustomMeridianTexts> texts;
    try {
      if (!ReadNumber(magnitude, false)) throw std::runtime_error("");
      texts = CustomCentralMeridianFromEntry(magnitude, '.');
    } catch (const std::runtime_error&) {
      throw UsageError(option + ": " + Quoted(*side.cmDms) +
                       " não é um número (forma G.MMSSsss, por exemplo -51.1530)");
    }
    if (!texts) throw UsageError(option + ": " + Quoted(*side.cmDms) + " fora do intervalo -360 a 360");
    choice.meridianEntry = texts->listEntry;
    return;
  }

  const std::string option = side.Name("-cm");
  const double value = NumberOption(*side.cm, option);
  const double magnitude = std::fabs(value);
  choice.west = std::signbit(value);
  if (info.usesCustomPanel) {
    if (magnitude > kPackedSexagesimalLimit) {
      throw UsageError(option + ": " + Quoted(*side.cm) + " fora do intervalo -360 a 360");
    }
    choice.meridianEntry = MeridianListEntry(magnitude);
    return;
  }
  const std::vector<std::string> entries = CentralMeridianEntries(choice.system);
  const auto entry = std::find_if(entries.begin(), entries.end(), [&](const std::string& e) {
    return std::fabs(ParseCentralMeridianEntry(e) - magnitude) <= kMeridianMatchTolerance;
  });
  if (entry == entries.end()) {
    std::string offered = entries.front();
    if (entries.size() > 1) offered += " a " + entries.back();
    throw UsageError(option + ": " + Quoted(*side.cm) +
                     " não é um meridiano central da lista de " + SystemText(choice.system) +
                     " (" + offered + ", negativo a oeste)");
  }
  choice.meridianEntry = *entry;
}

// Hemispheres, central meridian and false origins of a grid side, as the
// system handler writes them; `copyFrom` is the input side when both sides
// have the same system (the window's copy path).
void ChooseProjection(const SideOptions& side, SideChoice& choice,
                      const std::optional<HemisphereLock>& lock, const SideChoice* copyFrom) {
  const CoordinateSystemInfo& info = SystemInfo(choice.system);

  choice.northern = lock ? lock->northern : false;
  if (side.hemisphere) {
    const std::string option = side.Name("-hemisphere");
    const bool northern = ParseHemisphere(*side.hemisphere, option);
    if (lock && northern != lock->northern) throw UsageError(option + ": " + lock->reason);
    choice.northern = northern;
  }

  choice.west = lock ? lock->west : true;
  if (side.cm || side.cmDms) {
    const bool defaultWest = choice.west;
    ReadCentralMeridianOption(side, choice);
    if (lock && choice.west != defaultWest) {
      throw UsageError(side.Name(side.cm ? "-cm" : "-cm-dms") + ": " + lock->reason);
    }
  } else if (copyFrom != nullptr) {
    choice.meridianEntry = copyFrom->meridianEntry;
  } else if (info.usesCustomPanel) {
    // The customised systems reduce their list to the "%0.10lf°" entry.
    choice.meridianEntry = MeridianListEntry(ParseCentralMeridianEntry(info.defaultMeridianEntry));
  } else {
    choice.meridianEntry = info.defaultMeridianEntry;
  }

  const std::string defaultNorthing(DefaultFalseNorthing(choice.system, choice.northern));
  if (info.falseOriginEditable) {
    choice.falseEastingText = copyFrom ? copyFrom->falseEastingText : std::string(info.falseEasting);
    choice.falseNorthingText = copyFrom ? copyFrom->falseNorthingText : defaultNorthing;
    if (side.falseEasting) {
      NumberOption(*side.falseEasting, side.Name("-false-easting"));
      choice.falseEastingText = *side.falseEasting;
    }
    if (side.falseNorthing) {
      NumberOption(*side.falseNorthing, side.Name("-false-northing"));
      choice.falseNorthingText = *side.falseNorthing;
    }
    return;
  }
  for (const auto& [option, suffix] : {std::pair{&side.falseEasting, "-false-easting"},
                                       std::pair{&side.falseNorthing, "-false-northing"}}) {
    if (*option) {
      throw UsageError(side.Name(suffix) + ": a falsa origem de " + SystemText(choice.system) +
                       " é fixa; só os sistemas customizados aceitam outra");
    }
  }
  choice.falseEastingText = info.falseEasting;
  choice.falseNorthingText = defaultNorthing;
}

// The values the window keeps for a side whose details are hidden
// (geographic, cartesian): those its starting system wrote.
void KeepStartingProjection(SideChoice& choice, CoordinateSystemKind startingSystem) {
  const CoordinateSystemInfo& info = SystemInfo(startingSystem);
  choice.west = true;
  choice.northern = false;
  choice.meridianEntry = info.defaultMeridianEntry;
  choice.falseEastingText = info.falseEasting;
  choice.falseNorthingText = DefaultFalseNorthing(startingSystem, false);
}

double SignedMeridian(const SideChoice& choice) {
  const double entry = ParseCentralMeridianEntry(choice.meridianEntry);
  return choice.west ? -entry : entry;
}

SideIdentity Identity(const SideChoice& choice) {
  SideIdentity identity;
  identity.system = choice.system;
  identity.frame = choice.ellipsoid.frame;
  identity.semiMajorAxisText = choice.ellipsoid.axisText;
  identity.inverseFlatteningText = choice.ellipsoid.flatteningText;
  identity.centralMeridian = SignedMeridian(choice);
  identity.northern = choice.northern;
  identity.falseEasting = ReadEditNumber(choice.falseEastingText).value;
  identity.falseNorthing = ReadEditNumber(choice.falseNorthingText).value;
  return identity;
}

JobSide MakeJobSide(const SideChoice& choice, CoordinateSystemKind startingSystem) {
  const CoordinateSystemInfo& info = SystemInfo(choice.system);
  JobSide side;
  side.system = choice.system;
  side.systemLabel = info.label;
  side.frame = choice.ellipsoid.frame;
  side.semiMajorAxis = ReadEditNumber(choice.ellipsoid.axisText).value;
  side.inverseFlattening = ReadEditNumber(choice.ellipsoid.flatteningText).value;
  side.centralMeridian = SignedMeridian(choice);
  side.northern = choice.northern;
  side.falseEasting = ReadEditNumber(choice.falseEastingText).value;
  side.falseNorthing = ReadEditNumber(choice.falseNorthingText).value;
  // Geographic and cartesian sides keep the factor their starting system set.
  side.scaleFactor = IsProjected(choice.system) ? info.scaleFactor
                                                : SystemInfo(startingSystem).scaleFactor;
  return side;
}

// A parameter value as processing reads it back from its field.
double FieldValue(double value) { return ReadEditNumber(FormatParameterValue(value, '.')).value; }

IsogonalParameters FieldValues(const IsogonalParameters& p) {
  return {FieldValue(p.tx), FieldValue(p.ty), FieldValue(p.tz), FieldValue(p.rx),
          FieldValue(p.ry), FieldValue(p.rz), FieldValue(p.scale)};
}

AffineParameters FieldValues(const AffineParameters& p) {
  return {FieldValue(p.tx), FieldValue(p.ty), FieldValue(p.tz), FieldValue(p.a),
          FieldValue(p.b),  FieldValue(p.c),  FieldValue(p.d),  FieldValue(p.e),
          FieldValue(p.f),  FieldValue(p.g),  FieldValue(p.h),  FieldValue(p.i)};
}

constexpr std::string_view kParamsLayout = "TX,TY,TZ,RX,RY,RZ,ESCALA";
constexpr std::string_view kAffineLayout = "TX,TY,TZ,A,B,C,D,E,F,G,H,I";

// The model named by --model, or implied by --grid, or the pair's default.
TransformationModel ChooseModel(const ConvertOptions& options, ReferenceFrame inputFrame,
                                ReferenceFrame outputFrame) {
  const Option& text = options.model;
  if (!text) return options.grid ? TransformationModel::Grid : DefaultModel(inputFrame, outputFrame);
  TransformationModel model;
  if (*text == "7") {
    model = TransformationModel::Isogonal;
  } else if (*text == "3") {
    model = TransformationModel::Translation;
  } else if (*text == "12") {
    model = TransformationModel::Affine;
  } else if (Lower(*text) == "grid") {
    model = TransformationModel::Grid;
  } else {
    throw UsageError("--model: " + Quoted(*text) + " não é um modelo (use 7, 3, 12 ou grid)");
  }
  if (options.grid && model != TransformationModel::Grid) {
    throw UsageError("--grid: só se aplica ao modelo Grade NTv2 (--model grid)");
  }
  return model;
}

// The grid file: --grid, else the one that ships for the pair.
void ChooseGrid(const ConvertOptions& options, ReferenceFrame inputFrame, ReferenceFrame outputFrame,
                ConversionJob& job) {
  if (options.params) throw UsageError("--params: não se aplica ao modelo Grade NTv2");
  if (options.affine) throw UsageError("--affine: não se aplica ao modelo Grade NTv2");
  if (options.grid) {
    job.grid.path = *options.grid;
    return;
  }
  job.grid.path = ShippedGridPath(inputFrame, outputFrame);
  if (!job.grid.path.empty()) return;
  const std::optional<ShippedGrid> shipped = ShippedGridFor(inputFrame, outputFrame);
  throw UsageError(shipped ? "--model grid: a grade " + Quoted(shipped->fileName) +
                                 " que acompanha o programa não foi encontrada; informe-a com --grid ARQUIVO"
                           : "--model grid: nenhuma grade do programa liga estes referenciais; informe uma "
                             "com --grid ARQUIVO");
}

// The model's parameters as the lookup leaves the fields, or as typed where
// the lookup lets the user type them.
void ChooseParameters(const ConvertOptions& options, ReferenceFrame inputFrame,
                      ReferenceFrame outputFrame, ConversionJob& job) {
  job.model = ChooseModel(options, inputFrame, outputFrame);
  if (job.model == TransformationModel::Grid) {
    ChooseGrid(options, inputFrame, outputFrame, job);
    return;
  }
  const ParameterDecision decision =
      LookupTransformationParameters(job.model, inputFrame, outputFrame);
  const bool sameFrame = inputFrame == outputFrame;

  if (decision.panel == ParameterPanel::Isogonal) {
    if (options.affine) throw UsageError("--affine: só se aplica a --model 12");
    const bool typed = decision.isogonalEnabled || decision.askForCustom;
    if (!options.params && decision.askForCustom) {
      // No published parameters: never the neutral values unasked.
      throw UsageError("--model " + std::string(job.model == TransformationModel::Isogonal ? "7" : "3") +
                       ": " + std::string(kNoParametersMessage) + " Informe os parâmetros com --params " +
                       std::string(kParamsLayout) + " ou use --model grid");
    }
    if (!options.params) {
      job.isogonal = FieldValues(decision.isogonal);
    } else if (typed) {
      const std::vector<double> v = NumberListOption(*options.params, 7, "--params", kParamsLayout);
      job.isogonal = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    } else {
      throw UsageError(sameFrame
                           ? "--params: os dois lados usam o mesmo referencial; não há "
                             "parâmetros a informar"
                           : "--params: para este par de referenciais valem os parâmetros "
                             "internos do programa (só com um elipsóide customizado se "
                             "informam parâmetros)");
    }
    return;
  }

  if (options.params) throw UsageError("--params: com --model 12 use --affine");
  // The isogonal fields keep what the seven-parameter lookup wrote for the frames.
  job.isogonal = FieldValues(
      LookupTransformationParameters(TransformationModel::Isogonal, inputFrame, outputFrame)
          .isogonal);
  if (decision.askForCustom) {
    if (!options.affine) {
      throw UsageError("--model 12: " + std::string(kNoParametersMessage) +
                       " Informe os parâmetros com --affine " + std::string(kAffineLayout));
    }
    const std::vector<double> v = NumberListOption(*options.affine, 12, "--affine", kAffineLayout);
    job.affine = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
  } else {
    if (options.affine) {
      throw UsageError("--affine: os dois lados usam o mesmo referencial; não há parâmetros a "
                       "informar");
    }
    job.affine = FieldValues(decision.affine);
  }
}

bool ParseHeightKind(const Option& text, std::string_view option) {
  if (!text || Lower(*text) == "orthometric") return false;
  if (Lower(*text) == "geometric") return true;
  throw UsageError(std::string(option) + ": " + Quoted(*text) +
                   " não é um tipo de altitude (use geometric ou orthometric)");
}

struct HeightChoice {
  bool geometric = false;
  bool useMeanHeight = false;
  double meanHeight = 0.0;
  bool meanUndulation = false;
  double undulation = 0.0;
};

HeightChoice ChooseHeights(const SideOptions& side) {
  HeightChoice heights;
  heights.geometric = ParseHeightKind(side.heights, side.Name("-heights"));
  if (side.meanHeight) {
    heights.useMeanHeight = true;
    heights.meanHeight = NumberOption(*side.meanHeight, side.Name("-mean-height"));
  }
  if (side.undulation) {
    if (!heights.geometric) {
      throw UsageError(side.Name("-undulation") + ": exige " + side.Name("-heights") +
                       " geometric (a ondulação média só se aplica a altitudes geométricas)");
    }
    heights.meanUndulation = true;
    heights.undulation = NumberOption(*side.undulation, side.Name("-undulation"));
  }
  return heights;
}

void RefuseHeightOptions(const SideOptions& side, std::string_view reason) {
  for (const auto& [option, suffix] : {std::pair{&side.heights, "-heights"},
                                       std::pair{&side.meanHeight, "-mean-height"},
                                       std::pair{&side.undulation, "-undulation"}}) {
    if (*option) throw UsageError(side.Name(suffix) + ": " + std::string(reason));
  }
}

// The altimetry dialog's settings after its OK, for the chosen systems.
AltimetrySettings ChooseAltimetry(const ConvertOptions& options, const SideOptions& input,
                                  const SideOptions& output, CoordinateSystemKind inputSystem,
                                  CoordinateSystemKind outputSystem) {
  const std::string noHeights = "a altimetria não se aplica ao sistema " + SystemText(K::Cartesian);
  AltimetrySettings altimetry;
  HeightChoice in;
  if (inputSystem == K::Cartesian) {
    RefuseHeightOptions(input, noHeights);
  } else {
    in = ChooseHeights(input);
  }
  // A cartesian side clears "Importar altitudes do arquivo de entrada?".
  altimetry.importHeights = !options.noImportHeights && inputSystem != K::Cartesian &&
                            outputSystem != K::Cartesian;
  HeightChoice out;
  if (altimetry.importHeights) {
    RefuseHeightOptions(output, "exige --no-import-heights (importando as altitudes, a saída "
                                "segue as escolhas da entrada)");
    out = in;
  } else if (outputSystem == K::Cartesian) {
    RefuseHeightOptions(output, noHeights);
  } else {
    out = ChooseHeights(output);
  }

  altimetry.inputGeometric = in.geometric;
  altimetry.inputUseMeanHeight = in.useMeanHeight;
  altimetry.inputMeanHeight = in.meanHeight;
  altimetry.inputMeanUndulation = in.meanUndulation;
  altimetry.inputUndulation = in.undulation;
  altimetry.outputGeometric = out.geometric;
  altimetry.outputUseMeanHeight = out.useMeanHeight;
  altimetry.outputMeanHeight = out.meanHeight;
  altimetry.outputMeanUndulation = out.meanUndulation;
  altimetry.outputUndulation = out.undulation;
  return altimetry;
}

// The frame's short name ("GRS80", "Hayford 1924", "SAD 69"), or the typed
// values of a custom ellipsoid.
std::string EllipsoidName(const JobSide& side) {
  if (side.frame != ReferenceFrame::Custom) return std::string(FrameInfo(side.frame).shortName);
  return "a = " + EllipsoidEditText(side.semiMajorAxis) + ", 1/f = " + EllipsoidEditText(side.inverseFlattening);
}

// What the model applies: the grid ("SAD69_003.gsb (SAD69 → SIRGAS00)"), or,
// for a pair through SIRGAS 2000 or with IBGE's parameters, the legs.
std::string AppliedText(const ConversionJob& job) {
  if (job.model == TransformationModel::Grid) {
    const PreparedGrid grid = PrepareGrid(job);
    return ": " + (grid.description.empty() ? std::filesystem::path(job.grid.path).filename().string()
                                            : grid.description);
  }
  if (job.model == TransformationModel::Affine || job.input.frame == job.output.frame) return "";
  const auto builtIn = [](ReferenceFrame f) {
    return f == ReferenceFrame::Grs80 || f == ReferenceFrame::Hayford || f == ReferenceFrame::Custom;
  };
  if (builtIn(job.input.frame) && builtIn(job.output.frame)) return "";
  const ParameterDecision decision = LookupTransformationParameters(job.model, job.input.frame, job.output.frame);
  if (decision.legs.empty()) return ": parâmetros informados";
  return ": " + LegsText(decision.legs, job.model, '.');
}

// A grid whose zone the user chooses (every projected system but the two
// "(Oru)" ones, fixed at 51° W): its central meridian and, for UTM, whose
// false northing follows it, its latitude hemisphere.
bool HasChosenZone(CoordinateSystemKind kind) { return IsProjected(kind) && SystemInfo(kind).hemispheresEnabled; }

// ", MC 51.5° W" (and ", hemisfério S" for UTM), or nothing.
std::string ZoneText(const JobSide& side) {
  if (!HasChosenZone(side.system)) return "";
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(side.centralMeridian)).ptr;
  std::string text = ", MC " + std::string(digits, end) + "° " + (side.centralMeridian < 0 ? "W" : "E");
  if (side.system == K::Utm) text += side.northern ? ", hemisfério N" : ", hemisfério S";
  return text;
}

// The zone of a side left to its default: no meridian given, or for UTM no
// latitude hemisphere.
bool ZoneDefaulted(const JobSide& side, const std::optional<std::string>& cm,
                   const std::optional<std::string>& cmDms, const std::optional<std::string>& hemisphere) {
  if (!HasChosenZone(side.system)) return false;
  if (!cm && !cmDms) return true;
  return side.system == K::Utm && !hemisphere;
}

}  // namespace

std::string SidesSummary(const ConversionJob& job) {
  std::string model(TransformationModelLabel(job.model));
  while (!model.empty() && model.back() == ' ') model.pop_back();
  return "De: " + job.input.systemLabel + ZoneText(job.input) + ", " + EllipsoidName(job.input) +
         " — Para: " + job.output.systemLabel + ZoneText(job.output) + ", " + EllipsoidName(job.output) +
         " — " + model + AppliedText(job);
}

bool UsesDefaults(const ConvertOptions& options, const ConversionJob& job) {
  return !options.from || !options.to || !options.fromEllipsoid || !options.toEllipsoid || !options.model ||
         ZoneDefaulted(job.input, options.fromCm, options.fromCmDms, options.fromHemisphere) ||
         ZoneDefaulted(job.output, options.toCm, options.toCmDms, options.toHemisphere);
}

std::optional<CoordinateSystemKind> SystemFromName(std::string_view name) {
  if (const std::optional<CoordinateSystemKind> kind = SystemKindFromLabel(name)) return kind;
  const std::string lower = Lower(name);
  for (const SystemAlias& alias : kSystemAliases) {
    if (alias.name == lower) return alias.kind;
  }
  return std::nullopt;
}

std::optional<FileKind> FileKindFromName(std::string_view name) {
  const std::string lower = Lower(name);
  for (const KindName& kind : kKindNames) {
    if (kind.name == lower) return kind.kind;
  }
  return std::nullopt;
}

FileKind FileKindFromExtension(std::string_view path) {
  const std::string extension = Lower(std::filesystem::path(path).extension().string());
  return extension == ".dxf" ? FileKind::Dxf : FileKind::Ascii3D;
}

FileKind InputKindOf(std::string_view path, std::optional<FileKind> detected) {
  if (detected == FileKind::Dxf || FileKindFromExtension(path) == FileKind::Dxf) return FileKind::Dxf;
  return detected.value_or(FileKind::Ascii3D);
}

FileKind OutputKindOf(std::string_view path, FileKind inputKind, CoordinateSystemKind outputSystem) {
  if (FileKindFromExtension(path) == FileKind::Dxf) return FileKind::Dxf;
  // A 2D list stays 2D, except in cartesian coordinates, which are 3D only.
  return inputKind == FileKind::Ascii2D && outputSystem != K::Cartesian ? FileKind::Ascii2D
                                                                        : FileKind::Ascii3D;
}

ConversionJob BuildConversionJob(const ConvertOptions& options, std::optional<FileKind> detectedInputKind) {
  const SideOptions inputOptions{"--from",          options.fromFrameNamed, options.from,
                                 options.fromKind,  options.fromEllipsoid,
                                 options.fromCm,    options.fromCmDms,
                                 options.fromHemisphere, options.fromFalseEasting,
                                 options.fromFalseNorthing, options.fromHeights,
                                 options.fromMeanHeight, options.fromUndulation};
  const SideOptions outputOptions{"--to",          options.toFrameNamed, options.to,
                                  options.toKind,  options.toEllipsoid,
                                  options.toCm,    options.toCmDms,
                                  options.toHemisphere, options.toFalseEasting,
                                  options.toFalseNorthing, options.toHeights,
                                  options.toMeanHeight, options.toUndulation};

  SideChoice input;
  SideChoice output;
  input.system = ChooseSystem(inputOptions, kDefaultInputSystem);
  output.system = ChooseSystem(outputOptions, kDefaultOutputSystem);

  // File kinds: as chosen, else from the input's content and name and the
  // output's name. A list stays a list.
  input.kind = options.fromKind ? ParseKindOption(options.fromKind, "--from-kind")
                                : InputKindOf(options.inputPath, detectedInputKind);
  output.kind = options.toKind ? ParseKindOption(options.toKind, "--to-kind")
                               : OutputKindOf(options.outputPath, input.kind, output.system);
  if (input.kind != FileKind::Dxf && output.kind == FileKind::Dxf) {
    if (options.toKind) throw UsageError("--to-kind: uma lista ASCII não pode ser convertida em desenho DXF");
    throw UsageError("a saída " + Quoted(options.outputPath) +
                     " tem a extensão de um desenho DXF, e uma lista ASCII não pode ser convertida "
                     "em desenho (use outro nome ou --to-kind ascii3d)");
  }
  CheckSystemOffered(inputOptions, input);
  CheckSystemOffered(outputOptions, output);

  input.ellipsoid = ChooseEllipsoid(inputOptions, input.system);
  output.ellipsoid = ChooseEllipsoid(outputOptions, output.system);

  const auto oruLock = [](CoordinateSystemKind system) -> std::optional<HemisphereLock> {
    if (SystemInfo(system).hemispheresEnabled) return std::nullopt;
    return HemisphereLock{true, false,
                          "o sistema " + SystemText(system) +
                              " fixa os hemisférios em Oeste (W) e Sul (S)"};
  };

  if (IsProjected(input.system)) {
    ChooseProjection(inputOptions, input, oruLock(input.system), nullptr);
  } else {
    RefuseForNonGrid(inputOptions, input);
    KeepStartingProjection(input, kDefaultInputSystem);
  }

  if (IsProjected(output.system)) {
    std::optional<HemisphereLock> lock = oruLock(output.system);
    if (!lock && IsProjected(input.system)) {
      lock = HemisphereLock{input.west, input.northern,
                            "com a entrada em " + SystemText(input.system) +
                                ", os hemisférios da saída seguem os da entrada (" +
                                std::string(kLongitudeHemisphereItems[input.west ? 1 : 0]) +
                                ", " +
                                std::string(kLatitudeHemisphereItems[input.northern ? 0 : 1]) +
                                ")"};
    }
    const SideChoice* copyFrom = output.system == input.system ? &input : nullptr;
    ChooseProjection(outputOptions, output, lock, copyFrom);
  } else {
    RefuseForNonGrid(outputOptions, output);
    KeepStartingProjection(output, kDefaultOutputSystem);
  }

  ConversionJob job;
  job.inputPath = options.inputPath;
  job.outputPath = options.outputPath;
  job.inputKind = input.kind;
  job.outputKind = output.kind;
  // The rule that keeps the window's process button disabled: a run that
  // would give back every coordinate as it was read (a grid always moves them).
  if (!RunChangesCoordinates(Identity(input), Identity(output),
                             ChooseModel(options, input.ellipsoid.frame, output.ellipsoid.frame))) {
    throw UsageError("--to: " + std::string(kNothingToConvert) +
                     " (mude --to, --to-ellipsoid, --to-cm ou --to-hemisphere)");
  }
  ChooseParameters(options, input.ellipsoid.frame, output.ellipsoid.frame, job);
  // As the window reads it: from the seven isogonal fields, whatever the model.
  job.isIdentity = IsIdentity(job.isogonal);
  job.input = MakeJobSide(input, kDefaultInputSystem);
  job.output = MakeJobSide(output, kDefaultOutputSystem);
  job.altimetry = ChooseAltimetry(options, inputOptions, outputOptions, input.system, output.system);
  job.input.heightKind =
      job.altimetry.inputGeometric ? HeightKind::Geometric : HeightKind::Orthometric;
  job.output.heightKind =
      job.altimetry.outputGeometric ? HeightKind::Geometric : HeightKind::Orthometric;
  return job;
}

}  // namespace transref::convert
