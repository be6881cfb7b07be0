#include "conversion/EditNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace transref {
namespace {

TEST(ReadEditNumber, CommaIsTakenAsDecimalPointAndTextRewritten) {
  const EditNumber point = ReadEditNumber("12,5", '.');
  EXPECT_EQ(point.value, 12.5);
  EXPECT_EQ(point.text, "12.5");
  const EditNumber comma = ReadEditNumber("12.5", ',');
  EXPECT_EQ(comma.value, 12.5);
  EXPECT_EQ(comma.text, "12,5");
}

TEST(ReadEditNumber, TextWithoutNumberReadsAsZero) {
  for (const char* text : {"", "   ", "abc", "-", "+.", ".", "e5", "--1", ",e"}) {
    const EditNumber n = ReadEditNumber(text, '.');
    EXPECT_EQ(n.value, 0.0) << text;
    EXPECT_EQ(n.text, "0") << text;
  }
}

TEST(ReadEditNumber, LongestLeadingNumberIsTaken) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"  -3.25m", -3.25},   {"+7", 7.0},          {"1e3x", 1000.0},   {"1e", 1.0},
      {"1e+", 1.0},          {"2.5E-2", 0.025},    {".5", 0.5},        {"5.", 5.0},
      {"6378137,000", 6378137.0}, {" 298,257222101", 298.257222101}, {"1,2,3", 1.2},
      {"0.0000001", 1e-7},   {"12 34", 12.0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadEditNumber(c.text, '.').value, c.value) << c.text;
}

TEST(ReadEditNumber, RewrittenTextReadsBackAsTheSameValue) {
  for (const char* text : {"0.1", "298.257222101", "-0.000123456789", "6378388", "1e-300", "123456789012345678"}) {
    const EditNumber first = ReadEditNumber(text, '.');
    const EditNumber again = ReadEditNumber(first.text, '.');
    EXPECT_EQ(again.value, first.value) << text;
    EXPECT_EQ(again.text, first.text) << text;
    EXPECT_LE(first.text.size(), 24u) << text;
  }
  EXPECT_EQ(ReadEditNumber("0.10000", '.').text, "0.1");
  // Whole numbers and ordinary fractions keep the plain form the user typed.
  EXPECT_EQ(ReadEditNumber("5000000", '.').text, "5000000");
  EXPECT_EQ(ReadEditNumber("10000000", '.').text, "10000000");
  EXPECT_EQ(ReadEditNumber("200000,", '.').text, "200000");
  EXPECT_EQ(ReadEditNumber("0.00001", ',').text, "0,00001");
  EXPECT_EQ(ReadEditNumber("6378137.000", '.').text, "6378137");
  EXPECT_EQ(ReadEditNumber("1e-300", '.').text, "1e-300");
  EXPECT_EQ(ReadEditNumber("-0", '.').text, "-0");
}

TEST(ReadEditNumber, OutOfRangeStaysFiniteAndReadsBackTheSame) {
  // An edit never holds infinity: the text "inf" it would be rewritten with
  // reads as 0 the next time, so the value would change unseen.
  for (const char* typed : {"1e400", "-1e400", "10e551"}) {
    const EditNumber first = ReadEditNumber(typed, ',');
    EXPECT_EQ(std::fabs(first.value), std::numeric_limits<double>::max()) << typed;
    const EditNumber again = ReadEditNumber(first.text, ',');
    EXPECT_EQ(again.value, first.value) << typed;
    EXPECT_EQ(again.text, first.text) << typed;
  }
  EXPECT_EQ(ReadEditNumber("1e-400", '.').value, 0.0);
}

}  // namespace
}  // namespace transref
