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
constexpr double kSecondsPerMinute = 60.0;
constexpr int kMinutesPerDegree = 60;

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
  SexagesimalAngle shown = angle;
  double whole = std::trunc(angle.seconds);
  double thousandths = RoundHalfAwayFromZero((angle.seconds - whole) * 1000.0);
  if (thousandths >= 1000.0) {  // 30.9996" shows 31.000", not 30.1000"
    whole += 1.0;
    thousandths -= 1000.0;
    // 59.9996" rounds up to the next minute (and 59' to the next degree):
    // 15' 59.9996" shows 16' 00.000", not 15' 60.000".
    if (whole == kSecondsPerMinute) {
      whole = 0.0;
      if (++shown.minutes == kMinutesPerDegree) {
        shown.minutes = 0;
        const bool negative = angle.degrees < 0 || angle.negative;
        shown.degrees = static_cast<std::int16_t>(angle.degrees + (negative ? -1 : 1));
      }
    }
  }
  char buffer[64];
  FormatC(buffer, sizeof buffer, "%s° %2.2d' %2.2d.%3.3d\"", DegreesField(shown).c_str(),
                static_cast<int>(shown.minutes), static_cast<int>(whole),
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
    throw std::runtime_error(number + " não é um valor numerico!");
  }
  if (decimalSeparator != '.') {
    // In the user's notation a point is not a decimal separator.
    if (number.find('.') != std::string::npos) {
      throw std::runtime_error(number + " não é um valor numerico!");
    }
    for (char& c : number) {
      if (c == decimalSeparator) c = '.';
    }
  }
  const double packed = static_cast<double>(ToNumber(number));
  const std::optional<SexagesimalAngle> angle = FromPackedSexagesimal(packed);
  if (!angle) return std::nullopt;
  CustomMeridianTexts texts;
  texts.degrees = ToDecimalDegrees(*angle).Degrees();
  texts.panelText = CustomPanelText(*angle);
  texts.listEntry = MeridianListEntry(texts.degrees);
  return texts;
}

}  // namespace transref
