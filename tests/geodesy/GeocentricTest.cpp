#include "geodesy/Geocentric.h"

#include <gtest/gtest.h>

#include <cmath>

#include "GeodesyTestSupport.h"

namespace transref {
namespace {

using testing::FrameEllipsoid;

GeographicPoint Geographic(double longitude, double latitude, double height) {
  GeographicPoint point;
  point.longitude = longitude;
  point.latitude = latitude;
  point.height = height;
  return point;
}

TEST(GeocentricTest, EquatorAtGreenwich) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  CartesianPoint c;
  GeographicToCartesian(Geographic(0, 0, 0), grs80, c);
  EXPECT_EQ(c.x, 6378137.0);
  EXPECT_EQ(c.y, 0.0);
  EXPECT_EQ(c.z, 0.0);
  GeographicPoint back = Geographic(5, 5, 5);
  CartesianToGeographic(c, grs80, back);
  EXPECT_EQ(back.longitude.Degrees(), 0.0);
  EXPECT_EQ(back.latitude.Degrees(), 0.0);
  EXPECT_NEAR(back.height, 0.0, 1e-9);
}

TEST(GeocentricTest, NorthPoleLiesOnTheAxisAtTheSemiMinorAxis) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  for (double lambda : {0.0, -51.0, 123.0}) {
    CartesianPoint c;
    GeographicToCartesian(Geographic(lambda, 90, 0), grs80, c);
    EXPECT_NEAR(c.x, 0.0, 1e-6);
    EXPECT_NEAR(c.y, 0.0, 1e-6);
    EXPECT_NEAR(c.z, grs80.SemiMinorAxis(), 1e-6);
  }
}

TEST(GeocentricTest, WesternLongitudeGivesNegativeY) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  CartesianPoint c;
  GeographicToCartesian(Geographic(-51, -30, 700), grs80, c);
  EXPECT_LT(c.y, 0.0);
  EXPECT_LT(c.z, 0.0);
  GeographicPoint back;
  CartesianToGeographic(c, grs80, back);
  EXPECT_NEAR(back.longitude.Degrees(), -51.0, 1e-12);
  EXPECT_NEAR(back.latitude.Degrees(), -30.0, 1e-10);
  EXPECT_NEAR(back.height, 700.0, 1e-4);
}

TEST(GeocentricTest, OnTheSphereTheInverseIsTheSphericalFormula) {
  const Ellipsoid sphere;
  const CartesianPoint c{3000000.0, 4000000.0, 2500000.0};
  GeographicPoint g;
  CartesianToGeographic(c, sphere, g);
  const double p = 5000000.0;
  const double phi = std::atan(2500000.0 / p);
  EXPECT_NEAR(g.latitude.Degrees(), phi * 180.0 / M_PI, 1e-12);
  EXPECT_NEAR(g.longitude.Degrees(), std::atan2(4.0, 3.0) * 180.0 / M_PI, 1e-12);
  EXPECT_NEAR(g.height, p / std::cos(phi) - 6371000.0, 1e-6);
}

// One Bowring step is enough near the Earth's surface: the round trip
// reproduces the point to 1e-9 degree and 1 mm.
TEST(GeocentricTest, RoundTripOverRandomPointsAndHeights) {
  testing::PseudoRandom random(20261208);
  for (ReferenceFrame frame : {ReferenceFrame::Grs80, ReferenceFrame::Hayford}) {
    const Ellipsoid ellipsoid = FrameEllipsoid(frame);
    for (int i = 0; i < 20000; ++i) {
      const GeographicPoint in = Geographic(random.Uniform(-180, 180), random.Uniform(-89.9, 89.9),
                                            random.Uniform(-1000, 10000));
      CartesianPoint c;
      GeographicToCartesian(in, ellipsoid, c);
      GeographicPoint out;
      CartesianToGeographic(c, ellipsoid, out);
      double dLon = std::fabs(out.longitude.Degrees() - in.longitude.Degrees());
      if (dLon > 180.0) dLon = 360.0 - dLon;  // -180 and 180 are the same meridian
      ASSERT_LT(dLon, 1e-9) << in.longitude.Degrees() << " " << in.latitude.Degrees();
      ASSERT_LT(std::fabs(out.latitude.Degrees() - in.latitude.Degrees()), 1e-9)
          << in.longitude.Degrees() << " " << in.latitude.Degrees();
      ASSERT_LT(std::fabs(out.height - in.height), 1e-3)
          << in.longitude.Degrees() << " " << in.latitude.Degrees() << " " << in.height;
    }
  }
}

}  // namespace
}  // namespace transref
