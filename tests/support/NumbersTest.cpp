#include "support/Numbers.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

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
  // The value is the double conversion widened, not a long double parse.
  EXPECT_EQ(ToNumber("0.1"), static_cast<long double>(0.1));
  std::setlocale(LC_NUMERIC, "C");
  for (const char* text : {"3.14159265358979", "-0.0", "1e-320", "  .5", "6.02214076e23"})
    EXPECT_EQ(ToNumber(text), static_cast<long double>(std::strtod(text, nullptr))) << text;
}

TEST(ToNumberTest, OnlyDecimalNumbersAreNumbers) {
  // The C library's other forms are no survey numbers: "0x10" is not 16.
  for (const char* text : {"0x10", "0X1p4", "inf", "-INF", "nan", "NaN(1)", "infinity", " +Infinity", "1e", "1e+",
                           ".", "-.e1"}) {
    EXPECT_EQ(MessageOf(text), std::string(text) + " não é um valor numerico!") << text;
  }
  // Nor is a number beyond the range of a double: it would be carried as
  // infinity and written as "inf" into a drawing.
  for (const char* text : {"1e400", "-1e309", "9e99999"}) {
    EXPECT_EQ(MessageOf(text), std::string(text) + " não é um valor numerico!") << text;
  }
  EXPECT_EQ(ToNumber("1e-400"), 0.0L);  // below the smallest double: 0, as the C library reads it
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
  // A zero byte in a broken file's value ends the text as "%s" ends it; the
  // complaint is kept.
  EXPECT_EQ(MessageOf(std::string("1a\0b", 4)), "1a não é um valor numerico!");
}

// Makes a Brazilian numeric locale current: an installed one, or one
// compiled into a temporary folder with localedef (LOCPATH is read by every
// setlocale call).
bool UseBrazilianNumericLocale(const std::string& folder) {
  if (std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") != nullptr) return true;
  const std::string command = "localedef -i pt_BR -f UTF-8 '" + folder +
                              "/pt_BR.UTF-8' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  ::setenv("LOCPATH", folder.c_str(), 1);
  const bool ok = std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") != nullptr;
  ::unsetenv("LOCPATH");
  return ok;
}

TEST(ToNumberTest, IgnoresTheProcessDecimalComma) {
  const std::string folder = ::testing::TempDir() + "transref_locale_" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const bool available = UseBrazilianNumericLocale(folder);
  if (available) {
    // The process's own conversion now takes the comma.
    EXPECT_EQ(std::strtod("12,5", nullptr), 12.5);
    EXPECT_EQ(ToNumber("12.5"), 12.5L);
    EXPECT_EQ(MessageOf("12,5"), "12,5 não é um valor numerico!");
    std::setlocale(LC_NUMERIC, "C");
  }
  std::filesystem::remove_all(folder);
  if (!available) GTEST_SKIP() << "no Brazilian locale and no localedef";
}

// The quick reader of plain decimals must give exactly the double that
// from_chars gives whenever it takes a text (sign of zero included), and
// leave every other text to the general reader.
TEST(ReadExactDecimalTest, AgreesBitForBitWithFromChars) {
  std::mt19937_64 random(20261209);
  const auto digits = [&](int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text.push_back(static_cast<char>('0' + random() % 10));
    return text;
  };
  std::vector<std::string> texts = {"0", "-0", "+0", "-0.000", "5.", ".5", "0000123.4500", "9007199254740992",
                                    "9007199254740993", "1.7976931348623157", "123456789012345678.9",
                                    "0.0000000000000000000001", "0.00000000000000000000001", "1,5", "-7,25"};
  for (int i = 0; i < 20000; ++i) {
    const int whole = static_cast<int>(random() % 12), fraction = static_cast<int>(random() % 24);
    std::string text = (random() % 3 == 0 ? "-" : "") + digits(whole);
    if (random() % 4 != 0) text += (random() % 5 == 0 ? "," : ".") + digits(fraction);
    texts.push_back(text);
  }
  int taken = 0;
  for (const std::string& text : texts) {
    for (const bool commaToo : {false, true}) {
      double quick = 0.0;
      if (!transref::ReadExactDecimal(text, commaToo, quick)) continue;
      ++taken;
      std::string plain = text;
      std::replace(plain.begin(), plain.end(), ',', '.');
      ASSERT_TRUE(commaToo || plain == text) << text;
      const bool negative = plain[0] == '-';
      const std::size_t skip = (plain[0] == '-' || plain[0] == '+') ? 1 : 0;
      double expected = 0.0;
      const auto parsed = std::from_chars(plain.data() + skip, plain.data() + plain.size(), expected);
      ASSERT_EQ(parsed.ptr, plain.data() + plain.size()) << text;
      if (negative) expected = -expected;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(quick), std::bit_cast<std::uint64_t>(expected)) << text;
    }
  }
  EXPECT_GT(taken, 10000);  // the usual texts do take the quick way
  double unused = 0.0;
  for (const char* other : {"", "-", ".", "1e5", "1.2.3", " 1", "1 ", "0x10", "inf", "nan", "1,5", "+-1",
                            "12345678901234567890"}) {
    EXPECT_FALSE(transref::ReadExactDecimal(other, false, unused)) << other;
  }
}

}  // namespace
