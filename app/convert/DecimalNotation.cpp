#include "DecimalNotation.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>

namespace transref::convert {
namespace {

// Languages (ISO 639-1) whose decimal separator is the comma, after the
// C library's locale data.
constexpr std::array<std::string_view, 44> kCommaLanguages{
    "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es",
    "et", "eu", "fi", "fo", "fr", "gl", "hr", "hu", "hy", "id", "is",
    "it", "ka", "kk", "ky", "lt", "lv", "mk", "mn", "nb", "nl", "nn",
    "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr"};

// Territories of those languages that write a decimal point.
constexpr std::array<std::string_view, 13> kPointTerritories{
    "de_CH", "de_LI", "es_DO", "es_GT", "es_HN", "es_MX", "es_NI",
    "es_PA", "es_PR", "es_SV", "es_US", "fr_CH", "it_CH"};

// "pt_BR.UTF-8@euro" -> "pt_BR": the language and territory only.
std::string_view LanguageAndTerritory(std::string_view name) {
  return name.substr(0, name.find_first_of(".@"));
}

bool Contains(const auto& table, std::string_view key) {
  return std::find(table.begin(), table.end(), key) != table.end();
}

}  // namespace

std::string NumericLocaleName(const EnvironmentReader& environment) {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = environment(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

char DecimalSeparatorByLanguage(std::string_view localeName) {
  const std::string_view languageTerritory = LanguageAndTerritory(localeName);
  const std::string_view language = languageTerritory.substr(0, languageTerritory.find('_'));
  if (Contains(kPointTerritories, languageTerritory)) return '.';
  return Contains(kCommaLanguages, language) ? ',' : '.';
}

char DecimalSeparatorOfLocale(const std::string& localeName) {
  if (locale_t locale = newlocale(LC_NUMERIC_MASK, localeName.c_str(), locale_t{})) {
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    const char separator = (radix != nullptr && (*radix == ',' || *radix == '.')) ? *radix : '.';
    freelocale(locale);
    return separator;
  }
  return DecimalSeparatorByLanguage(localeName);
}

char DecimalSeparatorFromEnvironment(const EnvironmentReader& environment) {
  return DecimalSeparatorOfLocale(NumericLocaleName(environment));
}

}  // namespace transref::convert
