#include "geodesy/DatumStep.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geodesy/ParameterSets.h"

namespace transref {
namespace {

CartesianPoint Apply(const DatumStep& step, CartesianPoint in) {
  CartesianPoint out{-1.0, -1.0, -1.0};
  ApplyDatumStep(step, in, out);
  return out;
}

IsogonalParameters Isogonal(double tx, double ty, double tz, double rx, double ry, double rz,
                            double scale) {
  return IsogonalParameters{tx, ty, tz, rx, ry, rz, scale};
}

TEST(DatumStepTest, NeutralParametersCopyEveryPointExactly) {
  const DatumStep step = BuildDatumStep(IsogonalParameters{});
  EXPECT_TRUE(step.isIdentity);
  const CartesianPoint in{4093591.123456789, -4975203.987654321, -3170476.000000001};
  const CartesianPoint out = Apply(step, in);
  EXPECT_EQ(out.x, in.x);
  EXPECT_EQ(out.y, in.y);
  EXPECT_EQ(out.z, in.z);
}

TEST(DatumStepTest, IdentityNeedsEveryValueExactlyNeutral) {
  EXPECT_TRUE(IsIdentity(IsogonalParameters{}));
  EXPECT_FALSE(IsIdentity(Isogonal(0, 0, 0, 0, 0, 0, 1.0000001)));
  EXPECT_FALSE(IsIdentity(Isogonal(0, 0, 0, 0, 0, 1e-12, 1)));
  EXPECT_FALSE(IsIdentity(Isogonal(0, -0.001, 0, 0, 0, 0, 1)));
  EXPECT_FALSE(BuildDatumStep(Isogonal(0, 0, 0, 0, 0, 0, 1.0000001)).isIdentity);
}

TEST(DatumStepTest, TranslationOnly) {
  const CartesianPoint out =
      Apply(BuildDatumStep(Isogonal(10, -20, 5, 0, 0, 0, 1)), {6378137.0, 0.0, 0.0});
  EXPECT_EQ(out.x, 6378147.0);
  EXPECT_EQ(out.y, -20.0);
  EXPECT_EQ(out.z, 5.0);
}

TEST(DatumStepTest, RightHandedRotationsInDegrees) {
  // rz = 90: the X axis turns towards Y.
  CartesianPoint out = Apply(BuildDatumStep(Isogonal(0, 0, 0, 0, 0, 90, 1)), {1000, 0, 0});
  EXPECT_NEAR(out.x, 0.0, 1e-9);
  EXPECT_NEAR(out.y, 1000.0, 1e-9);
  EXPECT_NEAR(out.z, 0.0, 1e-9);
  // rx = 90: Y turns towards Z.
  out = Apply(BuildDatumStep(Isogonal(0, 0, 0, 90, 0, 0, 1)), {0, 1000, 0});
  EXPECT_NEAR(out.x, 0.0, 1e-9);
  EXPECT_NEAR(out.y, 0.0, 1e-9);
  EXPECT_NEAR(out.z, 1000.0, 1e-9);
  // ry = 90: Z turns towards X.
  out = Apply(BuildDatumStep(Isogonal(0, 0, 0, 0, 90, 0, 1)), {0, 0, 1000});
  EXPECT_NEAR(out.x, 1000.0, 1e-9);
  EXPECT_NEAR(out.y, 0.0, 1e-9);
  EXPECT_NEAR(out.z, 0.0, 1e-9);
}

TEST(DatumStepTest, ScaleOnly) {
  const CartesianPoint out =
      Apply(BuildDatumStep(Isogonal(0, 0, 0, 0, 0, 0, 0.9999960439)), {6378137.0, 0.0, 0.0});
  EXPECT_NEAR(out.x, 6378111.767, 0.0005);
  EXPECT_EQ(out.y, 0.0);
  EXPECT_EQ(out.z, 0.0);
}

// R must be Rz * Ry * Rx of the three elementary rotations.
TEST(RotationSetTest, IsTheProductOfTheElementaryRotations) {
  const double rx = 12.5, ry = -33.0, rz = 71.25;
  const RotationSet set(rx, ry, rz);
  const double d = kDegreesToRadians;
  const double x[9] = {1, 0, 0, 0, std::cos(rx * d), -std::sin(rx * d), 0, std::sin(rx * d),
                       std::cos(rx * d)};
  const double y[9] = {std::cos(ry * d), 0, std::sin(ry * d), 0, 1, 0, -std::sin(ry * d), 0,
                       std::cos(ry * d)};
  const double z[9] = {std::cos(rz * d), -std::sin(rz * d), 0, std::sin(rz * d),
                       std::cos(rz * d), 0, 0, 0, 1};
  auto multiply = [](const double* p, const double* q, double* r) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        r[3 * i + j] = 0;
        for (int k = 0; k < 3; ++k) r[3 * i + j] += p[3 * i + k] * q[3 * k + j];
      }
  };
  double yx[9], zyx[9];
  multiply(y, x, yx);
  multiply(z, yx, zyx);
  const ZRTMatrixSys::ZRTMatrix r = set.RotationMatrix();
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(set.Element(k), zyx[k], 1e-15) << k;
    EXPECT_EQ(r[k], set.Element(k)) << k;
  }
  EXPECT_EQ(set.Rz().Degrees(), rz);
}

// Each row is accumulated left to right from 0, the translation added last,
// with every coefficient scaled first.
TEST(DatumStepTest, AccumulationOrderOfTheSevenParameterStep) {
  const IsogonalParameters& p = kIsogonalGrs80ToHayford;
  const DatumStep step = BuildDatumStep(p);
  const RotationSet r(p.rx, p.ry, p.rz);
  const CartesianPoint in{3687944.212, -4620367.555, -2508594.987};
  const CartesianPoint out = Apply(step, in);
  const double t[3] = {p.tx, p.ty, p.tz};
  const double v[3] = {in.x, in.y, in.z};
  const double got[3] = {out.x, out.y, out.z};
  for (int row = 0; row < 3; ++row) {
    double sum = 0.0;
    for (int col = 0; col < 3; ++col) sum += (p.scale * r.Element(3 * row + col)) * v[col];
    EXPECT_EQ(got[row], sum + t[row]) << row;
  }
}

TEST(AffineDatumStepTest, AppliesTheTwelveValues) {
  AffineParameters p;
  p.tx = 100.0;
  p.ty = -50.0;
  p.tz = 25.0;
  p.a = 1.0;  p.b = 2.0;  p.c = 3.0;
  p.d = -1.0; p.e = 0.5;  p.f = 0.0;
  p.g = 0.0;  p.h = -2.0; p.i = 4.0;
  const DatumStep step = BuildAffineDatumStep(p);
  EXPECT_FALSE(step.isIdentity);
  const CartesianPoint out = Apply(step, {10.0, 20.0, 30.0});
  EXPECT_EQ(out.x, 10.0 + 40.0 + 90.0 + 100.0);
  EXPECT_EQ(out.y, -10.0 + 10.0 + 0.0 - 50.0);
  EXPECT_EQ(out.z, 0.0 - 40.0 + 120.0 + 25.0);
}

TEST(AffineDatumStepTest, IdentityShortcutOnlyForIdentityMatrixAndZeroTranslation) {
  AffineParameters p;
  EXPECT_TRUE(BuildAffineDatumStep(p).isIdentity);
  const CartesianPoint in{1.0 / 3.0, 2.0 / 7.0, -5.0 / 11.0};
  const CartesianPoint same = Apply(BuildAffineDatumStep(p), in);
  EXPECT_EQ(same.x, in.x);
  EXPECT_EQ(same.z, in.z);

  p.tz = 1.0;  // translation only
  const DatumStep moved = BuildAffineDatumStep(p);
  EXPECT_FALSE(moved.isIdentity);
  EXPECT_EQ(Apply(moved, in).z, in.z + 1.0);

  AffineParameters sheared;
  sheared.b = 1e-9;
  EXPECT_FALSE(BuildAffineDatumStep(sheared).isIdentity);
}

}  // namespace
}  // namespace transref
