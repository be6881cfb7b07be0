#include "geodesy/Sexagesimal.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
#include "geodesy/CoordinateSystems.h"
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

// Whatever minute and second digits a packed value has, the panel shows
// minutes and seconds below 60 and the angle the list entry carries (to the
// thousandth of a second shown).
TEST(SexagesimalTest, CustomPanelShowsTheValueUsed) {
  const char* const packed[] = {"51.1560", "51.6", "51.5999", "51.7590", "51.9999999", "0.0060", "12.5960",
                                "51.1559999999", "179.9960", "51.0059995"};
  for (const char* text : packed) {
    const auto texts = CustomCentralMeridianFromEntry(text, '.');
    ASSERT_TRUE(texts.has_value()) << text;
    int degrees = 0, minutes = 0, seconds = 0, thousandths = 0;
    const std::string& panel = texts->panelText;
    // "%2.0d° %2.2d' %2.2d.%3.3d\"": blanks stand for 0 degrees.
    const std::size_t sign = panel.find("° ");
    ASSERT_NE(sign, std::string::npos) << panel;
    const std::string head = panel.substr(0, sign);
    const std::size_t digits = head.find_first_not_of(' ');
    if (digits != std::string::npos) degrees = std::stoi(head.substr(digits));
    ASSERT_EQ(panel.size(), sign + 14) << panel;  // "° " (3 bytes) + "MM' SS.ttt\""
    minutes = std::stoi(panel.substr(sign + 3, 2));
    seconds = std::stoi(panel.substr(sign + 7, 2));
    thousandths = std::stoi(panel.substr(sign + 10, 3));
    EXPECT_LT(minutes, 60) << text << " " << panel;
    EXPECT_LT(seconds, 60) << text << " " << panel;
    const double shown = degrees + minutes / 60.0 + (seconds + thousandths / 1000.0) / 3600.0;
    EXPECT_NEAR(shown, ParseCentralMeridianEntry(texts->listEntry), 0.0005 / 3600.0 + 1e-10)
        << text << " " << panel << " " << texts->listEntry;
  }
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
      // Either mark in either notation: a packed angle has no digit groups.
      {"51.3015", ',', "51° 30' 15.000\"", "51.5041666667°"},
      {"51,3015", '.', "51° 30' 15.000\"", "51.5041666667°"},
      {"51", '.', "51° 00' 00.000\"", "51.0000000000°"},
      // Seconds and minutes of 60 or more count as the value does.
      {"51.1560", '.', "51° 16' 00.000\"", "51.2666666667°"},
      {"51.6", '.', "52° 00' 00.000\"", "52.0000000000°"},
      {"51.7590", ',', "52° 16' 30.000\"", "52.2750000000°"},
      // 15' 59.9999990" shows as the next minute, as its decimal value is.
      {"51.155999999", '.', "51° 16' 00.000\"", "51.2666666639°"},
  };
  for (const Case& c : cases) {
    const auto texts = CustomCentralMeridianFromEntry(c.text, c.separator);
    ASSERT_TRUE(texts.has_value()) << c.text;
    EXPECT_EQ(texts->panelText, c.panel) << c.text;
    EXPECT_EQ(texts->listEntry, c.entry) << c.text;
    EXPECT_FALSE(texts->west) << c.text;
  }
  // A negative value names the western hemisphere; the texts are those of
  // its magnitude, so the hemisphere signs the meridian once.
  const auto west = CustomCentralMeridianFromEntry("-51.1530", ',');
  ASSERT_TRUE(west.has_value());
  EXPECT_TRUE(west->west);
  EXPECT_EQ(west->panelText, "51° 15' 30.000\"");
  EXPECT_EQ(west->listEntry, "51.2583333333°");
  EXPECT_TRUE(CustomCentralMeridianFromEntry("-0,30", ',')->west);
  EXPECT_FALSE(CustomCentralMeridianFromEntry("400", '.').has_value());
  EXPECT_THROW(CustomCentralMeridianFromEntry("abc", '.'), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("", '.'), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("  ", ','), std::runtime_error);
  EXPECT_THROW(CustomCentralMeridianFromEntry("51.15.30", ','), std::runtime_error);
}

// A longitude or latitude shown with its hemisphere: seconds to six
// decimals, rounded and carried into minutes and degrees.
TEST(SexagesimalTest, HemisphereTexts) {
  const struct {
    double degrees;
    bool longitude;
    const char* text;
  } cases[] = {
      {-51.2084722, true, "51° 12' 30.499920\" O"},  // 0.2084722 * 3600 = 750.49992 s
      {30.0625, false, "30° 03' 45.000000\" N"},
      {-30.0625, false, "30° 03' 45.000000\" S"},
      {10.99999999999, true, "11° 00' 00.000000\" L"},  // 3599.99999996 s round to the next degree
      {-0.0, true, "0° 00' 00.000000\" L"},
      {-180.0, true, "180° 00' 00.000000\" O"},
  };
  for (const auto& c : cases) EXPECT_EQ(HemisphereDmsText(c.degrees, c.longitude), c.text) << c.degrees;
  EXPECT_EQ(HemisphereDmsText(std::nan(""), true), "");
}

}  // namespace
}  // namespace transref
