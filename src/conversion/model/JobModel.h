// The model of a conversion as the user builds it, side by side: every rule
// that turns the user's choices into a ConversionJob lives here once. The
// main window shows this state in its controls and calls these operations
// from its handlers; the batch converter calls the same operations from its
// options. No toolkit here: the window reads and writes widgets, the model
// decides.
//
// Operations are named after what the user does. Each one changes the state
// and returns an Outcome: a refusal (the choice cannot be made, and why, in
// Portuguese; nothing changed) or nothing. The one question the rules ask
// (custom affine parameters) goes to a Dialogue the caller provides; the
// window shows the message boxes, the converter answers from its options.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/FileKind.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/ParameterSets.h"

namespace transref {

enum class Side { In = 0, Out = 1 };

// ------------------------------------------------------------ file kinds

// A point list (ASCII) or a drawing.
bool IsListKind(FileKind kind);
bool IsDrawingKind(FileKind kind);
// The kinds a side offers, in list order: the input every kind; the output
// every kind for a drawing input, the lists only for a list input (a list
// cannot become a drawing).
// `pointFileKinds` adds the delimited kind and the maps (the batch
// converter); without it, the strict lists and the drawing (the window).
std::vector<FileKind> FileKindsOffered(Side side, FileKind inputKind, bool pointFileKinds = false);
// A map, sexagesimal text, or a change between a delimited file and another
// kind rewrites every point even where the two sides are the same: a run of
// its own.
bool FormatChanges(FileKind inputKind, FileKind outputKind, bool sexagesimalOutput);
// The systems a file kind offers, in list order: all for a 3D list, no
// cartesian for a 2D list, the grids only for a drawing, longitude and
// latitude only for a map.
std::vector<CoordinateSystemKind> SystemsOffered(FileKind kind);
bool IsSystemOffered(FileKind kind, CoordinateSystemKind system);
// The item text of a file kind: the lists name the coordinates of the side's
// system family and height kind ("ASCII - Coordenadas 3D(ID; E, N, h)");
// without a family, the neutral texts "(ID; X, Y, Z)".
std::string FileKindLabel(FileKind kind, std::optional<SystemFamily> family, bool geometric);
// The system each side starts with whenever its list is rebuilt.
CoordinateSystemKind StartingSystem(Side side);

// Names of the choices in a text interface: a system by its list text
// ("Gauß-Krüger (Oru)") or short name ("gk-oru"); a file kind ("ascii3d",
// "ascii2d", "dxf"). Frames are named by geodesy's FrameFromName.
std::optional<CoordinateSystemKind> SystemFromName(std::string_view name);
std::string SystemNames();  // the short names, comma-separated, in list order
std::optional<FileKind> FileKindFromName(std::string_view name);
std::string_view FileKindName(FileKind kind);
// The two sides and the model of a job in one line: "De: UTM, MC 51° W,
// hemisfério S, GRS80 — Para: Geográficas, GRS80 — 7 Parâmetros - ...",
// ending with what the model applies: the grid and its frames, or the legs
// through SIRGAS 2000 with their parameters.
std::string AppliedText(const ConversionJob& job);
// Whether a pair's parameters are worth naming leg by leg: an old Brazilian
// frame on either side (the Carta Geral's pair has always shown its set alone).
bool NamesItsLegs(ReferenceFrame input, ReferenceFrame output);
std::string JobSummary(const ConversionJob& job);

// ------------------------------------------------------------ one side

// What a side holds: the values the window's controls show (texts exactly as
// shown, because the process rule compares the ellipsoid texts) and the
// state behind them.
struct SideFields {
  FileKind fileKind = FileKind::Dxf;
  std::optional<CoordinateSystemKind> system;  // none before the list is built
  double scaleFactor = 1.0;                    // kept by geographic and cartesian
  bool west = true;                            // "Oeste (W)"
  bool northern = false;                       // "Norte (N)"
  std::string zoneWidth;                       // "" : no entry ("----")
  std::vector<std::string> meridianEntries;
  int meridianIndex = -1;
  std::string meridianPanelText = "51° 30' 00,000\"";
  std::string falseEastingText = "200000";
  std::string falseNorthingText = "10000000";
  ReferenceFrame frame = ReferenceFrame::Grs80;
  std::string semiMajorAxisText = "6378137.000";
  std::string inverseFlatteningText = " 298.257222101";
  std::string customSemiMajorAxisText, customInverseFlatteningText;  // last typed while custom
  bool geometric = false;

  std::string MeridianEntry() const;
};

// Which fields of a side can be changed, and why not.
struct SideLocks {
  bool detailsShown = true;        // projection details (hidden for geographic, cartesian)
  bool hemispheresEnabled = true;
  std::string hemispheresReason;   // why they are locked
  bool meridianListEnabled = true;
  bool usesCustomPanel = false;    // the typed sexagesimal meridian replaces the list
  bool falseOriginEditable = false;
  bool falseOriginGrey = true;     // locked values shown in grey
  bool ellipsoidLocked = false;
  std::string ellipsoidReason;
  bool ellipsoidEditsEnabled = false;  // custom ellipsoid typed
  bool heightsEnabled = true;      // the side has heights (not cartesian)
};

// What the seven isogonal and twelve affine fields hold and whether they can
// be typed, as the parameter lookup leaves them.
struct ParameterFields {
  ParameterPanel panel = ParameterPanel::Isogonal;
  IsogonalParameters isogonal{};
  bool isogonalEnabled = false;
  AffineParameters affine{};
  bool affineEnabled = false;
  // What the seven fields apply, frame to frame (empty: nothing built in).
  std::vector<ParameterLeg> legs;
  // The grid that ships for the pair ("SAD69_003.gsb"), empty when none.
  std::string_view shippedGridFile;
  // How often the lookup wrote each group: the window shows a group again
  // only after it was written (values typed there stay otherwise).
  unsigned isogonalWrites = 0, affineWrites = 0;
};

struct Outcome {
  std::string refusal;  // empty: done
  bool Refused() const { return !refusal.empty(); }
};

// The question the parameter lookup asks: no built-in affine parameters for
// two different frames, or no published parameters at all for the pair
// (Córrego Alegre 1961) under the seven or three parameters. The window shows kNoParametersMessage, then asks
// kAskCustomParametersQuestion; true is "Sim".
class Dialogue {
 public:
  virtual ~Dialogue() = default;
  virtual bool AskCustomParameters() = 0;
};

// The altimetry dialog's closing rule: importing heights, the output takes
// every input choice.
void CopyImportedHeights(AltimetrySettings& settings);

class JobModel {
 public:
  // The window's state at creation: both kinds DXF, the starting systems
  // applied, the parameter lookup run.
  JobModel();

  const SideFields& Fields(Side side) const { return sides_[Index(side)]; }
  SideLocks Locks(Side side) const;
  const ParameterFields& Parameters() const { return parameters_; }
  TransformationModel Model() const { return appliedModel_; }
  const AltimetrySettings& Altimetry() const { return altimetry_; }
  // The settings the altimetry dialog writes into while it is open.
  AltimetrySettings& AltimetryForDialog() { return altimetry_; }
  std::string SystemLabel(Side side) const;
  // The item texts of the side's file-kind list.
  std::vector<std::string> FileKindLabels(Side side) const;
  // The kinds of the side's list (FileKindsOffered with the model's choice
  // of point file kinds).
  std::vector<FileKind> KindsOffered(Side side) const;
  // The lists also offer the delimited kind and the maps.
  void OfferPointFileKinds(bool offer) { pointFileKinds_ = offer; }
  // A delimited input's layout as the user chose it (anything left empty is
  // detected); the built job carries it.
  void ChooseDelimitedLayout(DelimitedOptions options) { delimited_ = std::move(options); }
  const DelimitedOptions& DelimitedLayoutChoice() const { return delimited_; }
  // Text of an ellipsoid edit holding no custom value yet.
  static std::string_view Placeholder(Side side);

  void SetDialogue(Dialogue* dialogue) { dialogue_ = dialogue; }

  // ---- what the user does
  Outcome ChooseFileKind(Side side, FileKind kind);
  Outcome ChooseSystem(Side side, CoordinateSystemKind system);
  Outcome ChooseEllipsoid(Side side, ReferenceFrame frame);
  Outcome TypeSemiMajorAxis(Side side, std::string text);
  Outcome TypeInverseFlattening(Side side, std::string text);
  Outcome ChooseLatitudeHemisphere(Side side, bool northern);
  Outcome ChooseLongitudeHemisphere(Side side, bool west);
  // A meridian of the side's list by its magnitude in degrees (the longitude
  // hemisphere gives the sign); for the customised systems any magnitude.
  Outcome ChooseCentralMeridian(Side side, double degrees);
  Outcome ChooseCentralMeridianEntry(Side side, int index);
  // The customised meridian as typed: packed sexagesimal D.MMSSsss with
  // `decimalSeparator` (a comma or a point accepted too). A negative value
  // chooses the western hemisphere where the hemisphere is free. Refused
  // with the reader's text ("... não é um valor numerico!") or
  // kCentralMeridianError; nothing changes then.
  Outcome TypeCentralMeridian(Side side, std::string_view text, char decimalSeparator);
  Outcome TypeFalseEasting(Side side, std::string text);
  Outcome TypeFalseNorthing(Side side, std::string text);
  // The height kind (main window's radio pair, or the dialog's radio group).
  Outcome ChooseHeightKind(Side side, bool geometric);
  // The altimetry dialog's options: one mean height for the whole file, one
  // mean geoid undulation (geometric heights only), importing the input
  // heights. Closing the dialog applies the import (CopyImportedHeights).
  Outcome ChooseMeanHeight(Side side, std::optional<double> metres);
  Outcome ChooseMeanUndulation(Side side, std::optional<double> metres);
  Outcome ChooseImportHeights(bool import);
  void CloseAltimetryDialog();
  // Whether the dialog lets the side's height options be chosen: not for a
  // cartesian side, nor for the output while it imports the input heights.
  Outcome HeightOptionsAllowed(Side side) const;
  Outcome ChooseModel(TransformationModel model);
  Outcome TypeIsogonalParameters(const IsogonalParameters& parameters);
  Outcome TypeAffineParameters(const AffineParameters& parameters);
  // The NTv2 file of the "Grade NTv2" model, chosen by the user (empty: the
  // shipped one, if any). A pair of frames that a shipped grid joins loads
  // that grid (and the grid model) when the pair is chosen; other pairs show
  // the user's file. A grid model without a file cannot run.
  void ChooseGridFile(std::string path);
  const std::string& GridPath() const { return gridPath_; }
  // What the grid joins ("SAD69_003.gsb (SAD69 → SIRGAS00)"), or why it
  // cannot be used with the chosen frames, or kNoGridChosen.
  std::string GridText() const;
  void ChooseFiles(std::string inputPath, std::string outputPath);

  // ---- what the fields hold when the window reads them back (no rule:
  // the window's controls only let the user change what Locks allow)
  void SetFieldTexts(Side side, bool west, bool northern, int meridianIndex,
                     std::vector<std::string> meridianEntries, std::string falseEasting,
                     std::string falseNorthing, std::string semiMajorAxis, std::string inverseFlattening);
  void SetParameterValues(const IsogonalParameters& isogonal, const AffineParameters& affine);

  // ---- the job
  // Two sides that would give back every coordinate as it was read do not
  // differ (see RunChangesCoordinates: two frames on one ellipsoid differ,
  // and a grid is a change of its own); an unreadable meridian entry counts
  // as a difference (the run reports it).
  bool SidesDiffer() const;
  bool IsRunnable(bool inputFileChosen, bool outputFileChosen) const;
  // The job, or the message that stops it (caption kInterruptCaption; a
  // meridian entry that is not a number gives the number reader's text and
  // `readerError`).
  struct Built {
    std::optional<ConversionJob> job;
    std::string message;
    bool readerError = false;
  };
  Built BuildJob() const;

 private:
  static std::size_t Index(Side side) { return static_cast<std::size_t>(side); }
  SideFields& At(Side side) { return sides_[Index(side)]; }
  void ApplySystem(Side side);
  void ApplyOutputSystem();  // the output handler: own system or copy of the input
  void CopyInputToOutput();
  void ApplyOutputHemisphereRule();
  void ApplyEllipsoidLock(Side side);
  void WriteEllipsoidTexts(Side side);
  void RefreshUtmFalseNorthing(Side side);
  void ClearCartesianHeights(Side side);
  // The parameter lookup; false when the user refused to type affine
  // parameters (the model went back and the caller's action ends there).
  bool LookupParameters();
  Outcome GridOnly(Side side) const;
  Outcome FalseOriginAllowed(Side side) const;

  std::array<SideFields, 2> sides_{};
  std::array<std::optional<FileKind>, 2> lastFileKind_{};
  TransformationModel selectedModel_ = TransformationModel::Isogonal;
  TransformationModel appliedModel_ = TransformationModel::Isogonal;
  ParameterFields parameters_{};
  AltimetrySettings altimetry_{};
  std::string inputPath_, outputPath_;
  Dialogue* dialogue_ = nullptr;
  bool pointFileKinds_ = false;
  DelimitedOptions delimited_{};
  std::string gridPath_;      // the grid the run applies
  std::string userGridPath_;  // the file the user chose, shown where no grid ships
  bool gridCameWithFrames_ = false;  // the grid model was loaded by a pair of frames
  std::optional<std::pair<ReferenceFrame, ReferenceFrame>> lookedUpFrames_;
};

}  // namespace transref
