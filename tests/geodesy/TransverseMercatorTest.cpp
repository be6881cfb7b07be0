#include "geodesy/TransverseMercator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "GeodesyTestSupport.h"
#include "CLocaleText.h"

namespace transref {
namespace {

using testing::FrameEllipsoid;

constexpr double kMillimetre = 0.0005;  // half a unit of the third decimal

struct Grid {
  double k0, fe, fn;
};

Grid GridOf(CoordinateSystemKind kind, bool northern = false) {
  const CoordinateSystemInfo& info = SystemInfo(kind);
  return {info.scaleFactor, transref::test::Number(std::string(info.falseEasting)),
          transref::test::Number(std::string(DefaultFalseNorthing(kind, northern)))};
}

ProjectedPoint Forward(double lon, double lat, double cm, const Grid& grid,
                       const Ellipsoid& ellipsoid) {
  GeographicPoint g;
  g.longitude = lon;
  g.latitude = lat;
  g.height = 12.25;
  ProjectedPoint p;
  TransverseMercatorForward(g, ellipsoid, cm, grid.k0, grid.fe, grid.fn, p);
  return p;
}

GeographicPoint Inverse(const ProjectedPoint& p, const Grid& grid, const Ellipsoid& ellipsoid) {
  GeographicPoint g;
  TransverseMercatorInverse(p, ellipsoid, grid.k0, grid.fe, grid.fn, g);
  return g;
}

TEST(TransverseMercatorTest, SouthernUtmZoneOnGrs80) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  const Grid utm = GridOf(CoordinateSystemKind::Utm, false);
  const ProjectedPoint onMeridian = Forward(-51, -30, -51, utm, grs80);
  EXPECT_NEAR(onMeridian.easting, 500000.0, kMillimetre);
  EXPECT_NEAR(onMeridian.northing, 6681214.647, kMillimetre);
  const ProjectedPoint east = Forward(-48, -30, -51, utm, grs80);
  EXPECT_NEAR(east.easting, 789409.653, kMillimetre);
  EXPECT_NEAR(east.northing, 6677424.096, kMillimetre);
  EXPECT_FALSE(east.northern);
  EXPECT_EQ(east.height, 12.25);
}

TEST(TransverseMercatorTest, LtmOnGrs80) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  const ProjectedPoint p = Forward(-51.5, -30, -51, GridOf(CoordinateSystemKind::Ltm), grs80);
  EXPECT_NEAR(p.easting, 151756.793, kMillimetre);
  EXPECT_NEAR(p.northing, 1679797.951, kMillimetre);
}

TEST(TransverseMercatorTest, NorthernUtmZoneBothWays) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  const Grid utm = GridOf(CoordinateSystemKind::Utm, true);
  EXPECT_EQ(utm.fn, 0.0);
  const ProjectedPoint p = Forward(-47, 10, -45, utm, grs80);
  EXPECT_NEAR(p.easting, 280766.861, kMillimetre);
  EXPECT_NEAR(p.northing, 1106077.130, kMillimetre);
  EXPECT_TRUE(p.northern);
  const GeographicPoint g = Inverse(p, utm, grs80);
  EXPECT_NEAR(g.longitude.Degrees(), -47.0, 1e-8);
  EXPECT_NEAR(g.latitude.Degrees(), 10.0, 1e-8);
  EXPECT_EQ(g.height, 12.25);
}

TEST(TransverseMercatorTest, CentralMeridianOnTheEquatorIsTheFalseOrigin) {
  for (int k = 0; k < 8; ++k) {
    const auto kind = static_cast<CoordinateSystemKind>(k);
    for (ReferenceFrame frame : {ReferenceFrame::Grs80, ReferenceFrame::Hayford}) {
      const Grid grid = GridOf(kind);
      const ProjectedPoint p = Forward(-49.5, 0, -49.5, grid, FrameEllipsoid(frame));
      EXPECT_EQ(p.easting, grid.fe) << k;
      EXPECT_EQ(p.northing, grid.fn) << k;
      EXPECT_TRUE(p.northern) << "the equator counts as north";
    }
  }
}

// A customised meridian, 51° 15' 30" W as its list entry "51.2583333333°",
// is applied exactly as displayed, both ways. The projection depends on the
// longitude only through lambda - lambda0, so the published LTM point
// (lambda0 = -51, lambda = -51.5) shifted to this meridian must give the
// same grid coordinates; in single precision the meridian moved every
// easting by about 0.17 m here.
TEST(TransverseMercatorTest, CustomisedMeridianIsAppliedInFullPrecision) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  const Grid ltm = GridOf(CoordinateSystemKind::LtmCustom);
  const double cm = -51.2583333333;
  const ProjectedPoint p = Forward(cm - 0.5, -30, cm, ltm, grs80);
  EXPECT_EQ(p.centralMeridian, cm);
  EXPECT_NEAR(p.easting, 151756.793, kMillimetre);
  EXPECT_NEAR(p.northing, 1679797.951, kMillimetre);
  const GeographicPoint g = Inverse(p, ltm, grs80);
  EXPECT_NEAR(g.longitude.Degrees(), cm - 0.5, 1e-9);
  EXPECT_NEAR(g.latitude.Degrees(), -30.0, 1e-9);
}

TEST(TransverseMercatorTest, MirrorsAcrossTheCentralMeridianAndTheEquator) {
  const Ellipsoid hayford = FrameEllipsoid(ReferenceFrame::Hayford);
  const Grid grid{1.0, 0.0, 0.0};
  const ProjectedPoint a = Forward(3.0 + 2.0, 25.0, 3.0, grid, hayford);
  const ProjectedPoint b = Forward(3.0 - 2.0, -25.0, 3.0, grid, hayford);
  EXPECT_NEAR(a.easting, -b.easting, 1e-6);
  EXPECT_NEAR(a.northing, -b.northing, 1e-6);
  EXPECT_GT(a.easting, 0.0);
  EXPECT_GT(a.northing, 0.0);
}

// Forward then inverse reproduces latitude and longitude to 1e-8 degree
// within 3 degrees of the central meridian between 60 S and 60 N.
TEST(TransverseMercatorTest, RoundTripForEveryGridEllipsoidAndMeridian) {
  testing::PseudoRandom random(77);
  for (int k = 0; k < 8; ++k) {
    const auto kind = static_cast<CoordinateSystemKind>(k);
    for (ReferenceFrame frame : {ReferenceFrame::Grs80, ReferenceFrame::Hayford}) {
      const Ellipsoid ellipsoid = FrameEllipsoid(frame);
      for (double cm : {-51.0, -49.5, 0.0, 45.0, 171.0, -51.2583333333}) {
        for (bool northern : {false, true}) {
          const Grid grid = GridOf(kind, northern);
          for (int i = 0; i < 300; ++i) {
            const double lon = cm + random.Uniform(-3.0, 3.0);
            const double lat = random.Uniform(-60.0, 60.0);
            const ProjectedPoint p = Forward(lon, lat, cm, grid, ellipsoid);
            const GeographicPoint g = Inverse(p, grid, ellipsoid);
            ASSERT_NEAR(g.latitude.Degrees(), lat, 1e-8) << k << " cm " << cm << " " << lon;
            ASSERT_NEAR(g.longitude.Degrees(), NormaliseLongitude(lon), 1e-8)
                << k << " cm " << cm << " " << lat;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace transref
