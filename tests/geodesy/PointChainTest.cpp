#include "geodesy/PointChain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GeodesyTestSupport.h"
#include "geodesy/Geocentric.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/TransverseMercator.h"
#include "CLocaleText.h"

namespace transref {
namespace {

using K = CoordinateSystemKind;
using testing::FrameEllipsoid;

ChainSide Side(K system, ReferenceFrame frame = ReferenceFrame::Grs80,
               double centralMeridian = -51.0, bool northern = false) {
  ChainSide side;
  side.system = system;
  side.ellipsoid = FrameEllipsoid(frame);
  side.centralMeridian = centralMeridian;
  side.northern = northern;
  if (IsProjected(system)) {
    const CoordinateSystemInfo& info = SystemInfo(system);
    side.scaleFactor = info.scaleFactor;
    side.falseEasting = transref::test::Number(std::string(info.falseEasting));
    side.falseNorthing = transref::test::Number(std::string(DefaultFalseNorthing(system, northern)));
  }
  return side;
}

AltimetrySettings NoHeightRules() {
  AltimetrySettings settings;
  settings.importHeights = false;
  return settings;
}

struct Result {
  bool ok;
  double v[3];
};

Result Carry(const ChainSide& in, const ChainSide& out, const AltimetrySettings& altimetry,
           double c1, double c2, double c3, const DatumStep& step = DatumStep{}) {
  PointChain chain(in, out, step, altimetry);
  Result r{false, {0, 0, 0}};
  r.ok = chain.Transform(c1, c2, c3, r.v);
  return r;
}

TEST(PointChainTest, UtmToTheSameUtmComesBackWithinAMillimetre) {
  const ChainSide utm = Side(K::Utm);
  const Result r = Carry(utm, utm, NoHeightRules(), 789409.653, 6677424.096, 0.0);
  ASSERT_TRUE(r.ok);
  EXPECT_NEAR(r.v[0], 789409.653, 1e-3);
  EXPECT_NEAR(r.v[1], 6677424.096, 1e-3);
  EXPECT_NEAR(r.v[2], 0.0, 1e-3);
}

TEST(PointChainTest, GeographicToCartesianAndCartesianCopies) {
  Result r = Carry(Side(K::Geographic), Side(K::Cartesian), NoHeightRules(), 0, 0, 0);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.v[0], 6378137.0);
  EXPECT_EQ(r.v[1], 0.0);
  EXPECT_EQ(r.v[2], 0.0);

  const double x = 3687944.2123456789, y = -4620367.5551, z = -2508594.9871;
  r = Carry(Side(K::Cartesian), Side(K::Cartesian, ReferenceFrame::Hayford), AltimetrySettings{},
          x, y, z);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.v[0], x);
  EXPECT_EQ(r.v[1], y);
  EXPECT_EQ(r.v[2], z);
}

// The chain composes the single conversions in the documented order.
TEST(PointChainTest, ProjectedToProjectedAcrossFramesFollowsTheSteps) {
  const ChainSide in = Side(K::GaussKrugerOru, ReferenceFrame::Hayford);
  const ChainSide out = Side(K::LtmOru, ReferenceFrame::Grs80);
  const DatumStep step = BuildDatumStep(kIsogonalHayfordToGrs80);
  const Result r = Carry(in, out, NoHeightRules(), 180000.0, 1650000.0, 35.0, step);
  ASSERT_TRUE(r.ok);

  ProjectedPoint p;
  p.easting = 180000.0;
  p.northing = 1650000.0;
  p.height = 35.0;
  p.centralMeridian = -51.0;
  GeographicPoint g;
  TransverseMercatorInverse(p, in.ellipsoid, in.scaleFactor, in.falseEasting, in.falseNorthing, g);
  CartesianPoint c, moved;
  GeographicToCartesian(g, in.ellipsoid, c);
  ApplyDatumStep(step, c, moved);
  GeographicPoint g2;
  CartesianToGeographic(moved, out.ellipsoid, g2);
  ProjectedPoint q;
  TransverseMercatorForward(g2, out.ellipsoid, -51.0, out.scaleFactor, out.falseEasting,
                            out.falseNorthing, q);
  EXPECT_EQ(r.v[0], q.easting);
  EXPECT_EQ(r.v[1], q.northing);
  EXPECT_EQ(r.v[2], q.height);
  // The frames differ by a few hundred metres of datum shift, so the
  // grid coordinates really moved (and FE differs by 100 km).
  EXPECT_GT(std::fabs(r.v[0] - 280000.0), 1.0);
}

TEST(PointChainTest, InputHeightRules) {
  const ChainSide geo = Side(K::Geographic);
  AltimetrySettings settings = NoHeightRules();
  // Mean height replaces every point's own height.
  settings.inputUseMeanHeight = true;
  settings.inputMeanHeight = 40.0;
  for (double own : {0.0, 123.0, -7.5}) {
    const Result r = Carry(geo, geo, settings, -51.0, -30.0, own);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.v[2], 40.0, 1e-6) << own;
  }
  // A geometric input height loses the mean undulation.
  settings = NoHeightRules();
  settings.inputGeometric = true;
  settings.inputMeanUndulation = true;
  settings.inputUndulation = 4.95;
  Result r = Carry(geo, geo, settings, -51.0, -30.0, 100.0);
  ASSERT_TRUE(r.ok);
  EXPECT_NEAR(r.v[2], 95.05, 1e-6);
  // The undulation needs both flags.
  settings.inputGeometric = false;
  r = Carry(geo, geo, settings, -51.0, -30.0, 100.0);
  EXPECT_NEAR(r.v[2], 100.0, 1e-6);
  // Mean height first, then the undulation; cartesian output carries the
  // geocentric Z of the adjusted height.
  settings.inputGeometric = true;
  settings.inputUseMeanHeight = true;
  settings.inputMeanHeight = 40.0;
  r = Carry(geo, Side(K::Cartesian), settings, 0.0, 0.0, 500.0);
  EXPECT_NEAR(r.v[0], 6378137.0 + 35.05, 1e-6);
}

TEST(PointChainTest, OutputHeightRules) {
  const ChainSide geo = Side(K::Geographic);
  const ChainSide utm = Side(K::Utm);
  // Imported heights: the height with which the point entered, for
  // geographic and projected inputs and outputs alike.
  AltimetrySettings imported;
  imported.importHeights = true;
  imported.outputUseMeanHeight = true;  // ignored when importing
  imported.outputMeanHeight = 999.0;
  for (const ChainSide* in : {&geo, &utm}) {
    for (const ChainSide* out : {&geo, &utm}) {
      const bool projectedIn = in == &utm;
      const Result r = Carry(*in, *out, imported, projectedIn ? 789409.653 : -48.0,
                           projectedIn ? 6677424.096 : -30.0, 12.5,
                           BuildDatumStep(kIsogonalGrs80ToHayford));
      ASSERT_TRUE(r.ok);
      EXPECT_EQ(r.v[2], 12.5);
    }
  }
  // Imported heights are the adjusted input height.
  imported.inputUseMeanHeight = true;
  imported.inputMeanHeight = 40.0;
  EXPECT_EQ(Carry(geo, utm, imported, -48.0, -30.0, 12.5).v[2], 40.0);
  // Cartesian output carries Z and is not adjusted.
  AltimetrySettings plain;
  const Result cart = Carry(geo, Side(K::Cartesian), plain, 0.0, 0.0, 12.5);
  EXPECT_EQ(cart.v[0], 6378137.0 + 12.5);

  // Without import: the height from the conversion, plus the undulation.
  AltimetrySettings settings = NoHeightRules();
  settings.outputGeometric = true;
  settings.outputMeanUndulation = true;
  settings.outputUndulation = 4.95;
  Result r = Carry(geo, geo, settings, -51.0, -30.0, 100.0);
  EXPECT_NEAR(r.v[2], 104.95, 1e-6);
  settings.outputUseMeanHeight = true;
  settings.outputMeanHeight = 10.0;
  r = Carry(geo, utm, settings, -51.0, -30.0, 100.0);
  EXPECT_NEAR(r.v[2], 14.95, 1e-12);
}

TEST(PointChainTest, TwoDimensionalPointsEnterWithHeightZero) {
  const ChainSide utm = Side(K::Utm);
  const Result r = Carry(utm, Side(K::Cartesian), NoHeightRules(), 500000.0, 10000000.0, 0.0);
  ASSERT_TRUE(r.ok);
  EXPECT_NEAR(r.v[0], 6378137.0 * std::cos(-51.0 * kDegreesToRadians), 1e-6);
}

TEST(PointChainTest, AffineStepIsAppliedInTheChain) {
  AffineParameters p;
  p.tx = 10.0;
  p.b = 1e-6;
  const Result r = Carry(Side(K::Cartesian), Side(K::Cartesian), AltimetrySettings{}, 1000.0,
                       2'000'000.0, 3.0, BuildAffineDatumStep(p));
  ASSERT_TRUE(r.ok);
  EXPECT_NEAR(r.v[0], 1000.0 + 2.0 + 10.0, 1e-9);
  EXPECT_EQ(r.v[1], 2'000'000.0);
}

TEST(PointChainTest, PointsThatCannotBeCarried) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const ChainSide geo = Side(K::Geographic);
  const ChainSide cart = Side(K::Cartesian);
  const ChainSide utm = Side(K::Utm);
  const ChainSide ltm = Side(K::Ltm);
  const AltimetrySettings s = NoHeightRules();
  double out[3];

  // Non-finite input numbers, on every family.
  for (const ChainSide* in : {&geo, &cart, &utm}) {
    for (double bad : {nan, inf, -inf}) {
      PointChain chain(*in, geo, DatumStep{}, s);
      EXPECT_FALSE(chain.Transform(bad, 1.0, 1.0, out));
      EXPECT_FALSE(chain.Transform(1.0, bad, 1.0, out));
      EXPECT_FALSE(chain.Transform(1.0, 1.0, bad, out));
    }
  }
  // Polar axis: fine to cartesian, not back to geographic or a grid.
  EXPECT_FALSE(Carry(cart, geo, s, 0.0, 0.0, 6356752.0).ok);
  EXPECT_FALSE(Carry(cart, utm, s, 0.0, 0.0, -6356752.0).ok);
  EXPECT_FALSE(Carry(cart, geo, s, 0.0, 0.0, 0.0).ok);
  EXPECT_TRUE(Carry(cart, cart, s, 0.0, 0.0, 6356752.0).ok);
  const Result pole = Carry(geo, cart, s, 30.0, 90.0, 0.0);
  ASSERT_TRUE(pole.ok);
  EXPECT_NEAR(pole.v[2], FrameEllipsoid(ReferenceFrame::Grs80).SemiMinorAxis(), 1e-6);
  // Grid coordinates beyond the Earth (CAD placeholders).
  EXPECT_FALSE(Carry(utm, geo, s, 1e20, 7000000.0, 0.0).ok);
  EXPECT_FALSE(Carry(utm, geo, s, 500000.0, -1e20, 0.0).ok);
  EXPECT_FALSE(Carry(ltm, geo, s, 200000.0 + 20'000'001.0, 5000000.0, 0.0).ok);
  EXPECT_TRUE(Carry(ltm, cart, s, 200000.0 + 100000.0, 5000000.0 - 3000000.0, 0.0).ok);
  // Huge geographic values fold (without hanging) and stay convertible.
  const Result folded = Carry(geo, geo, s, 1e80, 1e80, 0.0);
  ASSERT_TRUE(folded.ok);
  EXPECT_LE(std::fabs(folded.v[0]), 180.0);
  EXPECT_LE(std::fabs(folded.v[1]), 90.0);
  // A result beyond the Earth on the output grid: 90 degrees away from the
  // central meridian the series run away.
  EXPECT_FALSE(Carry(geo, utm, s, 129.0, 0.5, 0.0).ok);
  // A huge cartesian height overflows to a non-finite result.
  EXPECT_FALSE(Carry(cart, geo, s, 1e300, 1e300, 1e300).ok);
}

TEST(IsValidEllipsoidTest, RefusesWhatTheFormulasCannotUse) {
  EXPECT_TRUE(IsValidEllipsoid(6378137.0, 298.257222101));
  EXPECT_TRUE(IsValidEllipsoid(6378388.0, 297.0));
  EXPECT_TRUE(IsValidEllipsoid(1.0, 1.5));
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double a : {0.0, -6378137.0, inf, nan}) EXPECT_FALSE(IsValidEllipsoid(a, 298.0)) << a;
  for (double invf : {0.0, 1.0, 0.5, -298.0, inf, nan}) {
    EXPECT_FALSE(IsValidEllipsoid(6378137.0, invf)) << invf;
  }
}

}  // namespace
}  // namespace transref
