// Plane and space geometry of a drawing's entities: object coordinate
// systems (the DXF reference's arbitrary-axis algorithm), the local linear
// part of the point chain at an entity, the circle through three points, and
// the number texts of values the conversion rewrites.
#pragma once

#include <cmath>
#include <cstddef>

#include "geodesy/PointChain.h"

namespace transref::dxf {

struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
double Length(Vec3 a);

// The axes of an object coordinate system (OCS) built from its extrusion
// direction N by the arbitrary-axis algorithm of the DXF reference:
//   if |Nx| < 1/64 and |Ny| < 1/64:  Ax = (0,1,0) x N,  else  Ax = (0,0,1) x N
//   Ax normalised, Ay = N x Ax normalised.
// OCS -> WCS: P = x Ax + y Ay + z N; WCS -> OCS: (P.Ax, P.Ay, P.N).
class Ocs {
 public:
  Ocs() = default;                // the world system: N = (0, 0, 1)
  explicit Ocs(Vec3 extrusion);   // normalised here; a null vector stands for (0, 0, 1)

  Vec3 Normal() const { return n_; }
  // True when N is (0, 0, 1) or (0, 0, -1) exactly: the OCS shares the
  // world's vertical, only X may be mirrored.
  bool Vertical() const { return vertical_; }
  Vec3 ToWorld(Vec3 p) const { return p.x * ax_ + p.y * ay_ + p.z * n_; }
  Vec3 FromWorld(Vec3 p) const { return {Dot(p, ax_), Dot(p, ay_), Dot(p, n_)}; }

 private:
  Vec3 ax_{1, 0, 0}, ay_{0, 1, 0}, n_{0, 0, 1};
  bool vertical_ = true;
};

// The chain's linear part at one ground point: the 2x2 Jacobian of
// (E, N) -> (E', N') by central differences of +-1 m carried through the
// chain, its scale k = sqrt|det J| and rotation
// gamma = atan2(J21 - J12, J11 + J22) (counter-clockwise). Heights pass
// unchanged (a vector's Z is not scaled).
struct LocalFrame {
  double j11 = 1.0, j12 = 0.0, j21 = 0.0, j22 = 1.0;
  double scale = 1.0;
  double rotation = 0.0;  // radians

  // False when a neighbour of the point cannot be carried.
  bool Build(PointChain& chain, double x, double y, double z);
  Vec3 Apply(Vec3 v) const { return {j11 * v.x + j12 * v.y, j21 * v.x + j22 * v.y, v.z}; }
  // The extrusion of a tilted plane carried by (J, identity on Z): the
  // normal of the image plane, A^-T N, normalised.
  Vec3 ApplyToNormal(Vec3 n) const;
};

// Whether a position of the input grid is one its projection series can
// carry: projected back to the ellipsoid and forward again it must come
// back within kRoundTripTolerance. Far outside the zone (the view centre
// 0,0 of a UTM drawing lies at 85.5 degrees S) the two series no longer
// invert each other, and what the chain gives there is no position at all.
// A side that is not a grid holds every position.
class GridRoundTrip {
 public:
  static constexpr double kRoundTripTolerance = 1.0;  // metres
  explicit GridRoundTrip(const ChainSide& side);
  bool Holds(double easting, double northing) const {
    // Inside the zone's box no position needs the round trip.
    if (std::fabs(easting - side_.falseEasting) <= boxEasting_ &&
        std::fabs(northing - side_.falseNorthing) <= boxNorthing_) {
      return true;
    }
    return Miss(easting, northing) <= kRoundTripTolerance;
  }

 private:
  // How far the round trip of a position misses it (NaN: it cannot be taken).
  double Miss(double easting, double northing) const;

  ChainSide side_;
  bool projected_;
  TransverseMercatorCoefficients series_;
  // Half-sizes of the box about the false origin where every position comes
  // back (zero: none is known).
  double boxEasting_ = 0.0, boxNorthing_ = 0.0;
};

// Centre and radius of the circle through three plane points; false when
// they are (numerically) on one line.
bool CircleThrough(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                   double& cy, double& radius);

// An angle in degrees reduced to [0, 360).
double NormalisedDegrees(double degrees);
// The new value of an angle written `old` (degrees) whose direction is now
// `turned` (degrees, any turn): old plus the smallest turn in (-180, 180],
// reduced to [0, 360) when `old` was in that range.
double TurnedDegrees(double old, double turned);

// Room for any text written by FormatShortest.
inline constexpr std::size_t kShortestRoom = 64;
// The shortest decimal text that reads back to the same double, in fixed
// notation and always with a point ("5.0", "0.0000001", "-87.00000000000001");
// values beyond fixed notation's comfort use an exponent ("1.5e-40").
// Returns the end of the text.
char* FormatShortest(char* first, double value);

}  // namespace transref::dxf
