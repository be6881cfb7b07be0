#include "conversion/dxf/DxfGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace transref::dxf {
namespace {

// The arbitrary-axis algorithm's test for an extrusion close to the world Z.
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
// Offset carried on each side of a point to measure the chain's derivative.
constexpr double kFrameStep = 1.0;  // metres

Vec3 Normalised(Vec3 v) {
  const double length = Length(v);
  return length > 0.0 ? (1.0 / length) * v : v;
}

}  // namespace

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }

Ocs::Ocs(Vec3 extrusion) {
  // The world's own system, by far the most common: nothing to compute.
  if (extrusion.x == 0.0 && extrusion.y == 0.0 && extrusion.z == 1.0) return;
  if (!(Length(extrusion) > 0.0) || !std::isfinite(Length(extrusion))) return;
  n_ = Normalised(extrusion);
  vertical_ = n_.x == 0.0 && n_.y == 0.0;
  if (std::fabs(n_.x) < kArbitraryAxisLimit && std::fabs(n_.y) < kArbitraryAxisLimit) {
    ax_ = Normalised(Cross({0, 1, 0}, n_));
  } else {
    ax_ = Normalised(Cross({0, 0, 1}, n_));
  }
  ay_ = Normalised(Cross(n_, ax_));
}

bool LocalFrame::Build(PointChain& chain, double x, double y, double z) {
  double east[3], west[3], north[3], south[3];
  if (!chain.Transform(x + kFrameStep, y, z, east) || !chain.Transform(x - kFrameStep, y, z, west) ||
      !chain.Transform(x, y + kFrameStep, z, north) || !chain.Transform(x, y - kFrameStep, z, south)) {
    return false;
  }
  j11 = (east[0] - west[0]) / (2 * kFrameStep);
  j21 = (east[1] - west[1]) / (2 * kFrameStep);
  j12 = (north[0] - south[0]) / (2 * kFrameStep);
  j22 = (north[1] - south[1]) / (2 * kFrameStep);
  scale = std::sqrt(std::fabs(j11 * j22 - j12 * j21));
  rotation = std::atan2(j21 - j12, j11 + j22);
  return std::isfinite(scale) && scale > 0.0;
}

Vec3 LocalFrame::ApplyToNormal(Vec3 n) const {
  // A = [J 0; 0 1]; A^-T N = (J^-T (Nx, Ny), Nz).
  const double det = j11 * j22 - j12 * j21;
  return Normalised({(j22 * n.x - j21 * n.y) / det, (-j12 * n.x + j11 * n.y) / det, n.z});
}

GridRoundTrip::GridRoundTrip(const ChainSide& side)
    : side_(side), projected_(FamilyOf(side.system) == SystemFamily::Projected), series_(side.ellipsoid) {
  if (!projected_) {
    boxEasting_ = boxNorthing_ = std::numeric_limits<double>::infinity();
    return;
  }
  // The miss grows away from the central meridian and towards the poles: a
  // box whose whole border comes back within a hundredth of the tolerance
  // holds everything inside it. 300 km either side of the meridian, up to
  // 54 degrees of latitude (scaled as the grid is; the series miss 7 mm at
  // its corners); probed once per run.
  constexpr double kHalfWidth = 300e3, kHalfHeight = 6e6;
  constexpr int kProbes = 16;
  const double width = kHalfWidth * side.scaleFactor, height = kHalfHeight * side.scaleFactor;
  for (int k = 0; k <= kProbes; ++k) {
    const double f = static_cast<double>(k) / kProbes;
    for (const double sign : {-1.0, 1.0}) {
      const double along = side.falseEasting + sign * width * f, up = side.falseNorthing + sign * height * f;
      for (const double e : {side.falseEasting - width, side.falseEasting + width}) {
        if (!(Miss(e, up) <= kRoundTripTolerance / 100)) return;
      }
      for (const double n : {side.falseNorthing - height, side.falseNorthing + height}) {
        if (!(Miss(along, n) <= kRoundTripTolerance / 100)) return;
      }
    }
  }
  boxEasting_ = width;
  boxNorthing_ = height;
}

double GridRoundTrip::Miss(double easting, double northing) const {
  if (!projected_) return 0.0;
  ProjectedPoint grid;
  grid.easting = easting;
  grid.northing = northing;
  grid.centralMeridian = side_.centralMeridian;
  GeographicPoint ground;
  TransverseMercatorInverse(grid, series_, side_.scaleFactor, side_.falseEasting, side_.falseNorthing, ground);
  ProjectedPoint again;
  TransverseMercatorForward(ground, series_, side_.centralMeridian, side_.scaleFactor, side_.falseEasting,
                            side_.falseNorthing, again);
  return std::hypot(again.easting - easting, again.northing - northing);
}

bool CircleThrough(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                   double& cy, double& radius) {
  // Relative to the first point, to keep the digits of ground coordinates.
  const double bx = x2 - x1, by = y2 - y1, qx = x3 - x1, qy = y3 - y1;
  const double d = 2.0 * (bx * qy - by * qx);
  const double scale = (bx * bx + by * by) + (qx * qx + qy * qy);
  if (!(std::fabs(d) > 1e-12 * scale)) return false;
  const double b2 = bx * bx + by * by, q2 = qx * qx + qy * qy;
  const double ux = (qy * b2 - by * q2) / d;
  const double uy = (bx * q2 - qx * b2) / d;
  cx = x1 + ux;
  cy = y1 + uy;
  radius = std::hypot(ux, uy);
  return std::isfinite(radius);
}

double NormalisedDegrees(double degrees) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0.0) r += 360.0;
  if (r >= 360.0) r -= 360.0;
  return r;
}

double TurnedDegrees(double old, double turned) {
  double turn = std::fmod(turned - old, 360.0);
  if (turn > 180.0) turn -= 360.0;
  if (turn <= -180.0) turn += 360.0;
  const double result = old + turn;
  return old >= 0.0 && old < 360.0 ? NormalisedDegrees(result) : result;
}

char* FormatShortest(char* first, double value) {
  if (value == 0.0) value = 0.0;  // no "-0.0"
  const double magnitude = std::fabs(value);
  char* last = first + kShortestRoom;
  char* end;
  if (magnitude == 0.0 || (magnitude >= 1e-9 && magnitude < 1e16)) {
    end = std::to_chars(first, last, value, std::chars_format::fixed).ptr;
  } else {
    end = std::to_chars(first, last, value, std::chars_format::scientific).ptr;
  }
  // A point in every number, never a locale's comma: "5" -> "5.0",
  // "1e-40" -> "1.0e-40".
  char* exponent = std::find(first, end, 'e');
  if (std::find(first, exponent, '.') == exponent) {
    const std::size_t tail = static_cast<std::size_t>(end - exponent);
    std::memmove(exponent + 2, exponent, tail);
    exponent[0] = '.';
    exponent[1] = '0';
    end += 2;
  }
  return end;
}

}  // namespace transref::dxf
