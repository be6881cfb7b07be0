#pragma once

// Ellipsoid of revolution, angles in decimal degrees and the three point
// records (geographic, geocentric cartesian, projected) that every
// coordinate passes through.

#include <limits>

namespace transref {

// Degrees to radians: the double nearest pi/180.
inline constexpr double kDegreesToRadians = 0.017453292519943295;
// Radians to degrees: 180/pi in extended precision; a product with it is
// rounded to double only when it is stored.
inline constexpr long double kRadiansToDegrees = 57.29577951308232184463L;

// Converts radians to degrees through the extended-precision factor.
inline double RadiansToDegrees(double radians) {
  return static_cast<double>(static_cast<long double>(radians) * kRadiansToDegrees);
}

// An angle held in decimal degrees; radians exist only on demand.
class Angle {
 public:
  constexpr Angle() = default;
  constexpr explicit Angle(double degrees) : degrees_(degrees) {}
  static Angle FromRadians(double radians) { return Angle(RadiansToDegrees(radians)); }

  constexpr double Degrees() const { return degrees_; }
  double ToRadians() const { return degrees_ * kDegreesToRadians; }

 protected:
  double degrees_ = 0.0;
};

class Ellipsoid {
 public:
  // The default ellipsoid is a sphere of radius 6371000 m.
  static constexpr double kDefaultRadius = 6371000.0;

  // An infinite reciprocal flattening is f = 0: the sphere.
  Ellipsoid() {
    SetFromAxisAndInverseFlattening(kDefaultRadius, std::numeric_limits<double>::infinity());
  }
  Ellipsoid(double semiMajorAxis, double inverseFlattening) {
    SetFromAxisAndInverseFlattening(semiMajorAxis, inverseFlattening);
  }

  // Derives f, b, e^2 and e'^2 from a and 1/f.
  void SetFromAxisAndInverseFlattening(double semiMajorAxis, double inverseFlattening);

  double Flattening() const { return flattening_; }
  double SemiMajorAxis() const { return semiMajorAxis_; }
  double SemiMinorAxis() const { return semiMinorAxis_; }
  double EccentricitySquared() const { return eccentricitySquared_; }
  double SecondEccentricitySquared() const { return secondEccentricitySquared_; }

  // Prime-vertical radius of curvature N(phi) = a / sqrt(1 - e^2 sin^2 phi),
  // phi in decimal degrees.
  double PrimeVerticalRadius(double latitudeDegrees) const;
  double PrimeVerticalRadius(Angle latitude) const {
    return PrimeVerticalRadius(latitude.Degrees());
  }
  // The same from sin(phi), for callers that need the sine anyway.
  double PrimeVerticalRadiusFromSine(double sinLatitude) const;

 private:
  double flattening_ = 0.0;
  double semiMajorAxis_ = 0.0;
  double semiMinorAxis_ = 0.0;
  double eccentricitySquared_ = 0.0;
  double secondEccentricitySquared_ = 0.0;
};

// The folding of values outside the ranges below.
double FoldLatitude(double degrees);
double FoldLongitude(double degrees);

// Folds a latitude into [-90, 90]: beyond 90 it is reflected over the pole,
// whole turns are removed. Non-finite values are returned unchanged.
inline double NormaliseLatitude(double degrees) {
  return degrees >= -90.0 && degrees <= 90.0 ? degrees : FoldLatitude(degrees);
}
// Folds a longitude into [-180, 180] by whole turns; -180 and 180 both stay.
// Non-finite values are returned unchanged.
inline double NormaliseLongitude(double degrees) {
  return degrees >= -180.0 && degrees <= 180.0 ? degrees : FoldLongitude(degrees);
}

// An angle that passes every assigned value through its folding rule.
template <double (*Normalise)(double)>
class NormalisedAngle : public Angle {
 public:
  constexpr NormalisedAngle() = default;
  explicit NormalisedAngle(double degrees) : Angle(Normalise(degrees)) {}
  NormalisedAngle& operator=(double degrees) {
    degrees_ = Normalise(degrees);
    return *this;
  }
};

using Latitude = NormalisedAngle<NormaliseLatitude>;
using Longitude = NormalisedAngle<NormaliseLongitude>;

struct GeographicPoint {
  Longitude longitude;
  Latitude latitude;
  double height = 0.0;  // metres
};

struct CartesianPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct ProjectedPoint {
  double easting = 0.0;
  double northing = 0.0;
  double height = 0.0;
  double centralMeridian = 0.0;  // decimal degrees, east positive
  bool northern = false;
};

}  // namespace transref
