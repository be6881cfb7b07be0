// The user's decimal separator from the POSIX locale variables.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "convert/DecimalNotation.h"

namespace transref::convert {
namespace {

EnvironmentReader Environment(const std::map<std::string, std::string>& variables) {
  return [variables](const char* name) -> const char* {
    const auto found = variables.find(name);
    return found == variables.end() ? nullptr : found->second.c_str();
  };
}

TEST(DecimalNotation, LocaleVariablesInPosixPrecedence) {
  EXPECT_EQ(NumericLocaleName(Environment({})), "C");
  EXPECT_EQ(NumericLocaleName(Environment({{"LANG", "pt_BR.UTF-8"}})), "pt_BR.UTF-8");
  EXPECT_EQ(NumericLocaleName(Environment({{"LANG", "pt_BR.UTF-8"}, {"LC_NUMERIC", "en_US"}})),
            "en_US");
  EXPECT_EQ(NumericLocaleName(
                Environment({{"LANG", "en_US"}, {"LC_NUMERIC", "de_DE"}, {"LC_ALL", "C"}})),
            "C");
  // An empty variable does not count.
  EXPECT_EQ(NumericLocaleName(Environment({{"LC_ALL", ""}, {"LANG", "fr_FR"}})), "fr_FR");
}

TEST(DecimalNotation, LanguageTableForLocalesNotInstalled) {
  EXPECT_EQ(DecimalSeparatorByLanguage("pt_BR.UTF-8"), ',');
  EXPECT_EQ(DecimalSeparatorByLanguage("pt_PT"), ',');
  EXPECT_EQ(DecimalSeparatorByLanguage("de_DE@euro"), ',');
  EXPECT_EQ(DecimalSeparatorByLanguage("es_AR.ISO-8859-1"), ',');
  EXPECT_EQ(DecimalSeparatorByLanguage("ru"), ',');
  EXPECT_EQ(DecimalSeparatorByLanguage("es_MX.UTF-8"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("de_CH"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("en_US.UTF-8"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("ja_JP"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("C"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("POSIX"), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage(""), '.');
  EXPECT_EQ(DecimalSeparatorByLanguage("ptx_BR"), '.');  // a language code, not a prefix
}

TEST(DecimalNotation, InstalledLocalesAnswerThemselves) {
  // C and C.UTF-8 are always installed and write a point.
  EXPECT_EQ(DecimalSeparatorOfLocale("C"), '.');
  EXPECT_EQ(DecimalSeparatorOfLocale("C.UTF-8"), '.');
  // Installed or not, Brazilian Portuguese writes a comma.
  EXPECT_EQ(DecimalSeparatorOfLocale("pt_BR.UTF-8"), ',');
  EXPECT_EQ(DecimalSeparatorFromEnvironment(Environment({{"LANG", "pt_BR.UTF-8"}})), ',');
  EXPECT_EQ(DecimalSeparatorFromEnvironment(
                Environment({{"LANG", "pt_BR.UTF-8"}, {"LC_NUMERIC", "C"}})),
            '.');
}

}  // namespace
}  // namespace transref::convert
