#pragma once

// Transverse Mercator projection (equator as latitude of origin) by the
// series in Snyder, "Map Projections - A Working Manual", USGS Professional
// Paper 1395 (1987), pp. 60-64: meridional arc to e^6, terms to the sixth
// power of the longitude difference.

#include "geodesy/Ellipsoid.h"

namespace transref {

// The coefficients of the series that depend on the ellipsoid alone. A run
// works them out once instead of once per point; they are the very
// expressions of the series, so every projected value stays the same.
struct TransverseMercatorCoefficients {
  explicit TransverseMercatorCoefficients(const Ellipsoid& ellipsoid);

  double a;    // semi-major axis
  double e2;   // e^2
  double ep2;  // e'^2
  // Meridional arc M = a (arc0 phi - arc2 sin 2phi + arc4 sin 4phi - arc6 sin 6phi)
  // (Snyder eq. 3-21).
  double arc0, arc2, arc4, arc6;
  // Footpoint latitude phi1 = mu + foot2 sin 2mu + foot4 sin 4mu + foot6 sin 6mu,
  // mu = M / (a arc0) (Snyder eqs. 3-24, 7-19, 3-26).
  double arcScale;  // a arc0
  double foot2, foot4, foot6;
  double meridianRadiusFactor;  // a (1 - e^2), numerator of R1 (Snyder eq. 8-24)
};

// Projects a geographic point. The result keeps the height, stores the
// central meridian (degrees) and is flagged northern when the latitude is
// >= 0. The meridian is used and kept in full double precision: a
// customised meridian such as 51° 15' 30" W is applied as displayed.
void TransverseMercatorForward(const GeographicPoint& in, const TransverseMercatorCoefficients& series,
                               double centralMeridianDegrees, double scaleFactor,
                               double falseEasting, double falseNorthing,
                               ProjectedPoint& out);
void TransverseMercatorForward(const GeographicPoint& in, const Ellipsoid& ellipsoid,
                               double centralMeridianDegrees, double scaleFactor,
                               double falseEasting, double falseNorthing,
                               ProjectedPoint& out);

// Inverse projection; the central meridian comes from the projected point.
// The northern flag plays no part (the hemisphere is carried by the false
// northing).
void TransverseMercatorInverse(const ProjectedPoint& in, const TransverseMercatorCoefficients& series,
                               double scaleFactor, double falseEasting,
                               double falseNorthing, GeographicPoint& out);
void TransverseMercatorInverse(const ProjectedPoint& in, const Ellipsoid& ellipsoid,
                               double scaleFactor, double falseEasting,
                               double falseNorthing, GeographicPoint& out);

}  // namespace transref
