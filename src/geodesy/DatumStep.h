#pragma once

// Change of reference frame on geocentric cartesian coordinates:
// X' = M X + T, with M = scale * R (seven-parameter similarity) or the
// nine coefficients of the twelve-parameter affine model.

#include <array>

#include "geodesy/Ellipsoid.h"
#include "numerics/ZRTMatrix.h"

namespace transref {

// Seven-parameter (isogonal) set: translations in metres, rotations in
// decimal degrees, scale as a pure factor (1 = unchanged).
struct IsogonalParameters {
  double tx = 0.0;
  double ty = 0.0;
  double tz = 0.0;
  double rx = 0.0;
  double ry = 0.0;
  double rz = 0.0;
  double scale = 1.0;
};

// Twelve-parameter affine set: translations in metres and the matrix
// [[a, b, c], [d, e, f], [g, h, i]] row by row; identity by default.
struct AffineParameters {
  double tx = 0.0;
  double ty = 0.0;
  double tz = 0.0;
  double a = 1.0, b = 0.0, c = 0.0;
  double d = 0.0, e = 1.0, f = 0.0;
  double g = 0.0, h = 0.0, i = 1.0;
};

// True when the seven values change nothing (all exactly 0, scale exactly 1).
bool IsIdentity(const IsogonalParameters& parameters);
bool IsIdentity(const AffineParameters& parameters);

// Three rotation angles (degrees) and R = Rz(rz) Ry(ry) Rx(rx), the
// right-handed rotations of the position vector about X, then Y, then Z.
class RotationSet {
 public:
  RotationSet(double rxDegrees, double ryDegrees, double rzDegrees);
  void SetAngles(double rxDegrees, double ryDegrees, double rzDegrees);

  const Angle& Rx() const { return rx_; }
  const Angle& Ry() const { return ry_; }
  const Angle& Rz() const { return rz_; }
  // Element k of R, row by row (r11, r12, r13, r21, ..., r33).
  double Element(int k) const { return r_[static_cast<std::size_t>(k)]; }
  // R as a new 3x3 matrix.
  ZRTMatrixSys::ZRTMatrix RotationMatrix() const;

 private:
  Angle rx_, ry_, rz_;
  std::array<double, 9> r_{};
};

struct DatumStep {
  ZRTMatrixSys::ZRTMatrix m{3, 3};  // 3x3
  ZRTMatrixSys::ZRTMatrix t{3, 1};  // translation column
  bool isIdentity = true;
};

// M = scale * R, T = (tx, ty, tz).
DatumStep BuildDatumStep(const IsogonalParameters& parameters);
// M = [[a, b, c], [d, e, f], [g, h, i]], T = (tx, ty, tz).
DatumStep BuildAffineDatumStep(const AffineParameters& parameters);

// out = M in + T; an exact copy when the step is the identity.
void ApplyDatumStep(const DatumStep& step, const CartesianPoint& in, CartesianPoint& out);

}  // namespace transref
