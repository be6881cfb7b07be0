#pragma once

// Transverse Mercator projection (equator as latitude of origin) by the
// series in Snyder, "Map Projections - A Working Manual", USGS Professional
// Paper 1395 (1987), pp. 60-64: meridional arc to e^6, terms to the sixth
// power of the longitude difference.

#include "geodesy/Ellipsoid.h"

namespace transref {

// Projects a geographic point. The result keeps the height, stores the
// central meridian (degrees) and is flagged northern when the latitude is
// >= 0. The meridian is used and kept in full double precision: a
// customised meridian such as 51° 15' 30" W is applied as displayed.
void TransverseMercatorForward(const GeographicPoint& in, const Ellipsoid& ellipsoid,
                               double centralMeridianDegrees, double scaleFactor,
                               double falseEasting, double falseNorthing,
                               ProjectedPoint& out);

// Inverse projection; the central meridian comes from the projected point.
// The northern flag plays no part (the hemisphere is carried by the false
// northing).
void TransverseMercatorInverse(const ProjectedPoint& in, const Ellipsoid& ellipsoid,
                               double scaleFactor, double falseEasting,
                               double falseNorthing, GeographicPoint& out);

}  // namespace transref
