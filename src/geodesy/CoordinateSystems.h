#pragma once

// The enumerations shared by the windows, the batch converter and the
// processing code, the reference-frame table and the coordinate-system table.
// The numeric value of each enumerator is the position of its item in the
// main window's list. The tables are held here once; nothing copies them.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transref {

enum class CoordinateSystemKind : int {
  Ltm = 0,
  LtmOru = 1,
  LtmCustom = 2,
  Rtm = 3,
  GaussKruger = 4,
  GaussKrugerOru = 5,
  GaussKrugerCustom = 6,
  Utm = 7,
  Geographic = 8,
  Cartesian = 9,
};
inline constexpr int kCoordinateSystemCount = 10;

enum class HeightKind : int { Geometric = 0, Orthometric = 1 };

enum class TransformationModel : int { Isogonal = 0, Translation = 1, Affine = 2, Grid = 3 };
inline constexpr int kTransformationModelCount = 4;

// A reference frame is not its ellipsoid: Córrego Alegre and the Carta
// Geral share Hayford 1924, SAD 69 and SAD 69/96 share UGGI 1967, and each
// pair is still a change of frame.
enum class ReferenceFrame : int {
  Grs80 = 0,
  Hayford = 1,
  Sad69 = 2,
  Sad69_96 = 3,
  CorregoAlegre7072 = 4,
  CorregoAlegre61 = 5,
  Custom = 6,
};
inline constexpr int kReferenceFrameCount = 7;

enum class SystemFamily { Projected, Geographic, Cartesian };

// Item text of a transformation model ("7 Parâmetros - Transformação Isogonal "
// keeps its trailing blank).
std::string_view TransformationModelLabel(TransformationModel model);

struct ReferenceFrameInfo {
  ReferenceFrame frame;
  std::string_view label;
  double semiMajorAxis;      // metres; 0 for the custom frame (typed by the user)
  double inverseFlattening;  // 0 for the custom frame
  // The frame's short name ("SAD 69"; "GRS80" and "Hayford 1924" for the two
  // first, as summaries have always named them); empty for the custom frame.
  std::string_view shortName;
  // The batch converter's names of the frame (the first is the main one);
  // none for the custom frame, which is typed as A,INVF.
  std::array<std::string_view, 2> optionNames;
  // How NTv2 grid headers name the frame (SYSTEM_F / SYSTEM_T), compared
  // without regard to case, blanks, '-' and '_'; none for the custom frame.
  std::array<std::string_view, 3> gridNames;
};
const ReferenceFrameInfo& FrameInfo(ReferenceFrame frame);

// The frame the batch converter's name denotes ("sirgas2000", "grs80",
// "carta-geral", "hayford", "sad69", "sad69-96", "corrego-alegre",
// "corrego-alegre-61", any case) or its list text; nothing otherwise.
std::optional<ReferenceFrame> FrameFromName(std::string_view name);

// The frame a grid header's name denotes (see gridNames); nothing for a
// name that is none of ours (other countries' grids).
std::optional<ReferenceFrame> FrameFromGridName(std::string_view name);

// How a central-meridian list is generated: count entries start + k*step,
// printed with "%0.1lf°" (one decimal) or "%d°" (whole degrees).
struct MeridianListRule {
  int count;
  double start;
  double step;
  bool oneDecimal;
};

struct CoordinateSystemInfo {
  CoordinateSystemKind kind;
  std::string_view label;
  SystemFamily family;
  // Scale factor on the central meridian; 0 for the geographic and cartesian
  // systems, whose handlers leave the stored factor unchanged.
  double scaleFactor;
  std::string_view falseEasting;        // default text
  std::string_view falseNorthingSouth;  // default text, latitude hemisphere "Sul (S)"
  std::string_view falseNorthingNorth;  // default text, latitude hemisphere "Norte (N)"
  bool falseOriginEditable;
  bool falseOriginGrey;       // grey font (128,128,128) instead of window text
  bool hemispheresEnabled;
  std::string_view zoneWidth;  // "" for the customised systems (no entry, kNoZoneWidthText shown)
  MeridianListRule meridians;
  std::string_view defaultMeridianEntry;
  bool meridianListEnabled;
  bool usesCustomPanel;  // the sexagesimal panel replaces the list
  std::optional<ReferenceFrame> lockedFrame;
};

inline constexpr std::string_view kNoZoneWidthText = "----";
inline constexpr std::string_view kDegreeSign = "°";
inline constexpr std::array<std::string_view, 4> kZoneWidthItems = {"1°", "2°", "3°", "6°"};
inline constexpr std::array<std::string_view, 2> kLongitudeHemisphereItems = {"Leste (E)",
                                                                              "Oeste (W)"};
inline constexpr std::array<std::string_view, 2> kLatitudeHemisphereItems = {"Norte (N)",
                                                                             "Sul (S)"};

const CoordinateSystemInfo& SystemInfo(CoordinateSystemKind kind);
SystemFamily FamilyOf(CoordinateSystemKind kind);
bool IsProjected(CoordinateSystemKind kind);

// Default false northing text for a side, by its latitude hemisphere.
std::string_view DefaultFalseNorthing(CoordinateSystemKind kind, bool northern);

// Kind whose label is exactly `label`.
std::optional<CoordinateSystemKind> SystemKindFromLabel(std::string_view label);

// Central-meridian list entries as the window shows them, in order
// (empty for geographic and cartesian).
std::vector<std::string> CentralMeridianEntries(CoordinateSystemKind kind);

// Number of a central-meridian entry: every degree sign removed, the rest
// read by ToNumber (which throws std::runtime_error for a non-number).
double ParseCentralMeridianEntry(std::string_view entry);

}  // namespace transref
