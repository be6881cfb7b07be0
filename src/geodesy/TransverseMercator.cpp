#include "geodesy/TransverseMercator.h"

#include <cmath>

namespace transref {

TransverseMercatorCoefficients::TransverseMercatorCoefficients(const Ellipsoid& ellipsoid)
    : a(ellipsoid.SemiMajorAxis()),
      e2(ellipsoid.EccentricitySquared()),
      ep2(ellipsoid.SecondEccentricitySquared()) {
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  // Snyder eq. 3-21.
  arc0 = 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0;
  arc2 = 3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0;
  arc4 = 15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0;
  arc6 = 35.0 * e6 / 3072.0;
  arcScale = a * arc0;
  // Snyder eqs. 3-24 and 3-26.
  const double root = std::sqrt(1.0 - e2);
  const double e1 = (1.0 - root) / (1.0 + root);
  const double e1_2 = e1 * e1;
  const double e1_3 = e1_2 * e1;
  const double e1_4 = e1_3 * e1;
  foot2 = 3.0 * e1 / 2.0 - 27.0 * e1_3 / 32.0;
  foot4 = 21.0 * e1_2 / 16.0 - 55.0 * e1_4 / 32.0;
  foot6 = 151.0 * e1_3 / 96.0;
  meridianRadiusFactor = a * (1.0 - e2);
}

void TransverseMercatorForward(const GeographicPoint& in, const TransverseMercatorCoefficients& series,
                               double centralMeridianDegrees, double scaleFactor,
                               double falseEasting, double falseNorthing,
                               ProjectedPoint& out) {
  const double ep2 = series.ep2;

  const double phi = in.latitude.ToRadians();
  const double lambda = in.longitude.ToRadians();
  const double lambda0 = centralMeridianDegrees * kDegreesToRadians;

  // Snyder eqs. 4-20 to 4-23 and 8-9 to 8-13.
  const double sinPhi = std::sin(phi);
  const double nu = series.a / std::sqrt(1.0 - series.e2 * sinPhi * sinPhi);  // N(phi)
  const double cosPhi = std::cos(phi);
  const double tanPhi = std::tan(phi);
  const double t = tanPhi * tanPhi;
  const double c = ep2 * cosPhi * cosPhi;
  const double aa = (lambda - lambda0) * cosPhi;

  // Meridional arc (Snyder eq. 3-21); the arc of the equator, M0, is 0.
  const double m = series.a * (series.arc0 * phi - series.arc2 * std::sin(2.0 * phi) +
                               series.arc4 * std::sin(4.0 * phi) - series.arc6 * std::sin(6.0 * phi));
  constexpr double m0 = 0.0;

  const double a2 = aa * aa;
  const double a3 = a2 * aa;
  const double a4 = a3 * aa;
  const double a5 = a4 * aa;
  const double a6 = a5 * aa;

  const double x = scaleFactor * nu *
                   (aa + (1.0 - t + c) * a3 / 6.0 +
                    (5.0 - 18.0 * t + t * t + 72.0 * c - 58.0 * ep2) * a5 / 120.0);
  const double y =
      scaleFactor *
      (m - m0 + nu * tanPhi *
                    (a2 / 2.0 + (5.0 - t + 9.0 * c + 4.0 * c * c) * a4 / 24.0 +
                     (61.0 - 58.0 * t + t * t + 600.0 * c - 330.0 * ep2) * a6 / 720.0));

  out.easting = falseEasting + x;
  out.northing = falseNorthing + y;
  out.height = in.height;
  out.centralMeridian = centralMeridianDegrees;
  out.northern = phi >= 0.0;
}

void TransverseMercatorForward(const GeographicPoint& in, const Ellipsoid& ellipsoid,
                               double centralMeridianDegrees, double scaleFactor,
                               double falseEasting, double falseNorthing,
                               ProjectedPoint& out) {
  TransverseMercatorForward(in, TransverseMercatorCoefficients(ellipsoid), centralMeridianDegrees, scaleFactor,
                            falseEasting, falseNorthing, out);
}

void TransverseMercatorInverse(const ProjectedPoint& in, const TransverseMercatorCoefficients& series,
                               double scaleFactor, double falseEasting,
                               double falseNorthing, GeographicPoint& out) {
  const double a = series.a;
  const double e2 = series.e2;
  const double ep2 = series.ep2;

  const double lambda0 = in.centralMeridian * kDegreesToRadians;
  const double x = in.easting - falseEasting;
  const double y = in.northing - falseNorthing;

  // Footpoint latitude (Snyder eqs. 3-24, 7-19, 3-26).
  const double m = y / scaleFactor;
  const double mu = m / series.arcScale;
  const double phi1 = mu + series.foot2 * std::sin(2.0 * mu) + series.foot4 * std::sin(4.0 * mu) +
                      series.foot6 * std::sin(6.0 * mu);

  // Snyder eqs. 8-21 to 8-25.
  const double sinPhi1 = std::sin(phi1);
  const double cosPhi1 = std::cos(phi1);
  const double tanPhi1 = std::tan(phi1);
  const double c1 = ep2 * cosPhi1 * cosPhi1;
  const double t1 = tanPhi1 * tanPhi1;
  const double w = 1.0 - e2 * sinPhi1 * sinPhi1;
  const double n1 = a / std::sqrt(w);
  const double r1 = series.meridianRadiusFactor / std::pow(w, 1.5);
  const double d = x / (n1 * scaleFactor);

  const double d2 = d * d;
  const double d3 = d2 * d;
  const double d4 = d3 * d;
  const double d5 = d4 * d;
  const double d6 = d5 * d;

  const double phi =
      phi1 - (n1 * tanPhi1 / r1) *
                 (d2 / 2.0 -
                  (5.0 + 3.0 * t1 + 10.0 * c1 - 4.0 * c1 * c1 - 9.0 * ep2) * d4 / 24.0 +
                  (61.0 + 90.0 * t1 + 298.0 * c1 + 45.0 * t1 * t1 - 252.0 * ep2 - 3.0 * c1 * c1) *
                      d6 / 720.0);
  const double lambda =
      lambda0 + (d - (1.0 + 2.0 * t1 + c1) * d3 / 6.0 +
                 (5.0 - 2.0 * c1 + 28.0 * t1 - 3.0 * c1 * c1 + 8.0 * ep2 + 24.0 * t1 * t1) * d5 /
                     120.0) /
                    cosPhi1;

  out.longitude = RadiansToDegrees(lambda);
  out.latitude = RadiansToDegrees(phi);
  out.height = in.height;
}

void TransverseMercatorInverse(const ProjectedPoint& in, const Ellipsoid& ellipsoid,
                               double scaleFactor, double falseEasting,
                               double falseNorthing, GeographicPoint& out) {
  TransverseMercatorInverse(in, TransverseMercatorCoefficients(ellipsoid), scaleFactor, falseEasting,
                            falseNorthing, out);
}

}  // namespace transref
