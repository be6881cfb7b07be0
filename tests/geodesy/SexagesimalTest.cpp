#include "geodesy/Sexagesimal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <stdexcept>
#include "support/Numbers.h"

namespace transref {
namespace {

std::string TenDecimals(double v) {
  char buffer[64];
  transref::FormatC(buffer, sizeof buffer, "%0.10lf", v);
  return buffer;
}

TEST(SexagesimalTest, PackedValuesSplitIntoDegreesMinutesSeconds) {
  const auto east = FromPackedSexagesimal(51.1530);
  ASSERT_TRUE(east.has_value());
  EXPECT_EQ(east->degrees, 51);
  EXPECT_EQ(east->minutes, 15);
  EXPECT_NEAR(east->seconds, 30.0, 1e-9);
  EXPECT_EQ(TenDecimals(ToDecimalDegrees(*east).Degrees()), "51.2583333333");

  const auto west = FromPackedSexagesimal(-51.1530);
  ASSERT_TRUE(west.has_value());
  EXPECT_EQ(west->degrees, -51);
  EXPECT_EQ(west->minutes, 15);
  EXPECT_NEAR(west->seconds, 30.0, 1e-9);
  EXPECT_EQ(TenDecimals(ToDecimalDegrees(*west).Degrees()), "-51.2583333333");

  const auto fine = FromPackedSexagesimal(51.1530456);
  ASSERT_TRUE(fine.has_value());
  EXPECT_NEAR(fine->seconds, 30.456, 1e-9);
}

TEST(SexagesimalTest, ZeroDegreesKeepTheSignOfTheText) {
  const auto west = FromPackedSexagesimal(-0.30);
  ASSERT_TRUE(west.has_value());
  EXPECT_EQ(west->degrees, 0);
  EXPECT_EQ(west->minutes, 30);
  EXPECT_TRUE(west->negative);
  EXPECT_EQ(ToDecimalDegrees(*west).Degrees(), -0.5);

  const auto east = FromPackedSexagesimal(0.30);
  ASSERT_TRUE(east.has_value());
  EXPECT_FALSE(east->negative);
  EXPECT_EQ(ToDecimalDegrees(*east).Degrees(), 0.5);

  // A value that prints as zero carries no sign.
  EXPECT_FALSE(FromPackedSexagesimal(-0.0)->negative);
  EXPECT_EQ(MeridianListEntry(ToDecimalDegrees(*FromPackedSexagesimal(-0.0)).Degrees()),
            "0.0000000000°");
}

TEST(SexagesimalTest, PackedValuesOutOfRangeAreRefused) {
  EXPECT_TRUE(FromPackedSexagesimal(360.0).has_value());
  EXPECT_TRUE(FromPackedSexagesimal(-360.0).has_value());
  EXPECT_FALSE(FromPackedSexagesimal(360.0001).has_value());
  EXPECT_FALSE(FromPackedSexagesimal(-400.0).has_value());
  EXPECT_FALSE(FromPackedSexagesimal(1e10).has_value());
  EXPECT_FALSE(FromPackedSexagesimal(std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_FALSE(FromPackedSexagesimal(std::numeric_limits<double>::infinity()).has_value());
}

TEST(SexagesimalTest, DecimalDegreesToSexagesimalAndBack) {
  const SexagesimalAngle half = FromDecimalDegrees(Angle(51.5));
  EXPECT_EQ(half.degrees, 51);
  EXPECT_EQ(half.minutes, 30);
  EXPECT_EQ(half.seconds, 0.0);
  EXPECT_EQ(ListDisplayText(half), "51° 30' 00\"");

  const SexagesimalAngle west = FromDecimalDegrees(Angle(-49.2583333333));
  EXPECT_EQ(west.degrees, -49);
  EXPECT_EQ(west.minutes, 15);
  EXPECT_NEAR(west.seconds, 29.9999999988, 1e-6);
  EXPECT_NEAR(ToDecimalDegrees(west).Degrees(), -49.2583333333, 1e-12);

  const SexagesimalAngle small = FromDecimalDegrees(Angle(-0.25));
  EXPECT_EQ(small.degrees, 0);
  EXPECT_EQ(small.minutes, 15);
  EXPECT_EQ(ToDecimalDegrees(small).Degrees(), -0.25);
}

TEST(SexagesimalTest, DisplayTexts) {
  EXPECT_EQ(CentralMeridianDisplayText("51°"), "51° 00' 00\"");
  EXPECT_EQ(CentralMeridianDisplayText("49.5°"), "49° 30' 00\"");
  EXPECT_EQ(CentralMeridianDisplayText("3°"), " 3° 00' 00\"");
  EXPECT_EQ(CentralMeridianDisplayText("0.5°"), "  ° 30' 00\"");  // %2.0d prints no 0
  EXPECT_EQ(CentralMeridianDisplayText("51.0000000000°"), "51° 00' 00\"");
  EXPECT_EQ(MeridianListEntry(51.0), "51.0000000000°");

  SexagesimalAngle angle;
  angle.degrees = 51;
  angle.minutes = 30;
  angle.seconds = 15.0;
  EXPECT_EQ(CustomPanelText(angle), "51° 30' 15.000\"");
  angle.seconds = 30.0625;  // exactly 62.5 thousandths: half rounds away from zero
  EXPECT_EQ(CustomPanelText(angle), "51° 30' 30.063\"");
  angle.seconds = 30.9996;  // carries into the whole seconds
  EXPECT_EQ(CustomPanelText(angle), "51° 30' 31.000\"");
  angle.seconds = 59.9996;  // rounds up to the next minute, never 60 seconds
  EXPECT_EQ(CustomPanelText(angle), "51° 31' 00.000\"");
  angle.minutes = 59;  // ... and to the next degree
  EXPECT_EQ(CustomPanelText(angle), "52° 00' 00.000\"");
  angle.degrees = -51;
  EXPECT_EQ(CustomPanelText(angle), "-52° 00' 00.000\"");
  angle.degrees = 0;
  angle.negative = true;
  EXPECT_EQ(CustomPanelText(angle), "-1° 00' 00.000\"");
  angle.minutes = 30;
  angle.seconds = 30.9996;
  EXPECT_EQ(CustomPanelText(angle), "-0° 30' 31.000\"");
}

TEST(SexagesimalTest, CustomEntryGivesPanelAndListTexts) {
  struct Case {
    const char* text;
    char separator;
    const char* panel;
    const char* entry;
  };
  const Case cases[] = {
      {"51.1530", '.', "51° 15' 30.000\"", "51.2583333333°"},
      {"49.30", '.', "49° 30' 00.000\"", "49.5000000000°"},
      {"51.1530456", '.', "51° 15' 30.456\"", "51.2584600000°"},
      {"51.3015", '.', "51° 30' 15.000\"", "51.5041666667°"},
      {"51,3015", ',', "51° 30' 15.000\"", "51.5041666667°"},
      {"51", '.', "51° 00' 00.000\"", "51.0000000000°"},
      {"-0.30", '.', "-0° 30' 00.000\"", "-0.5000000000°"},
      // 15' 59.9999990" shows as the next minute, as its decimal value is.
      {"51.155999999", '.', "51° 16' 00.000\"", "51.2666666639°"},
  };
  for (const Case& c : cases) {
    const auto texts = CustomCentralMeridianFromEntry(c.text, c.separator);
    ASSERT_TRUE(texts.has_value()) << c.text;
    EXPECT_EQ(texts->panelText, c.panel) << c.text;
    EXPECT_EQ(texts->listEntry, c.entry) << c.text;
  }
  EXPECT_FALSE(CustomCentralMeridianFromEntry("400", '.').has_value());
  EXPECT_THROW(CustomCentralMeridianFromEntry("abc", '.'), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("", '.'), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("  ", ','), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("51.30", ','), std::runtime_error);
}

}  // namespace
}  // namespace transref
