// The user's decimal separator, as the desktop program takes it from the
// regional settings: here from the POSIX locale variables.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace transref::convert {

using EnvironmentReader = std::function<const char*(const char* name)>;

// The locale that governs numbers, by POSIX precedence: the first non-empty
// of LC_ALL, LC_NUMERIC and LANG; "C" when none is set.
std::string NumericLocaleName(const EnvironmentReader& environment);

// The decimal separator of a locale name such as "pt_BR.UTF-8". When the C
// library has the locale installed, its own radix character is used
// (newlocale + nl_langinfo_l(RADIXCHAR)); otherwise the separator is looked
// up by language (and a few territories) in DecimalSeparatorByLanguage.
char DecimalSeparatorOfLocale(const std::string& localeName);

// The fallback table: ',' for the languages whose usual decimal separator
// is the comma (pt, es, fr, de, it, ru, ...), except a few territories
// that write a point (de_CH, es_MX, es_US, ...); '.' for everything else,
// "C" and "POSIX" included.
char DecimalSeparatorByLanguage(std::string_view localeName);

// NumericLocaleName followed by DecimalSeparatorOfLocale.
char DecimalSeparatorFromEnvironment(const EnvironmentReader& environment);

}  // namespace transref::convert
