#include "geodesy/Geocentric.h"

#include <cmath>

namespace transref {

// Standard closed form, e.g. Torge, "Geodesy", eq. for ellipsoidal
// coordinates: X = (N + h) cos(phi) cos(lambda), Y = (N + h) cos(phi)
// sin(lambda), Z = ((1 - e^2) N + h) sin(phi).
void GeographicToCartesian(const GeographicPoint& in, const Ellipsoid& ellipsoid,
                           CartesianPoint& out) {
  const double phi = in.latitude.ToRadians();
  const double lambda = in.longitude.ToRadians();
  // sin(phi) serves N(phi) and Z; each sine and cosine is taken once.
  const double sinPhi = std::sin(phi);
  const double cosPhi = std::cos(phi);
  const double n = ellipsoid.PrimeVerticalRadiusFromSine(sinPhi);
  const double h = in.height;
  out.x = (n + h) * cosPhi * std::cos(lambda);
  out.y = (n + h) * cosPhi * std::sin(lambda);
  out.z = ((1.0 - ellipsoid.EccentricitySquared()) * n + h) * sinPhi;
}

// Bowring (1976), "Transformation from spatial to geographical coordinates",
// Survey Review 23(181), a single step from the parametric latitude theta:
//   tan(theta) = Z a / (p b)
//   tan(phi)   = (Z + e'^2 b sin^3 theta) / (p - e^2 a cos^3 theta)
//   h          = p / cos(phi) - N(phi)
void CartesianToGeographic(const CartesianPoint& in, const Ellipsoid& ellipsoid,
                           GeographicPoint& out) {
  const double a = ellipsoid.SemiMajorAxis();
  const double b = ellipsoid.SemiMinorAxis();
  const double e2 = ellipsoid.EccentricitySquared();
  const double ep2 = ellipsoid.SecondEccentricitySquared();

  const double p = std::sqrt(in.x * in.x + in.y * in.y);
  const double t = (in.z * a) / (p * b);
  const double root = std::sqrt(t * t + 1.0);
  const double sinTheta = t / root;
  const double cosTheta = 1.0 / root;
  const double sin3 = sinTheta * sinTheta * sinTheta;
  const double cos3 = cosTheta * cosTheta * cosTheta;
  const double phi = std::atan((in.z + ep2 * b * sin3) / (p - e2 * a * cos3));
  const double lambda = std::atan2(in.y, in.x);

  out.latitude = RadiansToDegrees(phi);
  out.longitude = RadiansToDegrees(lambda);
  const double n = ellipsoid.PrimeVerticalRadius(out.latitude.Degrees());
  out.height = p / std::cos(phi) - n;
}

}  // namespace transref
