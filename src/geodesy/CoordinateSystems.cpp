#include "geodesy/CoordinateSystems.h"

#include <cstdio>

#include "support/Numbers.h"

namespace transref {

namespace {

constexpr std::array<std::string_view, kTransformationModelCount> kModelLabels = {
    "7 Parâmetros - Transformação Isogonal ",
    "3 Parâmetros - Translação",
    "12 Parâmetros - Transformação Afim",
    "Grade NTv2",
};

// SAD 69 defines its ellipsoid (UGGI 1967) with 1/f = 298.25 exactly.
constexpr std::array<ReferenceFrameInfo, kReferenceFrameCount> kFrames = {{
    {ReferenceFrame::Grs80, "GRS80 (WGS84; SIRGAS)", 6378137.0, 298.257222101, "GRS80",
     {"sirgas2000", "grs80"}, {"SIRGAS00", "SIRGAS2000", "SIRGAS"}},
    {ReferenceFrame::Hayford, "Hayford 1924 (Comissão da Carta Geral)", 6378388.0, 297.0,
     "Hayford 1924", {"carta-geral", "hayford"}, {}},
    {ReferenceFrame::Sad69, "SAD 69 (UGGI 1967)", 6378160.0, 298.25, "SAD 69", {"sad69"},
     {"SAD69"}},
    {ReferenceFrame::Sad69_96, "SAD 69/96 (UGGI 1967)", 6378160.0, 298.25, "SAD 69/96",
     {"sad69-96"}, {"SAD6996", "SAD96"}},
    {ReferenceFrame::CorregoAlegre7072, "Córrego Alegre 1970+1972 (Hayford 1924)", 6378388.0,
     297.0, "Córrego Alegre 1970+1972", {"corrego-alegre"}, {"CA7072"}},
    {ReferenceFrame::CorregoAlegre61, "Córrego Alegre 1961 (Hayford 1924)", 6378388.0, 297.0,
     "Córrego Alegre 1961", {"corrego-alegre-61"}, {"CA61"}},
    {ReferenceFrame::Custom, "Customizado", 0.0, 0.0, "", {}, {}},
}};

// Upper case without blanks, '-' and '_' ("sad69_96" and "SAD 69-96" alike).
std::string Folded(std::string_view text, bool keepPunctuation) {
  std::string folded;
  for (char c : text) {
    if (!keepPunctuation && (c == ' ' || c == '-' || c == '_')) continue;
    folded += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return folded;
}

constexpr double kLtmScale = 0.999995;
constexpr double kGaussKrugerScale = 1.0;
constexpr double kUtmScale = 0.9996;

constexpr MeridianListRule kLtmMeridians{180, 0.5, 1.0, true};       // 0.5° ... 179.5°
constexpr MeridianListRule kRtmMeridians{90, 1.0, 2.0, false};       // 1° ... 179°
constexpr MeridianListRule kGaussMeridians{60, 1.5, 3.0, true};      // 1.5° ... 178.5°
constexpr MeridianListRule kUtmMeridians{30, 3.0, 6.0, false};       // 3° ... 177°
constexpr MeridianListRule kSingleMeridian{1, 51.0, 0.0, false};     // 51°
constexpr MeridianListRule kNoMeridians{0, 0.0, 0.0, false};

using K = CoordinateSystemKind;
using F = SystemFamily;
constexpr std::optional<ReferenceFrame> kFree = std::nullopt;

// label, family, k0, FE, FN south, FN north, FE/FN editable, grey,
// hemispheres enabled, zone width, meridian list, default entry,
// list enabled, custom panel, locked ellipsoid
const std::array<CoordinateSystemInfo, kCoordinateSystemCount> kSystems = {{
    {K::Ltm, "LTM", F::Projected, kLtmScale, "200000", "5000000", "5000000", false, true,
     true, "1°", kLtmMeridians, "51.5°", true, false, kFree},
    {K::LtmOru, "LTM (Oru)", F::Projected, kLtmScale, "300000", "5000000", "5000000", false,
     true, false, "3°", kSingleMeridian, "51°", false, false, ReferenceFrame::Grs80},
    {K::LtmCustom, "LTM (Customizado)", F::Projected, kLtmScale, "200000", "5000000",
     "5000000", true, false, true, "", kSingleMeridian, "51°", true, true, kFree},
    {K::Rtm, "RTM", F::Projected, kLtmScale, "400000", "5000000", "5000000", false, true,
     true, "2°", kRtmMeridians, "51°", true, false, kFree},
    {K::GaussKruger, "Gauß-Krüger", F::Projected, kGaussKrugerScale, "200000", "5000000",
     "5000000", false, true, true, "3°", kGaussMeridians, "49.5°", true, false, kFree},
    {K::GaussKrugerOru, "Gauß-Krüger (Oru)", F::Projected, kGaussKrugerScale, "200000",
     "5000000", "5000000", false, true, false, "3°", kSingleMeridian, "51°", false, false,
     ReferenceFrame::Hayford},
    {K::GaussKrugerCustom, "Gauß-Krüger (Customizado)", F::Projected, kGaussKrugerScale,
     "200000", "5000000", "5000000", true, false, true, "", kSingleMeridian, "51°", true,
     true, kFree},
    {K::Utm, "UTM", F::Projected, kUtmScale, "500000", "10000000", "0", false, false, true,
     "6°", kUtmMeridians, "51°", true, false, kFree},
    {K::Geographic, "Geográficas", F::Geographic, 0.0, "", "", "", false, false, false, "",
     kNoMeridians, "", false, false, kFree},
    {K::Cartesian, "Cartesianas", F::Cartesian, 0.0, "", "", "", false, false, false, "",
     kNoMeridians, "", false, false, kFree},
}};

}  // namespace

std::string_view TransformationModelLabel(TransformationModel model) {
  return kModelLabels.at(static_cast<std::size_t>(model));
}

const ReferenceFrameInfo& FrameInfo(ReferenceFrame frame) {
  return kFrames.at(static_cast<std::size_t>(frame));
}

std::optional<ReferenceFrame> FrameFromName(std::string_view name) {
  const std::string folded = Folded(name, true);
  for (const ReferenceFrameInfo& info : kFrames) {
    if (info.label == name) return info.frame;
    for (std::string_view option : info.optionNames) {
      if (!option.empty() && Folded(option, true) == folded) return info.frame;
    }
  }
  return std::nullopt;
}

std::optional<ReferenceFrame> FrameFromGridName(std::string_view name) {
  const std::string folded = Folded(name, false);
  for (const ReferenceFrameInfo& info : kFrames) {
    for (std::string_view gridName : info.gridNames) {
      if (!gridName.empty() && Folded(gridName, false) == folded) return info.frame;
    }
  }
  return std::nullopt;
}

const CoordinateSystemInfo& SystemInfo(CoordinateSystemKind kind) {
  return kSystems.at(static_cast<std::size_t>(kind));
}

SystemFamily FamilyOf(CoordinateSystemKind kind) { return SystemInfo(kind).family; }

bool IsProjected(CoordinateSystemKind kind) { return FamilyOf(kind) == SystemFamily::Projected; }

std::string_view DefaultFalseNorthing(CoordinateSystemKind kind, bool northern) {
  const CoordinateSystemInfo& info = SystemInfo(kind);
  return northern ? info.falseNorthingNorth : info.falseNorthingSouth;
}

std::optional<CoordinateSystemKind> SystemKindFromLabel(std::string_view label) {
  for (const CoordinateSystemInfo& info : kSystems) {
    if (info.label == label) return info.kind;
  }
  return std::nullopt;
}

std::vector<std::string> CentralMeridianEntries(CoordinateSystemKind kind) {
  const MeridianListRule& rule = SystemInfo(kind).meridians;
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(rule.count));
  char buffer[32];
  for (int k = 0; k < rule.count; ++k) {
    const double value = rule.start + k * rule.step;
    if (rule.oneDecimal) {
      FormatC(buffer, sizeof buffer, "%0.1lf", value);
    } else {
      FormatC(buffer, sizeof buffer, "%d", static_cast<int>(value));
    }
    entries.emplace_back(std::string(buffer) + std::string(kDegreeSign));
  }
  return entries;
}

double ParseCentralMeridianEntry(std::string_view entry) {
  std::string text(entry);
  for (std::size_t at; (at = text.find(kDegreeSign)) != std::string::npos;) {
    text.erase(at, kDegreeSign.size());
  }
  return static_cast<double>(ToNumber(text));
}

}  // namespace transref
