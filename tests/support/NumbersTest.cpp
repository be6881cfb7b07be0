#include "support/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

using transref::ToNumber;

std::string MessageOf(std::string_view text) {
  try {
    ToNumber(text);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "(no exception)";
}

TEST(ToNumberTest, TextsWithoutWordsReadAsZero) {
  EXPECT_EQ(ToNumber(""), 0.0L);
  EXPECT_EQ(ToNumber("   "), 0.0L);
}

TEST(ToNumberTest, ReadsNumbersLikeTheCLocale) {
  EXPECT_EQ(ToNumber("12.5"), 12.5L);
  EXPECT_EQ(ToNumber(" 7"), 7.0L);
  EXPECT_EQ(ToNumber("\t-3.25e2"), -325.0L);
  EXPECT_EQ(ToNumber("+4"), 4.0L);
  EXPECT_EQ(ToNumber("7456123.987"), static_cast<long double>(7456123.987));
  EXPECT_EQ(ToNumber("0x10"), 16.0L);
  EXPECT_TRUE(std::isinf(ToNumber("1e999")));
  EXPECT_TRUE(std::isnan(ToNumber("nan")));
  // The value is the double conversion widened, not a long double parse.
  EXPECT_EQ(ToNumber("0.1"), static_cast<long double>(0.1));
  std::setlocale(LC_NUMERIC, "C");
  for (const char* text : {"3.14159265358979", "-0.0", "1e-320", "  .5", "6.02214076e23"})
    EXPECT_EQ(ToNumber(text), static_cast<long double>(std::strtod(text, nullptr))) << text;
}

TEST(ToNumberTest, RemainderAfterTheNumberThrowsWithWholeText) {
  EXPECT_EQ(MessageOf("12,5"), "12,5 não é um valor numerico!");
  EXPECT_EQ(MessageOf("7 "), "7  não é um valor numerico!");
  EXPECT_EQ(MessageOf("abc"), "abc não é um valor numerico!");
  EXPECT_EQ(MessageOf("\t"), "\t não é um valor numerico!");
  EXPECT_EQ(MessageOf("+-5"), "+-5 não é um valor numerico!");
  EXPECT_EQ(MessageOf(std::string_view("1\0", 2)).substr(0, 1), "1");
}

TEST(ToNumberTest, MessageKeepsAtMost255Characters) {
  const std::string text = "x" + std::string(400, '9');
  const std::string message = MessageOf(text);
  EXPECT_EQ(message.size(), 255u);
  EXPECT_EQ(message, text.substr(0, 255));
}

TEST(ToNumberTest, IgnoresTheProcessDecimalComma) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "pt_BR") == nullptr)
    GTEST_SKIP() << "no Brazilian locale installed";
  const long double point = ToNumber("12.5");
  const std::string comma = MessageOf("12,5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(point, 12.5L);
  EXPECT_EQ(comma, "12,5 não é um valor numerico!");
}

}  // namespace
