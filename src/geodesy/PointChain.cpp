#include "geodesy/PointChain.h"

#include <cmath>

#include "geodesy/Geocentric.h"
#include "geodesy/TransverseMercator.h"

namespace transref {

namespace {

bool AllFinite(double a, double b, double c) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

bool WithinGrid(double easting, double northing, const ChainSide& side) {
  return std::fabs(easting - side.falseEasting) <= kMaxGridOffset &&
         std::fabs(northing - side.falseNorthing) <= kMaxGridOffset;
}

}  // namespace

bool IsValidEllipsoid(double semiMajorAxis, double inverseFlattening) {
  return std::isfinite(semiMajorAxis) && semiMajorAxis > 0.0 &&
         std::isfinite(inverseFlattening) && inverseFlattening > 1.0;
}

PointChain::PointChain(const ChainSide& input, const ChainSide& output, const DatumStep& step,
                       const AltimetrySettings& altimetry)
    : input_(input),
      output_(output),
      inputFamily_(FamilyOf(input.system)),
      outputFamily_(FamilyOf(output.system)),
      step_(step),
      altimetry_(altimetry),
      inputSeries_(input.ellipsoid),
      outputSeries_(output.ellipsoid) {
  inputProjected_.centralMeridian = input.centralMeridian;
  inputProjected_.northern = input.northern;
}

PointChain::PointChain(const ChainSide& input, const ChainSide& output, std::shared_ptr<GridShift> grid,
                       const AltimetrySettings& altimetry)
    : PointChain(input, output, DatumStep{}, altimetry) {
  grid_ = std::move(grid);
}

bool PointChain::Transform(double c1, double c2, double c3, double out[3]) {
  lastFailure_ = Failure::None;
  if (Carry(c1, c2, c3, out)) return true;
  if (lastFailure_ == Failure::None) lastFailure_ = Failure::OutOfDomain;
  return false;
}

bool PointChain::Carry(double c1, double c2, double c3, double out[3]) {
  if (!AllFinite(c1, c2, c3)) return false;
  if (grid_) {
    if (!InputToGeographic(c1, c2, c3)) return false;
    double longitude = inputGeographic_.longitude.Degrees();
    double latitude = inputGeographic_.latitude.Degrees();
    if (!grid_->Apply(longitude, latitude)) {
      lastFailure_ = Failure::OutsideGrid;
      return false;
    }
    outputGeographic_.longitude = longitude;
    outputGeographic_.latitude = latitude;
    outputGeographic_.height = inputGeographic_.height;
    if (!GeographicToOutput(out)) return false;
    return AllFinite(out[0], out[1], out[2]);
  }
  if (!InputToCartesian(c1, c2, c3)) return false;
  ApplyDatumStep(step_, inputCartesian_, outputCartesian_);
  if (!CartesianToOutput(out)) return false;
  return AllFinite(out[0], out[1], out[2]);
}

bool PointChain::InputToGeographic(double c1, double c2, double c3) {
  if (inputFamily_ == SystemFamily::Cartesian) {
    const CartesianPoint c{c1, c2, c3};
    if (c.x == 0.0 && c.y == 0.0) return false;
    CartesianToGeographic(c, input_.ellipsoid, inputGeographic_);
    return AllFinite(inputGeographic_.longitude.Degrees(), inputGeographic_.latitude.Degrees(),
                     inputGeographic_.height);
  }
  // Input height: the point's own, or the mean height; a geometric height
  // becomes orthometric with the one mean undulation.
  double z = c3;
  if (altimetry_.inputUseMeanHeight) z = altimetry_.inputMeanHeight;
  if (altimetry_.inputGeometric && altimetry_.inputMeanUndulation) {
    z = z - altimetry_.inputUndulation;
  }
  if (inputFamily_ == SystemFamily::Projected) {
    if (!WithinGrid(c1, c2, input_)) return false;
    inputProjected_.easting = c1;
    inputProjected_.northing = c2;
    inputProjected_.height = z;
    TransverseMercatorInverse(inputProjected_, inputSeries_, input_.scaleFactor,
                              input_.falseEasting, input_.falseNorthing, inputGeographic_);
  } else {
    inputGeographic_.longitude = c1;
    inputGeographic_.latitude = c2;
    inputGeographic_.height = z;
  }
  return true;
}

bool PointChain::InputToCartesian(double c1, double c2, double c3) {
  if (inputFamily_ == SystemFamily::Cartesian) {
    inputCartesian_ = {c1, c2, c3};
    return true;
  }
  if (!InputToGeographic(c1, c2, c3)) return false;
  GeographicToCartesian(inputGeographic_, input_.ellipsoid, inputCartesian_);
  return AllFinite(inputCartesian_.x, inputCartesian_.y, inputCartesian_.z);
}

bool PointChain::CartesianToOutput(double out[3]) {
  const CartesianPoint& c = outputCartesian_;
  if (outputFamily_ == SystemFamily::Cartesian) {
    out[0] = c.x;
    out[1] = c.y;
    out[2] = c.z;
    return true;
  }
  // Bowring's step divides by the distance from the polar axis.
  if (!AllFinite(c.x, c.y, c.z) || (c.x == 0.0 && c.y == 0.0)) return false;
  CartesianToGeographic(c, output_.ellipsoid, outputGeographic_);
  return GeographicToOutput(out);
}

bool PointChain::GeographicToOutput(double out[3]) {
  if (outputFamily_ == SystemFamily::Cartesian) {
    // Only a grid's chain reaches the output's cartesian system this way.
    GeographicToCartesian(outputGeographic_, output_.ellipsoid, outputCartesian_);
    out[0] = outputCartesian_.x;
    out[1] = outputCartesian_.y;
    out[2] = outputCartesian_.z;
    return true;
  }
  if (outputFamily_ == SystemFamily::Geographic) {
    out[0] = outputGeographic_.longitude.Degrees();
    out[1] = outputGeographic_.latitude.Degrees();
    out[2] = AdjustOutputHeight(outputGeographic_.height);
    return true;
  }
  TransverseMercatorForward(outputGeographic_, outputSeries_, output_.centralMeridian,
                            output_.scaleFactor, output_.falseEasting, output_.falseNorthing,
                            outputProjected_);
  out[0] = outputProjected_.easting;
  out[1] = outputProjected_.northing;
  out[2] = AdjustOutputHeight(outputProjected_.height);
  return WithinGrid(out[0], out[1], output_);
}

double PointChain::AdjustOutputHeight(double height) const {
  // Imported heights: the height with which the point entered the chain.
  if (altimetry_.importHeights) return inputGeographic_.height;
  if (altimetry_.outputUseMeanHeight) height = altimetry_.outputMeanHeight;
  if (altimetry_.outputGeometric && altimetry_.outputMeanUndulation) {
    height = height + altimetry_.outputUndulation;
  }
  return height;
}

}  // namespace transref
