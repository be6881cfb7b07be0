#pragma once

// The sequence of conversions one point goes through: input side to
// geocentric cartesian coordinates on the input frame, datum step, output
// side, with the height rules of both sides. With a grid the change of
// frame happens on geographic coordinates instead: input side to geographic
// on the input frame, the grid's shift, geographic on the output frame to
// the output side; heights pass the grid unchanged.

#include <memory>

#include "geodesy/CoordinateSystems.h"
#include "geodesy/DatumStep.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/GridShift.h"
#include "geodesy/TransverseMercator.h"

namespace transref {

// One side of a run as the chain needs it.
struct ChainSide {
  CoordinateSystemKind system = CoordinateSystemKind::Geographic;
  Ellipsoid ellipsoid;
  double centralMeridian = 0.0;  // degrees, east positive
  bool northern = false;
  double falseEasting = 0.0;   // metres
  double falseNorthing = 0.0;  // metres
  double scaleFactor = 1.0;    // on the central meridian
};

// Height settings of a run (kept by the main window, set in the altimetry
// dialog).
struct AltimetrySettings {
  bool importHeights = true;
  bool inputGeometric = false;
  bool outputGeometric = false;
  bool inputUseMeanHeight = false;
  bool outputUseMeanHeight = false;
  bool inputMeanUndulation = false;
  bool outputMeanUndulation = false;
  double inputMeanHeight = 0.0;   // metres
  double outputMeanHeight = 0.0;  // metres
  double inputUndulation = 0.0;   // metres
  double outputUndulation = 0.0;  // metres
};

// Largest distance of a grid coordinate from the false origin that still
// lies on the Earth (20,000 km, about half a meridian circumference).
inline constexpr double kMaxGridOffset = 20'000'000.0;

// a positive and finite, 1/f finite and greater than 1.
bool IsValidEllipsoid(double semiMajorAxis, double inverseFlattening);

class PointChain {
 public:
  // Both ellipsoids must pass IsValidEllipsoid (the caller refuses the run
  // otherwise).
  PointChain(const ChainSide& input, const ChainSide& output, const DatumStep& step,
             const AltimetrySettings& altimetry);
  // The grid's change of frame instead of a datum step; `grid` is shared by
  // copies of the chain.
  PointChain(const ChainSide& input, const ChainSide& output, std::shared_ptr<GridShift> grid,
             const AltimetrySettings& altimetry);

  // Why the last Transform returned false.
  enum class Failure { None, OutOfDomain, OutsideGrid };
  Failure LastFailure() const { return lastFailure_; }

  // Carries (c1, c2, c3) - E, N, height; longitude, latitude, height; or X,
  // Y, Z - to the output system. Returns false, with nothing meaningful in `out`,
  // when the point cannot be carried: a non-finite input or result, a point
  // on the polar axis that must become geographic, or a grid coordinate
  // more than kMaxGridOffset from the false origin.
  bool Transform(double c1, double c2, double c3, double out[3]);

 private:
  bool InputToGeographic(double c1, double c2, double c3);
  bool InputToCartesian(double c1, double c2, double c3);
  bool CartesianToOutput(double out[3]);
  bool GeographicToOutput(double out[3]);
  bool Carry(double c1, double c2, double c3, double out[3]);
  double AdjustOutputHeight(double height) const;

  ChainSide input_;
  ChainSide output_;
  SystemFamily inputFamily_;
  SystemFamily outputFamily_;
  DatumStep step_;  // own copy: M and T live as long as the chain
  std::shared_ptr<GridShift> grid_;  // set: the grid replaces the datum step
  Failure lastFailure_ = Failure::None;
  AltimetrySettings altimetry_;
  // The projection series of each side's ellipsoid, worked out once.
  TransverseMercatorCoefficients inputSeries_;
  TransverseMercatorCoefficients outputSeries_;

  // Records reused for every point.
  ProjectedPoint inputProjected_;
  GeographicPoint inputGeographic_;
  CartesianPoint inputCartesian_;
  CartesianPoint outputCartesian_;
  GeographicPoint outputGeographic_;
  ProjectedPoint outputProjected_;
};

}  // namespace transref
