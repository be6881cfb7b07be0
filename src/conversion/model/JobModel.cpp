#include "conversion/model/JobModel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "conversion/EditNumber.h"
#include "conversion/Messages.h"
#include "geodesy/Sexagesimal.h"
#include "support/Numbers.h"

namespace transref {
namespace {

using K = CoordinateSystemKind;

// Two meridians are the same list entry when their numbers agree this well.
constexpr double kMeridianMatchTolerance = 1e-9;

constexpr std::array<std::string_view, kCoordinateSystemCount> kSystemNames = {
    "ltm", "ltm-oru", "ltm-custom", "rtm", "gk", "gk-oru", "gk-custom", "utm", "geographic", "cartesian"};
constexpr std::array<std::string_view, kFileKindCount> kFileKindNames = {"ascii3d", "ascii2d", "dxf",
                                                                        "delimited", "kml", "geojson"};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
std::string SystemText(K kind) { return Quoted(SystemInfo(kind).label); }

// The value a parameter field shows, as processing reads it back.
double FieldValue(double value) { return ReadEditNumber(FormatParameterValue(value, '.')).value; }

IsogonalParameters FieldValues(const IsogonalParameters& p) {
  return {FieldValue(p.tx), FieldValue(p.ty), FieldValue(p.tz), FieldValue(p.rx),
          FieldValue(p.ry), FieldValue(p.rz), FieldValue(p.scale)};
}

AffineParameters FieldValues(const AffineParameters& p) {
  return {FieldValue(p.tx), FieldValue(p.ty), FieldValue(p.tz), FieldValue(p.a), FieldValue(p.b),
          FieldValue(p.c),  FieldValue(p.d),  FieldValue(p.e),  FieldValue(p.f), FieldValue(p.g),
          FieldValue(p.h),  FieldValue(p.i)};
}

// The general float-to-text form with up to 15 significant digits.
std::string EllipsoidText(double value) { return FormatC("%.15g", value); }

Outcome Refuse(std::string why) { return Outcome{std::move(why)}; }

}  // namespace

// ------------------------------------------------------------ file kinds

bool IsListKind(FileKind kind) { return IsPointList(kind); }
bool IsDrawingKind(FileKind kind) { return kind == FileKind::Dxf; }

std::vector<FileKind> FileKindsOffered(Side side, FileKind inputKind, bool pointFileKinds) {
  std::vector<FileKind> kinds;
  for (int k = 0; k < kFileKindCount; ++k) {
    const auto kind = static_cast<FileKind>(k);
    if (!pointFileKinds && !IsStrictList(kind) && !IsDrawing(kind)) continue;
    // Maps are written, never read; a list never becomes a drawing. A
    // drawing's points go to any point file or map.
    if (side == Side::In && IsMap(kind)) continue;
    if (side == Side::Out && IsListKind(inputKind) && IsDrawing(kind)) continue;
    kinds.push_back(kind);
  }
  return kinds;
}

bool FormatChanges(FileKind inputKind, FileKind outputKind, bool sexagesimalOutput) {
  return IsMap(outputKind) || sexagesimalOutput ||
         (inputKind != outputKind && (inputKind == FileKind::Delimited || outputKind == FileKind::Delimited));
}

bool IsSystemOffered(FileKind kind, K system) {
  if (IsDrawingKind(kind)) return IsProjected(system);
  if (IsMap(kind)) return system == K::Geographic;
  return !(kind == FileKind::Ascii2D && system == K::Cartesian);
}

std::vector<K> SystemsOffered(FileKind kind) {
  std::vector<K> systems;
  for (int k = 0; k < kCoordinateSystemCount; ++k) {
    if (IsSystemOffered(kind, static_cast<K>(k))) systems.push_back(static_cast<K>(k));
  }
  return systems;
}

std::string FileKindLabel(FileKind kind, std::optional<SystemFamily> family, bool geometric) {
  if (!IsStrictList(kind)) return std::string(FixedFileKindLabel(kind));
  const bool threeD = kind == FileKind::Ascii3D;
  const std::string height = geometric ? "h" : "H";
  std::string names = threeD ? "X, Y, Z" : "X, Y";
  if (family == SystemFamily::Projected) names = threeD ? "E, N, " + height : "E, N";
  if (family == SystemFamily::Geographic) names = threeD ? "Long, Lat, " + height : "Long, Lat";
  return std::string("ASCII - Coordenadas ") + (threeD ? "3D" : "2D") + "(ID; " + names + ")";
}

CoordinateSystemKind StartingSystem(Side side) { return side == Side::In ? K::GaussKrugerOru : K::LtmOru; }

std::optional<K> SystemFromName(std::string_view name) {
  if (const std::optional<K> kind = SystemKindFromLabel(name)) return kind;
  const auto at = std::find(kSystemNames.begin(), kSystemNames.end(), Lower(name));
  if (at == kSystemNames.end()) return std::nullopt;
  return static_cast<K>(at - kSystemNames.begin());
}

std::string SystemNames() {
  std::string names;
  for (std::string_view name : kSystemNames) names += (names.empty() ? "" : ", ") + std::string(name);
  return names;
}

std::optional<FileKind> FileKindFromName(std::string_view name) {
  if (Lower(name) == "csv") return FileKind::Delimited;
  const auto at = std::find(kFileKindNames.begin(), kFileKindNames.end(), Lower(name));
  if (at == kFileKindNames.end()) return std::nullopt;
  return static_cast<FileKind>(at - kFileKindNames.begin());
}

std::string_view FileKindName(FileKind kind) { return kFileKindNames.at(static_cast<std::size_t>(kind)); }

namespace {

// The frame's short name ("GRS80", "Hayford 1924", "SAD 69"), or the values
// of a custom ellipsoid.
std::string EllipsoidName(const JobSide& side) {
  if (side.frame != ReferenceFrame::Custom) return std::string(FrameInfo(side.frame).shortName);
  return "a = " + EllipsoidText(side.semiMajorAxis) + ", 1/f = " + EllipsoidText(side.inverseFlattening);
}

// ", MC 51.5° W" (and ", hemisfério S" for UTM) for a grid whose zone is chosen.
std::string ZoneText(const JobSide& side) {
  if (!IsProjected(side.system) || !SystemInfo(side.system).hemispheresEnabled) return "";
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(side.centralMeridian)).ptr;
  std::string text = ", MC " + std::string(digits, end) + "° " + (side.centralMeridian < 0 ? "W" : "E");
  if (side.system == K::Utm) text += side.northern ? ", hemisfério N" : ", hemisfério S";
  return text;
}

}  // namespace

bool NamesItsLegs(ReferenceFrame input, ReferenceFrame output) {
  const auto original = [](ReferenceFrame f) {
    return f == ReferenceFrame::Grs80 || f == ReferenceFrame::Hayford || f == ReferenceFrame::Custom;
  };
  return !(original(input) && original(output));
}

std::string AppliedText(const ConversionJob& job) {
  if (job.model == TransformationModel::Grid) {
    const PreparedGrid grid = PrepareGrid(job, false);
    return ": " + (grid.description.empty() ? std::filesystem::path(job.grid.path).filename().string()
                                            : grid.description);
  }
  if (job.model == TransformationModel::Affine || job.input.frame == job.output.frame) return "";
  if (!NamesItsLegs(job.input.frame, job.output.frame)) return "";
  const ParameterDecision decision = LookupTransformationParameters(job.model, job.input.frame, job.output.frame);
  if (decision.legs.empty()) return ": parâmetros informados";
  return ": " + LegsText(decision.legs, job.model, '.');
}

std::string JobSummary(const ConversionJob& job) {
  std::string model(TransformationModelLabel(job.model));
  while (!model.empty() && model.back() == ' ') model.pop_back();
  return "De: " + job.input.systemLabel + ZoneText(job.input) + ", " + EllipsoidName(job.input) +
         " — Para: " + job.output.systemLabel + ZoneText(job.output) + ", " + EllipsoidName(job.output) +
         " — " + model + AppliedText(job);
}

void CopyImportedHeights(AltimetrySettings& s) {
  if (!s.importHeights) return;
  s.outputGeometric = s.inputGeometric;
  s.outputUseMeanHeight = s.inputUseMeanHeight;
  s.outputMeanHeight = s.inputMeanHeight;
  s.outputMeanUndulation = s.inputMeanUndulation;
  s.outputUndulation = s.inputUndulation;
}

std::string SideFields::MeridianEntry() const {
  if (meridianIndex < 0 || meridianIndex >= static_cast<int>(meridianEntries.size())) return "";
  return meridianEntries[static_cast<std::size_t>(meridianIndex)];
}

// ------------------------------------------------------------ the model

JobModel::JobModel() {
  // As the window is created: the input kind DXF (which builds both lists
  // and applies both starting systems), both ellipsoids written, the lookup.
  ChooseFileKind(Side::In, FileKind::Dxf);
  WriteEllipsoidTexts(Side::In);
  WriteEllipsoidTexts(Side::Out);
  LookupParameters();
}

std::string_view JobModel::Placeholder(Side side) {
  return side == Side::In ? "Insira um valor" : "Outsira um valor";
}

std::string JobModel::SystemLabel(Side side) const {
  const std::optional<K> system = Fields(side).system;
  return system ? std::string(SystemInfo(*system).label) : std::string();
}

std::vector<std::string> JobModel::FileKindLabels(Side side) const {
  const SideFields& f = Fields(side);
  std::optional<SystemFamily> family;
  if (f.system) family = FamilyOf(*f.system);
  std::vector<std::string> labels;
  for (FileKind kind : KindsOffered(side)) labels.push_back(FileKindLabel(kind, family, f.geometric));
  return labels;
}

std::vector<FileKind> JobModel::KindsOffered(Side side) const {
  return FileKindsOffered(side, Fields(Side::In).fileKind, pointFileKinds_);
}

SideLocks JobModel::Locks(Side side) const {
  const SideFields& f = Fields(side);
  SideLocks locks;
  locks.ellipsoidEditsEnabled = f.frame == ReferenceFrame::Custom;
  if (!f.system) return locks;
  const CoordinateSystemInfo& info = SystemInfo(*f.system);
  locks.detailsShown = info.family == SystemFamily::Projected;
  locks.heightsEnabled = *f.system != K::Cartesian;
  locks.meridianListEnabled = info.meridianListEnabled;
  locks.usesCustomPanel = info.usesCustomPanel;
  locks.falseOriginEditable = info.falseOriginEditable;
  locks.falseOriginGrey = info.falseOriginGrey;
  if (info.lockedFrame) {
    locks.ellipsoidLocked = true;
    locks.ellipsoidReason = "o sistema " + SystemText(*f.system) + " usa sempre o elipsóide " +
                            Quoted(FrameInfo(*info.lockedFrame).label);
  }
  locks.hemispheresEnabled = info.hemispheresEnabled;
  if (!info.hemispheresEnabled) {
    locks.hemispheresReason = "o sistema " + SystemText(*f.system) + " fixa os hemisférios em Oeste (W) e Sul (S)";
  } else if (side == Side::Out && locks.detailsShown) {
    const SideFields& in = Fields(Side::In);
    if (in.system && IsProjected(*in.system)) {
      // A grid output follows a grid input's hemispheres.
      locks.hemispheresEnabled = false;
      locks.hemispheresReason = "com a entrada em " + SystemText(*in.system) +
                                ", os hemisférios da saída seguem os da entrada (" +
                                std::string(kLongitudeHemisphereItems[in.west ? 1 : 0]) + ", " +
                                std::string(kLatitudeHemisphereItems[in.northern ? 0 : 1]) + ")";
    }
  }
  return locks;
}

Outcome JobModel::GridOnly(Side side) const {
  const std::optional<K> system = Fields(side).system;
  if (system && IsProjected(*system)) return {};
  return Refuse("não se aplica ao sistema " + (system ? SystemText(*system) : std::string("\"\"")));
}

// ---- file kinds and systems

Outcome JobModel::ChooseFileKind(Side side, FileKind kind) {
  const FileKind inputKind = side == Side::In ? kind : Fields(Side::In).fileKind;
  const std::vector<FileKind> offered = FileKindsOffered(side, inputKind, true);
  if (std::find(offered.begin(), offered.end(), kind) == offered.end()) {
    if (IsMap(kind)) return Refuse("KML e GeoJSON só existem como saída");
    return Refuse("uma lista ASCII não pode ser convertida em desenho DXF");
  }
  if (lastFileKind_[Index(side)] == kind) return {};
  lastFileKind_[Index(side)] = kind;
  SideFields& f = At(side);
  f.fileKind = kind;
  // A map holds longitude and latitude: it starts there.
  f.system = IsMap(kind) ? K::Geographic : StartingSystem(side);
  if (side == Side::Out) {
    ApplyOutputSystem();
    LookupParameters();
    return {};
  }
  // A layout belongs to the delimited file it was chosen for.
  delimited_ = {};
  // The output kind goes to the same position in its rebuilt list.
  At(Side::Out).fileKind = kind;
  ApplySystem(Side::In);
  ApplyOutputSystem();
  LookupParameters();
  LookupParameters();
  ChooseFileKind(Side::Out, kind);
  return {};
}

Outcome JobModel::ChooseSystem(Side side, K system) {
  if (!IsSystemOffered(Fields(side).fileKind, system)) {
    return Refuse("o sistema " + SystemText(system) + " não é oferecido para arquivos do tipo " +
                  std::string(FileKindName(Fields(side).fileKind)));
  }
  At(side).system = system;
  if (side == Side::In) {
    ApplySystem(Side::In);
    // The output side is brought up to date after the input side.
    ApplyOutputSystem();
    LookupParameters();
  } else {
    ApplyOutputSystem();
  }
  LookupParameters();
  return {};
}

void JobModel::ApplySystem(Side side) {
  SideFields& f = At(side);
  if (!f.system) return;
  const K kind = *f.system;
  const CoordinateSystemInfo& info = SystemInfo(kind);
  if (info.family == SystemFamily::Projected) {
    f.scaleFactor = info.scaleFactor;
    f.west = true;
    f.northern = false;
    if (side == Side::In && kind == K::LtmOru) {
      At(Side::Out).west = true;
      At(Side::Out).northern = false;
    }
    f.zoneWidth = info.zoneWidth;
    f.meridianEntries = CentralMeridianEntries(kind);
    const auto at = std::find(f.meridianEntries.begin(), f.meridianEntries.end(), info.defaultMeridianEntry);
    f.meridianIndex = at == f.meridianEntries.end() ? -1 : static_cast<int>(at - f.meridianEntries.begin());
    const std::string entry = f.MeridianEntry();
    f.meridianPanelText = CentralMeridianDisplayText(entry);
    if (info.usesCustomPanel) {
      // The customised systems carry their meridian as one "%0.10lf°" entry.
      f.meridianEntries = {MeridianListEntry(ParseCentralMeridianEntry(entry))};
      f.meridianIndex = 0;
    }
    f.falseEastingText = info.falseEasting;
    f.falseNorthingText = DefaultFalseNorthing(kind, f.northern);
  }
  // Geographic and cartesian sides keep every hidden value (scale factor too).
  if (kind == K::Cartesian) ClearCartesianHeights(side);
  ApplyEllipsoidLock(side);
}

void JobModel::ApplyOutputSystem() {
  const SideFields& in = Fields(Side::In);
  if (in.system == Fields(Side::Out).system) {
    CopyInputToOutput();
    return;
  }
  ApplySystem(Side::Out);
  ApplyOutputHemisphereRule();
}

void JobModel::CopyInputToOutput() {
  const SideFields& in = Fields(Side::In);
  SideFields& out = At(Side::Out);
  out.scaleFactor = in.scaleFactor;
  out.west = in.west;
  out.northern = in.northern;
  out.zoneWidth = in.zoneWidth;
  out.meridianEntries = in.meridianEntries;
  out.meridianIndex = in.meridianIndex;
  out.meridianPanelText = in.meridianPanelText;
  out.falseEastingText = in.falseEastingText;
  out.falseNorthingText = in.falseNorthingText;
  if (out.system == K::Cartesian) ClearCartesianHeights(Side::Out);
  ApplyEllipsoidLock(Side::Out);
}

void JobModel::ApplyOutputHemisphereRule() {
  SideFields& out = At(Side::Out);
  if (!out.system || !IsProjected(*out.system)) return;
  const SideFields& in = Fields(Side::In);
  const bool follow = SystemInfo(*out.system).hemispheresEnabled && in.system && IsProjected(*in.system);
  out.west = follow ? in.west : true;
  out.northern = follow ? in.northern : false;
  RefreshUtmFalseNorthing(Side::Out);
}

void JobModel::RefreshUtmFalseNorthing(Side side) {
  // UTM's false northing belongs to the latitude hemisphere.
  SideFields& f = At(side);
  if (f.system == K::Utm) f.falseNorthingText = DefaultFalseNorthing(K::Utm, f.northern);
}

void JobModel::ClearCartesianHeights(Side side) {
  // Cartesian coordinates carry no heights: the side's height options go,
  // and so does the import of the input heights.
  At(side).geometric = false;
  AltimetrySettings& s = altimetry_;
  const bool in = side == Side::In;
  (in ? s.inputGeometric : s.outputGeometric) = false;
  (in ? s.inputUseMeanHeight : s.outputUseMeanHeight) = false;
  (in ? s.inputMeanUndulation : s.outputMeanUndulation) = false;
  s.importHeights = false;
}

// ---- ellipsoids

void JobModel::ApplyEllipsoidLock(Side side) {
  SideFields& f = At(side);
  const std::optional<ReferenceFrame> locked = f.system ? SystemInfo(*f.system).lockedFrame : std::nullopt;
  if (!locked || f.frame == *locked) return;
  f.frame = *locked;
  // Only the texts: the caller looks the parameters up afterwards.
  WriteEllipsoidTexts(side);
}

void JobModel::WriteEllipsoidTexts(Side side) {
  SideFields& f = At(side);
  if (f.frame == ReferenceFrame::Custom) {
    f.semiMajorAxisText = f.customSemiMajorAxisText.empty() ? std::string(Placeholder(side)) : f.customSemiMajorAxisText;
    f.inverseFlatteningText =
        f.customInverseFlatteningText.empty() ? std::string(Placeholder(side)) : f.customInverseFlatteningText;
    return;
  }
  const ReferenceFrameInfo& info = FrameInfo(f.frame);
  f.semiMajorAxisText = EllipsoidText(info.semiMajorAxis);
  f.inverseFlatteningText = EllipsoidText(info.inverseFlattening);
}

Outcome JobModel::ChooseEllipsoid(Side side, ReferenceFrame frame) {
  const SideLocks locks = Locks(side);
  if (locks.ellipsoidLocked && frame != Fields(side).frame) return Refuse(locks.ellipsoidReason);
  At(side).frame = frame;
  WriteEllipsoidTexts(side);
  LookupParameters();
  return {};
}

Outcome JobModel::TypeSemiMajorAxis(Side side, std::string text) {
  SideFields& f = At(side);
  if (f.frame != ReferenceFrame::Custom) return Refuse("o elipsóide " + Quoted(FrameInfo(f.frame).label) + " é fixo");
  f.semiMajorAxisText = f.customSemiMajorAxisText = std::move(text);
  return {};
}

Outcome JobModel::TypeInverseFlattening(Side side, std::string text) {
  SideFields& f = At(side);
  if (f.frame != ReferenceFrame::Custom) return Refuse("o elipsóide " + Quoted(FrameInfo(f.frame).label) + " é fixo");
  f.inverseFlatteningText = f.customInverseFlatteningText = std::move(text);
  return {};
}

// ---- hemispheres, meridian, false origin

Outcome JobModel::ChooseLatitudeHemisphere(Side side, bool northern) {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  const SideLocks locks = Locks(side);
  if (!locks.hemispheresEnabled && northern != Fields(side).northern) return Refuse(locks.hemispheresReason);
  At(side).northern = northern;
  RefreshUtmFalseNorthing(side);
  if (side == Side::In) {
    ApplyOutputSystem();
    LookupParameters();
  }
  return {};
}

Outcome JobModel::ChooseLongitudeHemisphere(Side side, bool west) {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  const SideLocks locks = Locks(side);
  if (!locks.hemispheresEnabled && west != Fields(side).west) return Refuse(locks.hemispheresReason);
  At(side).west = west;
  if (side == Side::In) {
    ApplyOutputSystem();
    LookupParameters();
  }
  return {};
}

Outcome JobModel::ChooseCentralMeridian(Side side, double degrees) {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  SideFields& f = At(side);
  const K kind = *f.system;
  if (SystemInfo(kind).usesCustomPanel) {
    if (!(std::fabs(degrees) <= kPackedSexagesimalLimit)) return Refuse("fora do intervalo -360 a 360");
    f.meridianEntries = {MeridianListEntry(std::fabs(degrees))};
    f.meridianIndex = 0;
    f.meridianPanelText = CustomPanelText(FromDecimalDegrees(Angle(std::fabs(degrees))));
    return {};
  }
  const std::vector<std::string> entries = CentralMeridianEntries(kind);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (std::fabs(ParseCentralMeridianEntry(entries[k]) - std::fabs(degrees)) <= kMeridianMatchTolerance) {
      return ChooseCentralMeridianEntry(side, static_cast<int>(k));
    }
  }
  std::string offered = entries.front();
  if (entries.size() > 1) offered += " a " + entries.back();
  return Refuse("não é um meridiano central da lista de " + SystemText(kind) + " (" + offered +
                ", negativo a oeste)");
}

Outcome JobModel::ChooseCentralMeridianEntry(Side side, int index) {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  SideFields& f = At(side);
  if (index < 0 || index >= static_cast<int>(f.meridianEntries.size())) return Refuse("item inexistente");
  if (!Locks(side).meridianListEnabled && index != f.meridianIndex) {
    return Refuse("o meridiano central de " + SystemText(*f.system) + " é fixo");
  }
  f.meridianIndex = index;
  return {};
}

Outcome JobModel::TypeCentralMeridian(Side side, std::string_view text, char decimalSeparator) {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  if (!Locks(side).usesCustomPanel) {
    return Refuse("só se aplica aos sistemas customizados (" + SystemText(K::LtmCustom) + ", " +
                  SystemText(K::GaussKrugerCustom) + ")");
  }
  std::optional<CustomMeridianTexts> texts;
  try {
    texts = CustomCentralMeridianFromEntry(text, decimalSeparator);
  } catch (const std::exception& error) {
    return Refuse(error.what());
  }
  if (!texts) return Refuse(std::string(kCentralMeridianError));
  // The panel and the list hold the magnitude; the longitude hemisphere
  // signs the meridian when the job is built, so it is counted once.
  SideFields& f = At(side);
  f.meridianPanelText = texts->panelText;
  if (f.meridianEntries.empty()) f.meridianEntries.emplace_back();
  f.meridianEntries[0] = texts->listEntry;
  f.meridianIndex = 0;
  // A negative value names the western hemisphere where it is free.
  if (texts->west && Locks(side).hemispheresEnabled && !f.west) ChooseLongitudeHemisphere(side, true);
  return {};
}

Outcome JobModel::FalseOriginAllowed(Side side) const {
  if (Outcome grid = GridOnly(side); grid.Refused()) return grid;
  if (Locks(side).falseOriginEditable) return {};
  return Refuse("a falsa origem de " + SystemText(*Fields(side).system) +
                " é fixa; só os sistemas customizados aceitam outra");
}

Outcome JobModel::TypeFalseEasting(Side side, std::string text) {
  if (Outcome refused = FalseOriginAllowed(side); refused.Refused()) return refused;
  At(side).falseEastingText = std::move(text);
  return {};
}

Outcome JobModel::TypeFalseNorthing(Side side, std::string text) {
  if (Outcome refused = FalseOriginAllowed(side); refused.Refused()) return refused;
  At(side).falseNorthingText = std::move(text);
  return {};
}

// ---- heights

Outcome JobModel::ChooseHeightKind(Side side, bool geometric) {
  if (!Locks(side).heightsEnabled) return Refuse("a altimetria não se aplica ao sistema " + SystemText(K::Cartesian));
  At(side).geometric = geometric;
  (side == Side::In ? altimetry_.inputGeometric : altimetry_.outputGeometric) = geometric;
  return {};
}

Outcome JobModel::HeightOptionsAllowed(Side side) const {
  if (!Locks(side).heightsEnabled) return Refuse("a altimetria não se aplica ao sistema " + SystemText(K::Cartesian));
  if (side == Side::Out && altimetry_.importHeights) {
    return Refuse("importando as altitudes, a saída segue as escolhas da entrada");
  }
  return {};
}

Outcome JobModel::ChooseMeanHeight(Side side, std::optional<double> metres) {
  if (Outcome refused = HeightOptionsAllowed(side); refused.Refused()) return refused;
  const bool in = side == Side::In;
  (in ? altimetry_.inputUseMeanHeight : altimetry_.outputUseMeanHeight) = metres.has_value();
  (in ? altimetry_.inputMeanHeight : altimetry_.outputMeanHeight) = metres.value_or(0.0);
  return {};
}

Outcome JobModel::ChooseMeanUndulation(Side side, std::optional<double> metres) {
  if (Outcome refused = HeightOptionsAllowed(side); refused.Refused()) return refused;
  const bool in = side == Side::In;
  if (metres && !(in ? altimetry_.inputGeometric : altimetry_.outputGeometric)) {
    return Refuse("a ondulação média só se aplica a altitudes geométricas");
  }
  (in ? altimetry_.inputMeanUndulation : altimetry_.outputMeanUndulation) = metres.has_value();
  (in ? altimetry_.inputUndulation : altimetry_.outputUndulation) = metres.value_or(0.0);
  return {};
}

Outcome JobModel::ChooseImportHeights(bool import) {
  if (import && (!Locks(Side::In).heightsEnabled || !Locks(Side::Out).heightsEnabled)) {
    return Refuse("a altimetria não se aplica ao sistema " + SystemText(K::Cartesian));
  }
  altimetry_.importHeights = import;
  return {};
}

void JobModel::CloseAltimetryDialog() { CopyImportedHeights(altimetry_); }

// ---- transformation parameters

bool JobModel::LookupParameters() {
  const ReferenceFrame in = Fields(Side::In).frame, out = Fields(Side::Out).frame;
  if (lookedUpFrames_ != std::pair{in, out}) {
    // A new pair of frames: one that a shipped grid joins loads the grid
    // model with that grid, as the Carta Geral's pair loads its parameters;
    // another pair shows the user's own grid file, and leaves the grid model
    // when it came with the former pair.
    lookedUpFrames_ = std::pair{in, out};
    const bool shipped = ShippedGridFor(in, out).has_value();
    gridPath_ = shipped ? ShippedGridPath(in, out) : userGridPath_;
    if (shipped) {
      selectedModel_ = appliedModel_ = TransformationModel::Grid;
      gridCameWithFrames_ = true;
    } else if (appliedModel_ == TransformationModel::Grid && gridCameWithFrames_) {
      selectedModel_ = appliedModel_ = TransformationModel::Isogonal;
      gridCameWithFrames_ = false;
    }
  }
  const ParameterDecision decision = LookupTransformationParameters(selectedModel_, in, out);
  ParameterFields& p = parameters_;
  p.panel = decision.panel;
  p.legs = decision.legs;
  p.shippedGridFile = decision.shippedGridFile;
  if (decision.panel == ParameterPanel::Grid) return true;
  bool asked = true;
  if (decision.panel == ParameterPanel::Isogonal) {
    ++p.isogonalWrites;
    p.isogonal = FieldValues(decision.isogonal);
    p.isogonalEnabled = decision.isogonalEnabled;
    if (!decision.askForCustom) return true;
    asked = dialogue_ != nullptr && dialogue_->AskCustomParameters();
    p.isogonalEnabled = asked;
  } else {
    ++p.affineWrites;
    if (!decision.askForCustom) {
      p.affine = FieldValues(decision.affine);
      p.affineEnabled = decision.affineEnabled;
      return true;
    }
    asked = dialogue_ != nullptr && dialogue_->AskCustomParameters();
    p.affine = FieldValues(asked ? decision.affineOnYes : decision.affine);
    p.affineEnabled = asked;
  }
  if (asked) return true;
  // Refused: the fields are locked and the model goes back to the one
  // applied before; when that is the refused model itself (a frame changed
  // under it), the affine model goes to the seven parameters and the seven
  // parameters to the grid, whose file field starts empty where no grid
  // ships. So a run never goes on with values nobody typed.
  TransformationModel previous = appliedModel_;
  if (previous == selectedModel_) {
    previous = decision.panel == ParameterPanel::Affine ? TransformationModel::Isogonal : TransformationModel::Grid;
  }
  selectedModel_ = appliedModel_ = previous;
  LookupParameters();
  return false;
}

Outcome JobModel::ChooseModel(TransformationModel model) {
  gridCameWithFrames_ = false;  // the user's own choice from now on
  selectedModel_ = model;
  if (model == appliedModel_) return {};
  if (!LookupParameters()) return Refuse(std::string(kNoParametersMessage));
  appliedModel_ = model;
  return {};
}

Outcome JobModel::TypeIsogonalParameters(const IsogonalParameters& parameters) {
  if (parameters_.panel != ParameterPanel::Isogonal) {
    return Refuse("o modelo de 12 parâmetros usa os parâmetros afins");
  }
  if (!parameters_.isogonalEnabled) {
    return Refuse(Fields(Side::In).frame == Fields(Side::Out).frame
                      ? "os dois lados usam o mesmo referencial; não há parâmetros a informar"
                      : "para este par de referenciais valem os parâmetros internos do programa (só com "
                        "um elipsóide customizado se informam parâmetros)");
  }
  parameters_.isogonal = parameters;
  return {};
}

Outcome JobModel::TypeAffineParameters(const AffineParameters& parameters) {
  if (parameters_.panel != ParameterPanel::Affine) return Refuse("só se aplica ao modelo de 12 parâmetros");
  if (!parameters_.affineEnabled) {
    return Refuse("os dois lados usam o mesmo referencial; não há parâmetros a informar");
  }
  parameters_.affine = parameters;
  return {};
}

void JobModel::ChooseGridFile(std::string path) {
  userGridPath_ = std::move(path);
  gridPath_ = userGridPath_.empty() ? ShippedGridPath(Fields(Side::In).frame, Fields(Side::Out).frame) : userGridPath_;
}

std::string JobModel::GridText() const {
  if (gridPath_.empty()) return std::string(kNoGridChosen);
  ConversionJob job;
  job.model = TransformationModel::Grid;
  job.grid.path = gridPath_;
  for (Side side : {Side::In, Side::Out}) {
    const SideFields& f = Fields(side);
    JobSide& js = side == Side::In ? job.input : job.output;
    js.frame = f.frame;
    js.semiMajorAxis = ReadEditNumber(f.semiMajorAxisText).value;
    js.inverseFlattening = ReadEditNumber(f.inverseFlatteningText).value;
  }
  const PreparedGrid grid = PrepareGrid(job, false);  // the header alone: no PROJ per redraw
  return grid.description.empty() ? grid.problem : grid.description;
}

void JobModel::ChooseFiles(std::string inputPath, std::string outputPath) {
  inputPath_ = std::move(inputPath);
  outputPath_ = std::move(outputPath);
}

void JobModel::SetFieldTexts(Side side, bool west, bool northern, int meridianIndex,
                             std::vector<std::string> meridianEntries, std::string falseEasting,
                             std::string falseNorthing, std::string semiMajorAxis, std::string inverseFlattening) {
  SideFields& f = At(side);
  f.west = west;
  f.northern = northern;
  f.meridianEntries = std::move(meridianEntries);
  f.meridianIndex = meridianIndex;
  f.falseEastingText = std::move(falseEasting);
  f.falseNorthingText = std::move(falseNorthing);
  f.semiMajorAxisText = std::move(semiMajorAxis);
  f.inverseFlatteningText = std::move(inverseFlattening);
}

void JobModel::SetParameterValues(const IsogonalParameters& isogonal, const AffineParameters& affine) {
  parameters_.isogonal = isogonal;
  parameters_.affine = affine;
}

// ---- the job

bool JobModel::SidesDiffer() const {
  SideIdentity identities[2];
  for (Side side : {Side::In, Side::Out}) {
    const SideFields& f = Fields(side);
    SideIdentity& identity = identities[Index(side)];
    identity.system = f.system.value_or(K::Ltm);
    identity.frame = f.frame;
    identity.semiMajorAxisText = f.semiMajorAxisText;
    identity.inverseFlatteningText = f.inverseFlatteningText;
    try {
      identity.centralMeridian = ParseCentralMeridianEntry(f.MeridianEntry());
    } catch (const std::exception&) {
      return true;  // the run itself says what is wrong with the entry
    }
    if (f.west) identity.centralMeridian = -identity.centralMeridian;
    identity.northern = f.northern;
    identity.falseEasting = ReadEditNumber(f.falseEastingText).value;
    identity.falseNorthing = ReadEditNumber(f.falseNorthingText).value;
  }
  return RunChangesCoordinates(identities[0], identities[1], appliedModel_);
}

bool JobModel::IsRunnable(bool inputFileChosen, bool outputFileChosen) const {
  if (appliedModel_ == TransformationModel::Grid && gridPath_.empty()) return false;  // kNoGridChosen
  return inputFileChosen && outputFileChosen &&
         (SidesDiffer() || FormatChanges(Fields(Side::In).fileKind, Fields(Side::Out).fileKind, false));
}

JobModel::Built JobModel::BuildJob() const {
  Built built;
  ConversionJob job;
  job.inputPath = inputPath_;
  job.outputPath = outputPath_;
  job.inputKind = Fields(Side::In).fileKind;
  job.outputKind = Fields(Side::Out).fileKind;
  job.model = appliedModel_;
  job.isogonal = parameters_.isogonal;
  job.affine = parameters_.affine;
  job.isIdentity = IsIdentity(job.isogonal);
  job.altimetry = altimetry_;
  job.delimited = delimited_;
  if (appliedModel_ == TransformationModel::Grid) job.grid.path = gridPath_;
  for (Side side : {Side::In, Side::Out}) {
    const SideFields& f = Fields(side);
    JobSide& js = side == Side::In ? job.input : job.output;
    js.system = f.system.value_or(K::Ltm);
    js.systemLabel = SystemLabel(side);
    js.frame = f.frame;
    js.semiMajorAxis = ReadEditNumber(f.semiMajorAxisText).value;
    js.inverseFlattening = ReadEditNumber(f.inverseFlatteningText).value;
    if (!IsValidEllipsoid(js.semiMajorAxis, js.inverseFlattening)) {
      built.message = kEllipsoidReadError;
      return built;
    }
    try {
      js.centralMeridian = ParseCentralMeridianEntry(f.MeridianEntry());
    } catch (const std::exception& error) {
      built.message = error.what();
      built.readerError = true;
      return built;
    }
    if (f.west) js.centralMeridian = -js.centralMeridian;
    js.northern = f.northern;
    js.falseEasting = ReadEditNumber(f.falseEastingText).value;
    js.falseNorthing = ReadEditNumber(f.falseNorthingText).value;
    js.scaleFactor = f.scaleFactor;
    const bool geometric = side == Side::In ? altimetry_.inputGeometric : altimetry_.outputGeometric;
    js.heightKind = geometric ? HeightKind::Geometric : HeightKind::Orthometric;
  }
  built.job = std::move(job);
  return built;
}

}  // namespace transref
