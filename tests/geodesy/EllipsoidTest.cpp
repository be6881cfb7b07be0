#include "geodesy/Ellipsoid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GeodesyTestSupport.h"

namespace transref {
namespace {

using testing::FrameEllipsoid;

TEST(EllipsoidTest, DefaultIsTheSphere) {
  const Ellipsoid sphere;
  EXPECT_EQ(sphere.SemiMajorAxis(), 6371000.0);
  EXPECT_EQ(sphere.SemiMinorAxis(), 6371000.0);
  EXPECT_EQ(sphere.Flattening(), 0.0);
  EXPECT_EQ(sphere.EccentricitySquared(), 0.0);
  EXPECT_EQ(sphere.SecondEccentricitySquared(), 0.0);
  for (double phi : {-90.0, -33.3, 0.0, 45.0, 90.0}) {
    EXPECT_EQ(sphere.PrimeVerticalRadius(phi), 6371000.0) << phi;
  }
}

TEST(EllipsoidTest, DerivedValuesOfTheTwoBuiltInFrames) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  EXPECT_DOUBLE_EQ(grs80.EccentricitySquared(), 0.006694380022900787);
  EXPECT_DOUBLE_EQ(grs80.SemiMinorAxis(), 6356752.314140356);
  EXPECT_DOUBLE_EQ(grs80.SecondEccentricitySquared(), 0.006739496775478856);
  EXPECT_EQ(grs80.Flattening(), 1.0 / 298.257222101);

  const Ellipsoid hayford = FrameEllipsoid(ReferenceFrame::Hayford);
  EXPECT_DOUBLE_EQ(hayford.EccentricitySquared(), 0.006722670022333322);
  EXPECT_DOUBLE_EQ(hayford.SemiMinorAxis(), 6356911.9461279465);
  EXPECT_DOUBLE_EQ(hayford.SecondEccentricitySquared(), 0.006768170197224155);
}

TEST(EllipsoidTest, PrimeVerticalRadiusAtEquatorAndPoles) {
  const Ellipsoid grs80 = FrameEllipsoid(ReferenceFrame::Grs80);
  const double a = grs80.SemiMajorAxis();
  const double e2 = grs80.EccentricitySquared();
  EXPECT_EQ(grs80.PrimeVerticalRadius(0.0), a);
  EXPECT_NEAR(grs80.PrimeVerticalRadius(90.0), a / std::sqrt(1.0 - e2), 1e-8);
  EXPECT_NEAR(grs80.PrimeVerticalRadius(-90.0), a / std::sqrt(1.0 - e2), 1e-8);
  // Grows monotonically from the equator to the pole.
  EXPECT_LT(grs80.PrimeVerticalRadius(30.0), grs80.PrimeVerticalRadius(60.0));
}

TEST(AngleTest, ConvertsWithTheFixedConstants) {
  EXPECT_EQ(Angle(180.0).ToRadians(), 180.0 * 0.017453292519943295);
  // pi through the extended factor reads exactly 180.
  EXPECT_EQ(Angle::FromRadians(3.141592653589793).Degrees(), 180.0);
  EXPECT_EQ(RadiansToDegrees(1.0), static_cast<double>(57.29577951308232184463L));
}

TEST(LatitudeTest, FoldsIntoRange) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {{100, 80},   {-100, -80}, {270, -90},  {300, -60}, {-300, 60},
                        {450, 90},   {90, 90},    {-90, -90},  {45.5, 45.5}, {180, 0},
                        {-270, 90},  {360, 0},    {-360, 0},   {720, 0},    {-720, 0},
                        {460, 80},   {-460, -80}, {1000.25, -79.75}};
  for (const Case& c : cases) {
    Latitude latitude;
    latitude = c.in;
    EXPECT_EQ(latitude.Degrees(), c.out) << c.in;
    EXPECT_EQ(Latitude(c.in).Degrees(), c.out) << c.in;
  }
  // A whole number of turns gives +0, as repeated subtraction does.
  EXPECT_FALSE(std::signbit(Latitude(-720.0).Degrees()));
}

TEST(LongitudeTest, FoldsIntoRange) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {{190, -170}, {-190, 170}, {540, 180},   {180, 180},  {-180, -180},
                        {-540, -180}, {360, 0},   {-360, 0},    {900.5, -179.5},
                        {-51, -51},  {179.999, 179.999}, {1080, 0}};
  for (const Case& c : cases) {
    Longitude longitude;
    longitude = c.in;
    EXPECT_EQ(longitude.Degrees(), c.out) << c.in;
  }
  EXPECT_FALSE(std::signbit(Longitude(-360.0).Degrees()));
}

// Repeated whole-turn steps as the folding rules state them, to compare the
// remainder-based folding against for ordinary values.
double StepwiseLongitude(double x) {
  while (x > 180.0) x -= 360.0;
  while (x < -180.0) x += 360.0;
  return x;
}

double StepwiseLatitude(double x) {
  if (x >= -90 && x <= 90) return x;
  if (x > 90 && x <= 270) return 180 - x;
  if (x > 270 && x <= 360) return x - 360;
  if (x > 360) return StepwiseLatitude(x - 360);
  if (x < -90 && x >= -270) return -180 - x;
  if (x < -270 && x >= -360) return x + 360;
  return StepwiseLatitude(x + 360);
}

TEST(NormalisationTest, MatchesTheStepwiseRulesForOrdinaryValues) {
  testing::PseudoRandom random(12345);
  for (int i = 0; i < 20000; ++i) {
    const double x = random.Uniform(-10000.0, 10000.0);
    EXPECT_EQ(NormaliseLongitude(x), StepwiseLongitude(x)) << x;
    EXPECT_EQ(NormaliseLatitude(x), StepwiseLatitude(x)) << x;
  }
}

TEST(NormalisationTest, HugeAndNonFiniteValuesEndAtOnce) {
  for (double x : {1e80, -1e80, 1e300, -1e300, std::numeric_limits<double>::max()}) {
    const double lon = NormaliseLongitude(x);
    const double lat = NormaliseLatitude(x);
    EXPECT_GE(lon, -180.0) << x;
    EXPECT_LE(lon, 180.0) << x;
    EXPECT_GE(lat, -90.0) << x;
    EXPECT_LE(lat, 90.0) << x;
    // The exact remainder of a whole-turn folding.
    EXPECT_EQ(std::fmod(lon - std::fmod(x, 360.0), 360.0), 0.0) << x;
  }
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(NormaliseLongitude(std::nan(""))));
  EXPECT_TRUE(std::isnan(NormaliseLatitude(std::nan(""))));
  EXPECT_EQ(NormaliseLongitude(inf), inf);
  EXPECT_EQ(NormaliseLatitude(-inf), -inf);
}

}  // namespace
}  // namespace transref
