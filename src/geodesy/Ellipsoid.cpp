#include "geodesy/Ellipsoid.h"

#include <cmath>

namespace transref {

void Ellipsoid::SetFromAxisAndInverseFlattening(double semiMajorAxis,
                                                double inverseFlattening) {
  semiMajorAxis_ = semiMajorAxis;
  flattening_ = 1.0 / inverseFlattening;
  eccentricitySquared_ = 2.0 * flattening_ - flattening_ * flattening_;
  semiMinorAxis_ = (1.0 - flattening_) * semiMajorAxis_;
  const double a2 = semiMajorAxis_ * semiMajorAxis_;
  const double b2 = semiMinorAxis_ * semiMinorAxis_;
  secondEccentricitySquared_ = (a2 - b2) / b2;
}

double Ellipsoid::PrimeVerticalRadius(double latitudeDegrees) const {
  return PrimeVerticalRadiusFromSine(std::sin(latitudeDegrees * kDegreesToRadians));
}

double Ellipsoid::PrimeVerticalRadiusFromSine(double s) const {
  return semiMajorAxis_ / std::sqrt(1.0 - eccentricitySquared_ * s * s);
}

namespace {
constexpr double kFullTurn = 360.0;
}

// Folding rules: values beyond a whole turn lose whole turns (the remainder
// is exact, so this equals repeated subtraction of 360 for every value where
// that subtraction makes progress); then 90 < x <= 270 reflects to 180 - x,
// 270 < x <= 360 becomes x - 360, and symmetrically for negative values.
double FoldLatitude(double x) {
  if (!std::isfinite(x)) return x;
  if (x >= -90.0 && x <= 90.0) return x;
  if (x > kFullTurn || x < -kFullTurn) {
    x = std::fmod(x, kFullTurn);  // exact, |x| < 360, sign of the input
    if (x == 0.0) return 0.0;     // a whole number of turns: +0 like x - 360
  }
  if (x > 90.0 && x <= 270.0) return 180.0 - x;
  if (x > 270.0) return x - kFullTurn;
  if (x < -90.0 && x >= -270.0) return -180.0 - x;
  if (x < -270.0) return x + kFullTurn;
  return x;
}

double FoldLongitude(double x) {
  if (!std::isfinite(x)) return x;
  if (x >= -180.0 && x <= 180.0) return x;
  // fmod keeps the sign of x; one more turn brings the remainder into
  // (-180, 180] for positive input and [-180, 180) for negative input,
  // which is where repeated subtraction or addition of 360 stops.
  x = std::fmod(x, kFullTurn);
  if (x > 180.0) x -= kFullTurn;
  if (x < -180.0) x += kFullTurn;
  if (x == 0.0) x = 0.0;  // -0 from a negative whole turn reads +0
  return x;
}

}  // namespace transref
