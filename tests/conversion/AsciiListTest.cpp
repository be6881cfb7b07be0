#include "conversion/lists/AsciiList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include "support/Numbers.h"

namespace transref {
namespace {

PointRecord ParseOk(std::string_view line, FileKind kind) {
  const ParsedLine parsed = ParsePointLine(line, kind, 1);
  EXPECT_TRUE(parsed.record.has_value()) << line;
  EXPECT_TRUE(parsed.messages.empty()) << line;
  return parsed.record.value_or(PointRecord{});
}

std::vector<UserMessage> ParseFails(std::string_view line, FileKind kind, int lineNumber) {
  const ParsedLine parsed = ParsePointLine(line, kind, lineNumber);
  EXPECT_FALSE(parsed.record.has_value()) << line;
  return parsed.messages;
}

TEST(ParsePointLine, FieldsAreSeparatedByRunsOfBlanksAndTabs) {
  const PointRecord p = ParseOk("10   500.5 200.25 30", FileKind::Ascii3D);
  EXPECT_EQ(p.id, 10);
  EXPECT_EQ(p.c1, 500.5);
  EXPECT_EQ(p.c2, 200.25);
  EXPECT_EQ(p.c3, 30.0);
  EXPECT_EQ(p.lineNumber, 1);
  const PointRecord q = ParseOk("   -3 1e3 -2.5E-1   ", FileKind::Ascii2D);
  EXPECT_EQ(q.id, -3);
  EXPECT_EQ(q.c1, 1000.0);
  EXPECT_EQ(q.c2, -0.25);
  EXPECT_EQ(q.c3, 0.0);
  // A spreadsheet's "save as text": tabs, alone or mixed with blanks.
  const PointRecord t = ParseOk("\t101\t500.5 \t 200.25\t\t30\t", FileKind::Ascii3D);
  EXPECT_EQ(t.id, 101);
  EXPECT_EQ(t.c1, 500.5);
  EXPECT_EQ(t.c2, 200.25);
  EXPECT_EQ(t.c3, 30.0);
}

TEST(ParsePointLine, WrongFieldCountNamesLineAndExpectedCount) {
  const auto missing = ParseFails("1\t500.5 200.25", FileKind::Ascii3D, 7);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].kind, MessageBoxKind::Interrupt);
  EXPECT_EQ(missing[0].text, "O arquivo de entrada possui uma inconsistência na linha 7:\n Número de linhas diferente de 4!");
  const auto extra = ParseFails("1 2 3 4", FileKind::Ascii2D, 12);
  ASSERT_EQ(extra.size(), 1u);
  EXPECT_EQ(extra[0].text, "O arquivo de entrada possui uma inconsistência na linha 12:\n Número de linhas diferente de 3!");
}

TEST(IsBlankLine, EmptyOrOnlyBlanksAndTabs) {
  EXPECT_TRUE(IsBlankLine(""));
  EXPECT_TRUE(IsBlankLine(" \t  \t"));
  EXPECT_FALSE(IsBlankLine(" \t0"));
  EXPECT_FALSE(IsBlankLine("\r"));  // a stray carriage return is something
}

TEST(ParsePointLine, IdentifierIsA32BitWholeNumber) {
  EXPECT_EQ(ParseOk("0042 1 2", FileKind::Ascii2D).id, 42);
  EXPECT_EQ(ParseOk("+5 1 2", FileKind::Ascii2D).id, 5);
  EXPECT_EQ(ParseOk("2147483647 1 2", FileKind::Ascii2D).id, 2147483647);
  EXPECT_EQ(ParseOk("-2147483648 1 2", FileKind::Ascii2D).id, std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"1.5", "2147483648", "-2147483649", "99999999999999999999", "A1", "+", "1e2", "0x10"}) {
    const auto messages = ParseFails(std::string(bad) + " 1 2", FileKind::Ascii2D, 9);
    ASSERT_EQ(messages.size(), 2u) << bad;
    EXPECT_EQ(messages[0].kind, MessageBoxKind::ConversionError);
    EXPECT_EQ(messages[0].text, std::string(bad) + " não é um valor numerico!");
    EXPECT_EQ(messages[1].kind, MessageBoxKind::Interrupt);
    EXPECT_EQ(messages[1].text, "O arquivo de entrada possui a inconsistência na linha 9!");
  }
}

TEST(ParsePointLine, CoordinatesTakeEitherDecimalMark) {
  // Comma (a Brazilian spreadsheet) and point (a total station, our own
  // output) alike, mixed on one line, whatever the process locale.
  const PointRecord p = ParseOk("1 12,5 -0.25 3,0e2", FileKind::Ascii3D);
  EXPECT_EQ(p.c1, 12.5);
  EXPECT_EQ(p.c2, -0.25);
  EXPECT_EQ(p.c3, 300.0);
  EXPECT_EQ(ParseOk("7  512.50000   98.25000", FileKind::Ascii2D).c1, 512.5);
  EXPECT_EQ(ParseOk("1 ,5 5, ", FileKind::Ascii2D).c1, 0.5);
  EXPECT_EQ(ParseOk("1 .5 5. ", FileKind::Ascii2D).c2, 5.0);
  // Decimal numbers only: no grouping, no second mark, no hexadecimal,
  // infinity or NaN forms.
  for (const char* bad : {"1.2.3", "1,2,3", "1,000.5", "1.000,5", "1e", "1e+", "inf", "nan", "infinity",
                          "0x10", "0x1p3", "--1", ".", ",", "+", "1.5m", "1_0"}) {
    const auto messages = ParseFails(std::string("1 ") + bad + " 2", FileKind::Ascii2D, 4);
    ASSERT_EQ(messages.size(), 2u) << bad;
    EXPECT_EQ(messages[0].text, std::string(bad) + " não é um valor numerico!");
    EXPECT_EQ(messages[1].text, BadLineMessage(4));
  }
}

TEST(ParsePointLine, ThirdFieldIsCheckedOnlyFor3D) {
  const auto messages = ParseFails("1 2 3 x", FileKind::Ascii3D, 2);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "x não é um valor numerico!");
}

TEST(CheckGeographicRange, BoundsAreValidBeyondIsNot) {
  PointRecord p;
  p.lineNumber = 5;
  p.c1 = 180.0;
  p.c2 = -90.0;
  EXPECT_FALSE(CheckGeographicRange(p).has_value());
  p.c1 = -180.0;
  p.c2 = 90.0;
  EXPECT_FALSE(CheckGeographicRange(p).has_value());
  p.c1 = 180.0000001;
  EXPECT_EQ(CheckGeographicRange(p).value(), "O arquivo de entrada possui a inconsistência na linha 5:\nValor da Longitude incorreto!");
  p.c1 = 0.0;
  p.c2 = -90.0000001;
  EXPECT_EQ(CheckGeographicRange(p).value(), "O arquivo de entrada possui a inconsistência na linha 5:\nValor da Latitude incorreto!");
  // The longitude is checked first.
  p.c1 = -200.0;
  EXPECT_EQ(CheckGeographicRange(p).value(), LongitudeMessage(5));
}

std::string Printf(const char* format, double value) {
  char buffer[512];
  transref::FormatC(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string Fixed(double value, int width, int precision) {
  char buffer[512];
  return std::string(buffer, FormatFixed(buffer, value, width, precision));
}

TEST(FormatFixed, BytesEqualPrintf) {
  std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 12.3456789, 512.5, 98.25, -98.25, 1e-20, -1e-20,
                                0.000005, 0.0000049999, 99999.999995, 1e15, -1e15, 1.7976931348623157e308,
                                -1.7976931348623157e308, 4.9e-324, 6378137.0, 7000000.123455, 0.5, 2.5};
  // Exact binary ties at the fifth, tenth and third decimal (k/64, k/2048, k/16).
  for (int k = -200; k <= 200; ++k) {
    values.push_back(k / 64.0);
    values.push_back(k / 2048.0);
    values.push_back(k / 16.0 + 1000.0);
  }
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 25);
  for (int i = 0; i < 20000; ++i) values.push_back(unit(random) * std::pow(10.0, exponent(random)));
  // Around the switch between the integer path and the library's path,
  // and at the extremes of the exponent range.
  for (double v : {1e15, std::nextafter(1e15, 0.0), -std::nextafter(1e15, 0.0), 999999999999999.5, 1e-300,
                   -1e-300, 2.2250738585072014e-308, 5e-324, 0.49999999999999994, 9007199254740993.0,
                   std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    values.push_back(v);
  }
  for (double v : values) {
    EXPECT_EQ(Fixed(v, 10, 5), Printf("%10.5lf", v)) << v;
    EXPECT_EQ(Fixed(v, 15, 10), Printf("%15.10lf", v)) << v;
    EXPECT_EQ(Fixed(v, 0, 3), Printf("%0.3lf", v)) << v;
  }
  // Every precision the integer path takes.
  for (int precision = 0; precision <= 10; ++precision) {
    const std::string format = "%." + std::to_string(precision) + "f";
    for (std::size_t k = 0; k < values.size(); k += 7) {
      EXPECT_EQ(Fixed(values[k], 0, precision), Printf(format.c_str(), values[k])) << values[k];
    }
  }
}

TEST(AppendPointLine, FormatsOfEveryOutputSystemAndKind) {
  const double values[3] = {512.5, 98.25, 12.3456789};
  std::string out;
  AppendPointLine(out, 7, values, CoordinateSystemKind::Utm, FileKind::Ascii3D);
  EXPECT_EQ(out, "7  512.50000   98.25000   12.34568\n");
  out.clear();
  AppendPointLine(out, -12, values, CoordinateSystemKind::LtmOru, FileKind::Ascii2D);
  EXPECT_EQ(out, "-12  512.50000   98.25000\n");
  out.clear();
  const double geographic[3] = {-51.123456789012, -29.5, 100.0};
  AppendPointLine(out, 3, geographic, CoordinateSystemKind::Geographic, FileKind::Ascii3D);
  EXPECT_EQ(out, "3  -51.1234567890  -29.5000000000  100.0000000000\n");
  out.clear();
  AppendPointLine(out, 3, geographic, CoordinateSystemKind::Geographic, FileKind::Ascii2D);
  EXPECT_EQ(out, "3  -51.1234567890  -29.5000000000\n");
  out.clear();
  const double cartesian[3] = {3687622.123456, -4583544.5, -3061432.0};
  AppendPointLine(out, 2147483647, cartesian, CoordinateSystemKind::Cartesian, FileKind::Ascii3D);
  EXPECT_EQ(out, "2147483647 3687622.12346 -4583544.50000 -3061432.00000\n");
}

}  // namespace
}  // namespace transref
