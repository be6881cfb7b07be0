// The settings of one conversion run, gathered before anything is opened.
#pragma once

#include <optional>
#include <string>

#include "conversion/EditNumber.h"
#include "conversion/FileKind.h"
#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/DatumStep.h"
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
};

struct ConversionJob {
  std::string inputPath, outputPath;
  FileKind inputKind = FileKind::Ascii3D;
  FileKind outputKind = FileKind::Ascii3D;
  TransformationModel model{};
  IsogonalParameters isogonal{};  // tx, ty, tz (m), rx, ry, rz (degrees), scale
  AffineParameters affine{};      // used when model is the twelve-parameter affine one
  bool isIdentity = true;          // informative: the datum step decides from the values
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
// path or a link). Returns the message to show (stop box, caption
// kInterruptCaption), or nothing when the job can run.
std::optional<std::string> CheckJob(const ConversionJob& job, const RunStreams& streams = {});

// One side as it decides whether a run can change anything.
struct SideIdentity {
  CoordinateSystemKind system{};
  std::string_view semiMajorAxisText, inverseFlatteningText;  // the ellipsoid as typed or shown
  double centralMeridian = 0.0;  // degrees, signed by the longitude hemisphere
  bool northern = false;
  double falseEasting = 0.0, falseNorthing = 0.0;
};

// The rule that enables processing: a run that would give back every
// coordinate as it was read is not offered. Two sides differ when their
// systems or the texts of their ellipsoids differ, or, for two grids, their
// central meridians, latitude hemispheres or false origins: a change of
// zone (UTM 22 S to 23 S, another LTM meridian) is a conversion. Geographic
// and cartesian sides have no meridian, hemisphere or false origin.
bool SidesDiffer(const SideIdentity& input, const SideIdentity& output);

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
