#include "geodesy/Sexagesimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "geodesy/CoordinateSystems.h"
#include "support/Numbers.h"

namespace transref {

namespace {

// 1/60 and 1/3600 in extended precision.
constexpr long double kOneMinute = 1.0L / 60.0L;
constexpr long double kOneSecond = 1.0L / 3600.0L;
constexpr double kDegreesFieldLimit = 32767.0;
constexpr long long kThousandthsPerSecond = 1000;
constexpr long long kSecondsPerMinute = 60;
constexpr long long kMinutesPerDegree = 60;

double RoundHalfAwayFromZero(double x) {
  return x >= 0.0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
}

// printf's "%2.0d": two columns, and no digit at all for 0 (blanks). A
// negative angle with 0 degrees shows "-0" so that its sign stays visible.
std::string DegreesField(const SexagesimalAngle& angle) {
  char buffer[16];
  if (angle.degrees == 0 && angle.negative) return "-0";
  FormatC(buffer, sizeof buffer, "%2.0d", static_cast<int>(angle.degrees));
  return buffer;
}

double ReadDouble(std::string_view text) {
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

SexagesimalAngle FromDecimalDegrees(Angle angle) {
  double x = angle.Degrees();
  SexagesimalAngle result;
  if (!std::isfinite(x)) return result;
  x = std::fmax(-kDegreesFieldLimit, std::fmin(kDegreesFieldLimit, x));
  const double degrees = std::trunc(x);
  const double r = std::fabs(degrees - x) * 60.0;
  const double minutes = std::trunc(r);
  result.degrees = static_cast<std::int16_t>(degrees);
  result.minutes = static_cast<std::uint8_t>(minutes);
  result.seconds = (r - minutes) * 60.0;
  result.negative = x < 0.0;
  return result;
}

Angle ToDecimalDegrees(const SexagesimalAngle& angle) {
  const long double sign = (angle.degrees < 0 || angle.negative) ? -1.0L : 1.0L;
  const long double magnitude = std::abs(static_cast<int>(angle.degrees)) +
                                angle.minutes * kOneMinute +
                                static_cast<long double>(angle.seconds) * kOneSecond;
  return Angle(static_cast<double>(sign * magnitude));
}

std::optional<SexagesimalAngle> FromPackedSexagesimal(double packed) {
  if (!std::isfinite(packed) || std::fabs(packed) > kPackedSexagesimalLimit) {
    return std::nullopt;
  }
  char text[64];
  FormatC(text, sizeof text, "%0.10lf", packed);
  const std::string_view all(text);
  const std::size_t point = all.find('.');
  const std::string_view whole = all.substr(0, point);
  const std::string_view minutes = all.substr(point + 1, 2);
  const std::string fraction = "0." + std::string(all.substr(point + 3));

  SexagesimalAngle result;
  result.degrees = static_cast<std::int16_t>(std::trunc(ReadDouble(whole)));
  result.minutes = static_cast<std::uint8_t>(std::trunc(ReadDouble(minutes)));
  result.seconds = ReadDouble(fraction) * 100.0;
  // The text of -0.30 reads 0 degrees; the sign is taken from the text so
  // that it is not lost (a value that prints as all zeros has none).
  result.negative = whole.front() == '-' && (result.degrees != 0 || result.minutes != 0 ||
                                             result.seconds != 0.0);
  return result;
}

std::string ListDisplayText(const SexagesimalAngle& angle) {
  char buffer[64];
  FormatC(buffer, sizeof buffer, "%s° %2.2d' %2.2d\"", DegreesField(angle).c_str(),
                static_cast<int>(angle.minutes), static_cast<int>(std::trunc(angle.seconds)));
  return buffer;
}

std::string CustomPanelText(const SexagesimalAngle& angle) {
  // Seconds to thousandths (rounded half away from zero: 30.9996" is
  // 31.000"); then every 60 seconds carry into the minutes and every 60
  // minutes into the degrees, as they count in the value used. The packed
  // digits may say 15' 60" or 60' (51.1560, 51.6): the panel shows
  // 16' 00.000" and 52° 00' 00.000", never 60 of either.
  const double whole = std::trunc(angle.seconds);
  const long long thousandthsInAll =
      static_cast<long long>(whole) * kThousandthsPerSecond +
      static_cast<long long>(RoundHalfAwayFromZero((angle.seconds - whole) * kThousandthsPerSecond));
  const long long thousandths = thousandthsInAll % kThousandthsPerSecond;
  const long long secondsInAll = thousandthsInAll / kThousandthsPerSecond;
  const long long minutesInAll = angle.minutes + secondsInAll / kSecondsPerMinute;
  const long long degreesCarried = minutesInAll / kMinutesPerDegree;

  SexagesimalAngle shown = angle;
  const bool negative = angle.degrees < 0 || angle.negative;
  const long long degrees = std::abs(static_cast<long long>(angle.degrees)) + degreesCarried;
  shown.degrees = static_cast<std::int16_t>(negative ? -degrees : degrees);
  shown.minutes = static_cast<std::uint8_t>(minutesInAll % kMinutesPerDegree);
  char buffer[64];
  FormatC(buffer, sizeof buffer, "%s° %2.2d' %2.2d.%3.3d\"", DegreesField(shown).c_str(),
          static_cast<int>(shown.minutes), static_cast<int>(secondsInAll % kSecondsPerMinute),
          static_cast<int>(thousandths));
  return buffer;
}

std::string MeridianListEntry(double degrees) {
  char buffer[64];
  FormatC(buffer, sizeof buffer, "%0.10lf", degrees);
  return std::string(buffer) + std::string(kDegreeSign);
}

std::string CentralMeridianDisplayText(std::string_view entry) {
  return ListDisplayText(FromDecimalDegrees(Angle(ParseCentralMeridianEntry(entry))));
}

std::optional<CustomMeridianTexts> CustomCentralMeridianFromEntry(std::string_view text,
                                                                  char decimalSeparator) {
  std::string number(text);
  // A blank entry is no number (the number reader would take it as 0).
  if (number.find_first_not_of(" \t") == std::string::npos) {
    ThrowNotANumber(number);
  }
  // A point, a comma or the user's own separator: a packed angle has no
  // digit grouping, so any of them can only be its decimal mark.
  for (char& c : number) {
    if (c == ',' || c == decimalSeparator) c = '.';
  }
  const double value = static_cast<double>(ToNumber(number));
  const std::optional<SexagesimalAngle> angle = FromPackedSexagesimal(std::fabs(value));
  if (!angle) return std::nullopt;
  CustomMeridianTexts texts;
  texts.west = std::signbit(value) && value != 0.0;
  texts.degrees = ToDecimalDegrees(*angle).Degrees();
  texts.panelText = CustomPanelText(*angle);
  texts.listEntry = MeridianListEntry(texts.degrees);
  return texts;
}

std::string HemisphereDmsText(double degrees, bool longitude) {
  constexpr double kMicrosecondsPerDegree = 3600.0 * 1e6;
  constexpr long long kMicrosecondsPerSecond = 1000000;
  const char* hemisphere = longitude ? (std::signbit(degrees) ? "O" : "L") : (std::signbit(degrees) ? "S" : "N");
  if (!std::isfinite(degrees) || std::fabs(degrees) > kPackedSexagesimalLimit) return {};
  const long long all = std::llround(std::fabs(degrees) * kMicrosecondsPerDegree);
  const long long micro = all % kMicrosecondsPerSecond;
  const long long seconds = all / kMicrosecondsPerSecond;
  if (all == 0) hemisphere = longitude ? "L" : "N";
  char buffer[64];
  FormatC(buffer, sizeof buffer, "%lld° %02lld' %02lld.%06lld\" %s", seconds / 3600, seconds / 60 % 60, seconds % 60,
          micro, hemisphere);
  return buffer;
}

}  // namespace transref
