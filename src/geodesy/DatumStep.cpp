#include "geodesy/DatumStep.h"

#include <cmath>

namespace transref {

using ZRTMatrixSys::ZRTMatrix;

bool IsIdentity(const IsogonalParameters& p) {
  return p.tx == 0.0 && p.ty == 0.0 && p.tz == 0.0 && p.rx == 0.0 && p.ry == 0.0 &&
         p.rz == 0.0 && p.scale == 1.0;
}

bool IsIdentity(const AffineParameters& p) {
  return p.tx == 0.0 && p.ty == 0.0 && p.tz == 0.0 && p.a == 1.0 && p.b == 0.0 &&
         p.c == 0.0 && p.d == 0.0 && p.e == 1.0 && p.f == 0.0 && p.g == 0.0 && p.h == 0.0 &&
         p.i == 1.0;
}

RotationSet::RotationSet(double rxDegrees, double ryDegrees, double rzDegrees) {
  SetAngles(rxDegrees, ryDegrees, rzDegrees);
}

// R = Rz(rz) Ry(ry) Rx(rx), written out without small-angle simplification.
void RotationSet::SetAngles(double rxDegrees, double ryDegrees, double rzDegrees) {
  rx_ = Angle(rxDegrees);
  ry_ = Angle(ryDegrees);
  rz_ = Angle(rzDegrees);
  const double cx = std::cos(rx_.ToRadians()), sx = std::sin(rx_.ToRadians());
  const double cy = std::cos(ry_.ToRadians()), sy = std::sin(ry_.ToRadians());
  const double cz = std::cos(rz_.ToRadians()), sz = std::sin(rz_.ToRadians());
  r_ = {cy * cz, sx * sy * cz - cx * sz, cx * sy * cz + sx * sz,
        cy * sz, sx * sy * sz + cx * cz, cx * sy * sz - sx * cz,
        -sy,     sx * cy,                cx * cy};
}

ZRTMatrix RotationSet::RotationMatrix() const {
  ZRTMatrix r(3, 3);
  for (int k = 0; k < 9; ++k) r[k] = r_[static_cast<std::size_t>(k)];
  return r;
}

namespace {

ZRTMatrix Column(double x, double y, double z) {
  ZRTMatrix v(3, 1);
  v[0] = x;
  v[1] = y;
  v[2] = z;
  return v;
}

}  // namespace

DatumStep BuildDatumStep(const IsogonalParameters& p) {
  DatumStep step;
  step.isIdentity = IsIdentity(p);
  const RotationSet rotations(p.rx, p.ry, p.rz);
  step.m = p.scale * rotations.RotationMatrix();
  step.t = Column(p.tx, p.ty, p.tz);
  return step;
}

DatumStep BuildAffineDatumStep(const AffineParameters& p) {
  DatumStep step;
  step.isIdentity = IsIdentity(p);
  const double coefficients[9] = {p.a, p.b, p.c, p.d, p.e, p.f, p.g, p.h, p.i};
  for (int k = 0; k < 9; ++k) step.m[k] = coefficients[k];
  step.t = Column(p.tx, p.ty, p.tz);
  return step;
}

void ApplyDatumStep(const DatumStep& step, const CartesianPoint& in, CartesianPoint& out) {
  if (step.isIdentity) {
    out = in;
    return;
  }
  using ZRTMatrixSys::MatrixKind;
  if (step.m.Kind() == MatrixKind::DenseSquare && step.m.Rows() == 3 && step.t.Kind() == MatrixKind::Column &&
      step.t.Rows() == 3) {
    // What M * X + T computes for these kinds (each row summed from 0.0
    // over k = 0, 1, 2, then the translation added), without building the
    // three matrices of the expression for every point: the same roundings
    // in the same order, so the same values.
    const double* m = step.m.Data();
    const double* t = step.t.Data();
    const double v[3] = {in.x, in.y, in.z};
    double u[3];
    for (int i = 0; i < 3; ++i) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) sum += m[i * 3 + k] * v[k];
      u[i] = sum + t[i];
    }
    out.x = u[0];
    out.y = u[1];
    out.z = u[2];
    return;
  }
  const ZRTMatrix u = step.m * Column(in.x, in.y, in.z) + step.t;
  out.x = u[0];
  out.y = u[1];
  out.z = u[2];
}

}  // namespace transref
