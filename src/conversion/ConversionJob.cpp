#include "conversion/ConversionJob.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "conversion/Messages.h"
#include "conversion/maps/MapOutput.h"
#include "geodesy/ParameterSets.h"
#include "support/DataFiles.h"

namespace transref {
namespace {

// A central meridian typed in the customised panel may lie anywhere within
// one turn either way; beyond that it is no longer an angle anybody meant.
constexpr double kMaxCentralMeridian = 360.0;

bool IsValidSide(const JobSide& side) {
  return IsValidEllipsoid(side.semiMajorAxis, side.inverseFlattening);
}

bool IsValidScaleFactor(double k0) { return std::isfinite(k0) && k0 > 0.0; }

bool IsValidCentralMeridian(double degrees) {
  return std::isfinite(degrees) && std::fabs(degrees) <= kMaxCentralMeridian;
}

// The pairs offered: a list becomes a list or a map, a drawing becomes a
// drawing, a point list or a map; maps are written, never read; a drawing
// holds grid coordinates only; a 2D list has no cartesian coordinates.
bool IsOfferedCombination(const ConversionJob& job) {
  if (IsMap(job.inputKind)) return false;
  if (IsPointList(job.inputKind) && !IsPointList(job.outputKind) && !IsMap(job.outputKind)) return false;
  if (job.inputKind == FileKind::Dxf && !IsProjected(job.input.system)) return false;
  if (job.outputKind == FileKind::Dxf && !IsProjected(job.output.system)) return false;
  if (job.inputKind == FileKind::Ascii2D && job.input.system == CoordinateSystemKind::Cartesian) return false;
  if (job.outputKind == FileKind::Ascii2D && job.output.system == CoordinateSystemKind::Cartesian) return false;
  return true;
}

}  // namespace

ChainSide ToChainSide(const JobSide& side) {
  ChainSide chainSide;
  chainSide.system = side.system;
  chainSide.ellipsoid = Ellipsoid(side.semiMajorAxis, side.inverseFlattening);
  chainSide.centralMeridian = side.centralMeridian;
  chainSide.northern = side.northern;
  chainSide.falseEasting = side.falseEasting;
  chainSide.falseNorthing = side.falseNorthing;
  chainSide.scaleFactor = side.scaleFactor;
  return chainSide;
}

DatumStep BuildJobDatumStep(const ConversionJob& job) {
  return job.model == TransformationModel::Affine ? BuildAffineDatumStep(job.affine)
                                                  : BuildDatumStep(job.isogonal);
}

bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  if (a == b) return true;
  std::error_code error;
  const fs::path pa(a), pb(b);
  if (fs::exists(pa, error) && fs::exists(pb, error)) {
    // Both exist: the same file on disk, whatever path or link leads there.
    const bool same = fs::equivalent(pa, pb, error);
    if (!error) return same;
  }
  // The output does not exist yet: compare the absolute paths with every
  // link of the existing part resolved.
  const fs::path ca = fs::weakly_canonical(pa, error);
  if (error) return false;
  const fs::path cb = fs::weakly_canonical(pb, error);
  if (error) return false;
  return ca == cb;
}

bool SidesDiffer(const SideIdentity& input, const SideIdentity& output) {
  if (input.system != output.system || input.semiMajorAxisText != output.semiMajorAxisText ||
      input.inverseFlatteningText != output.inverseFlatteningText) {
    return true;
  }
  if (input.frame != output.frame && input.frame != ReferenceFrame::Custom &&
      output.frame != ReferenceFrame::Custom) {
    return true;
  }
  if (!IsProjected(input.system)) return false;
  return input.centralMeridian != output.centralMeridian || input.northern != output.northern ||
         input.falseEasting != output.falseEasting || input.falseNorthing != output.falseNorthing;
}

// Two built-in frames without published parameters (Córrego Alegre 1961)
// under the seven- or three-parameter model with nothing typed: the run
// would change the frame with neutral values nobody chose.
bool MissingPublishedParameters(const ConversionJob& job) {
  if (job.model != TransformationModel::Isogonal && job.model != TransformationModel::Translation) return false;
  if (job.input.frame == job.output.frame || job.input.frame == ReferenceFrame::Custom ||
      job.output.frame == ReferenceFrame::Custom) {
    return false;
  }
  return !PublishedLegs(job.model, job.input.frame, job.output.frame) && IsIdentity(job.isogonal);
}

bool RunChangesCoordinates(const SideIdentity& input, const SideIdentity& output, TransformationModel model) {
  return model == TransformationModel::Grid || SidesDiffer(input, output);
}

PreparedGrid PrepareGrid(const ConversionJob& job, bool open) {
  PreparedGrid prepared;
  if (job.grid.path.empty()) {
    prepared.problem = std::string(kNoGridChosen);
    return prepared;
  }
  const GridHeaderReading reading = ReadGridHeader(job.grid.path);
  if (!reading.header) {
    prepared.problem = reading.problem;
    return prepared;
  }
  const auto side = [](const JobSide& s) {
    return GridFrameSide{s.frame, s.semiMajorAxis, s.inverseFlattening};
  };
  const GridFit fit = FitGrid(job.grid.path, *reading.header, side(job.input), side(job.output));
  if (!fit.direction) {
    prepared.problem = fit.problem;
    return prepared;
  }
  prepared.direction = *fit.direction;
  prepared.description = GridDescription(job.grid.path, *reading.header, *fit.direction);
  if (open) prepared.shift = GridShift::Open(job.grid.path, *fit.direction, prepared.problem);
  return prepared;
}

std::string ShippedGridPath(ReferenceFrame a, ReferenceFrame b) {
  const std::optional<ShippedGrid> grid = ShippedGridFor(a, b);
  if (!grid) return {};
  return FindDataFile("grids/" + std::string(grid->fileName)).value_or(std::string());
}

PointChain BuildJobPointChain(const ConversionJob& job, const PreparedGrid& grid) {
  if (job.model == TransformationModel::Grid) {
    return PointChain(ToChainSide(job.input), ToChainSide(job.output), grid.shift, job.altimetry);
  }
  return PointChain(ToChainSide(job.input), ToChainSide(job.output), BuildJobDatumStep(job), job.altimetry);
}

std::optional<std::string> CheckJob(const ConversionJob& job, const RunStreams& streams) {
  if (!IsValidSide(job.input) || !IsValidSide(job.output)) return std::string(kEllipsoidReadError);
  if (!IsValidScaleFactor(job.input.scaleFactor) || !IsValidScaleFactor(job.output.scaleFactor)) {
    return std::string(kScaleFactorError);
  }
  if (!IsValidCentralMeridian(job.input.centralMeridian) || !IsValidCentralMeridian(job.output.centralMeridian)) {
    return std::string(kCentralMeridianError);
  }
  if (IsMap(job.outputKind)) {
    if (auto refusal = CheckMapOutput(job)) return refusal;
  }
  if (!IsOfferedCombination(job)) return std::string(kFileKindError);
  if (job.model == TransformationModel::Grid && job.grid.path.empty()) return std::string(kNoGridChosen);
  if (MissingPublishedParameters(job)) return std::string(kNoParametersMessage);
  if (streams.input == nullptr && streams.output == nullptr && SameFile(job.inputPath, job.outputPath)) {
    return std::string(kSameFileError);
  }
  return std::nullopt;
}

}  // namespace transref
