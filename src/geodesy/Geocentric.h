#pragma once

// Geographic <-> geocentric cartesian coordinates on one ellipsoid.

#include "geodesy/Ellipsoid.h"

namespace transref {

// X, Y, Z from longitude, latitude and ellipsoidal height.
void GeographicToCartesian(const GeographicPoint& in, const Ellipsoid& ellipsoid,
                           CartesianPoint& out);

// Longitude, latitude and ellipsoidal height from X, Y, Z with one step of
// Bowring's formula (no iteration). A point on the polar axis (X = Y = 0)
// has no defined result; callers must keep such points away.
void CartesianToGeographic(const CartesianPoint& in, const Ellipsoid& ellipsoid,
                           GeographicPoint& out);

}  // namespace transref
