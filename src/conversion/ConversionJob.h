// The settings of one conversion run, gathered before anything is opened.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "conversion/EditNumber.h"
#include "conversion/FileKind.h"
#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/DatumStep.h"
#include "geodesy/GridShift.h"
#include "geodesy/PointChain.h"

namespace transref {

class TextFile;

// One side (input or output) of a run.
struct JobSide {
  CoordinateSystemKind system{};
  std::string systemLabel;
  double semiMajorAxis = 6378137.0;       // metres, read from the ellipsoid edits
  double inverseFlattening = 298.257222101;
  double centralMeridian = -51.0;         // degrees, east positive (already signed)
  bool northern = false;
  double falseEasting = 200000.0;         // metres
  double falseNorthing = 5000000.0;       // metres
  double scaleFactor = 1.0;               // on the central meridian
  HeightKind heightKind = HeightKind::Orthometric;  // orthometric by default on both sides
  // The frame chosen in the list; the ellipsoid above is its own (or, for a
  // custom frame, the typed one). Two frames on one ellipsoid are still two
  // frames. Last, so that positional initialisers of the fields above stay valid.
  ReferenceFrame frame = ReferenceFrame::Grs80;
};

// The grid of the "Grade NTv2" model.
struct GridSettings {
  // The NTv2 file; empty while none is chosen (the run refuses). The run
  // decides the direction from its header and the two frames (PrepareGrid).
  std::string path;
};

struct ConversionJob {
  std::string inputPath, outputPath;
  FileKind inputKind = FileKind::Ascii3D;
  FileKind outputKind = FileKind::Ascii3D;
  TransformationModel model{};
  IsogonalParameters isogonal{};  // tx, ty, tz (m), rx, ry, rz (degrees), scale
  AffineParameters affine{};      // used when model is the twelve-parameter affine one
  bool isIdentity = true;          // informative: the datum step decides from the values
  GridSettings grid{};             // used when model is the grid one
  JobSide input, output;
  AltimetrySettings altimetry{};
  // A delimited input: what was chosen instead of detection, and whether
  // geographic output is written in degrees, minutes and seconds.
  DelimitedOptions delimited{};
};

// Streams a caller opened itself, read or written instead of the files the
// job names (the batch converter's standard input and output).
struct RunStreams {
  TextFile* input = nullptr;
  TextFile* output = nullptr;
};

// Checks what can be checked before any file is opened: both ellipsoids,
// both scale factors, both central meridians, and, when both sides are
// named files, that the output is not the input file (also through another
// path or a link); a grid job without a grid file (kNoGridChosen); and two
// built-in frames without published parameters (Córrego Alegre 1961) under
// the seven- or three-parameter model with neutral values
// (kNoParametersMessage: never converted with zero parameters unasked).
// Returns the message to show (stop box, caption
// kInterruptCaption), or nothing when the job can run.
std::optional<std::string> CheckJob(const ConversionJob& job, const RunStreams& streams = {});

// One side as it decides whether a run can change anything.
struct SideIdentity {
  CoordinateSystemKind system{};
  std::string_view semiMajorAxisText, inverseFlatteningText;  // the ellipsoid as typed or shown
  double centralMeridian = 0.0;  // degrees, signed by the longitude hemisphere
  bool northern = false;
  double falseEasting = 0.0, falseNorthing = 0.0;
  ReferenceFrame frame = ReferenceFrame::Grs80;  // the frame chosen in the list
};

// The rule that enables processing: a run that would give back every
// coordinate as it was read is not offered. Two sides differ when their
// systems or the texts of their ellipsoids differ, or, for two grids, their
// central meridians, latitude hemispheres or false origins: a change of
// zone (UTM 22 S to 23 S, another LTM meridian) is a conversion. Geographic
// and cartesian sides have no meridian, hemisphere or false origin. Two
// built-in frames that differ are a conversion even on one ellipsoid
// (SAD 69 -> SAD 69/96); a custom side compares by its ellipsoid only.
bool SidesDiffer(const SideIdentity& input, const SideIdentity& output);

// The same rule with the model: a grid is a change of its own, so a grid run
// is offered even between two sides that SidesDiffer finds equal.
bool RunChangesCoordinates(const SideIdentity& input, const SideIdentity& output, TransformationModel model);

// The grid of a grid job, read and fitted to the job's two frames.
struct PreparedGrid {
  std::shared_ptr<GridShift> shift;  // nothing when the grid cannot be used
  GridDirection direction = GridDirection::Forward;
  std::string description;  // GridDescription: "SAD69_003.gsb (SAD69 → SIRGAS00)"
  std::string problem;      // why not: no file chosen, broken file, wrong frames
};
// Reads the header of job.grid.path (ReadGridHeader), decides the direction
// from the two sides' frames and ellipsoids (FitGrid) and, with `open`,
// opens the shift (PROJ). Without it only the description or the problem is
// set: what a panel or a summary line shows, read from the header alone.
// Nothing else of the job is read.
PreparedGrid PrepareGrid(const ConversionJob& job, bool open = true);

// The full path of the grid that ships for the pair (ShippedGridFor, either
// direction) as found on this machine (FindDataFile); empty when none ships
// or the file is missing.
std::string ShippedGridPath(ReferenceFrame a, ReferenceFrame b);

// The point chain of a job: with the grid's shift for the grid model (which
// `grid` must then hold), else with BuildJobDatumStep.
PointChain BuildJobPointChain(const ConversionJob& job, const PreparedGrid& grid);

// The side as the point chain takes it (ellipsoid built from a and 1/f).
ChainSide ToChainSide(const JobSide& side);

// The datum step of the job: the twelve affine values for the affine model,
// else the seven isogonal values (the three-parameter model travels as an
// isogonal set). Whether it is the identity follows from the values.
DatumStep BuildJobDatumStep(const ConversionJob& job);

// True when the two paths name the same file: the same file on disk when
// both exist, else the same normalised absolute path.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace transref
