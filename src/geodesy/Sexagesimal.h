#pragma once

// Angles in degrees, minutes and seconds: conversions from and to decimal
// degrees, the packed notation D.MMSSsss typed by the user, and the texts the
// windows and the batch converter show for a central meridian.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geodesy/Ellipsoid.h"

namespace transref {

struct SexagesimalAngle {
  std::int16_t degrees = 0;  // carries the sign when it is not 0
  std::uint8_t minutes = 0;
  double seconds = 0.0;
  // Sign of the whole angle; needed when degrees is 0 (e.g. -0°30').
  bool negative = false;
};

// Largest magnitude accepted for a packed value (degrees).
inline constexpr double kPackedSexagesimalLimit = 360.0;

SexagesimalAngle FromDecimalDegrees(Angle angle);
Angle ToDecimalDegrees(const SexagesimalAngle& angle);

// Reads D.MMSSsss through its "%0.10lf" text: degrees before the point, two
// digits of minutes, then seconds with six decimals. Values outside
// -360...360 (and non-finite ones) are refused.
std::optional<SexagesimalAngle> FromPackedSexagesimal(double packed);

// "%2.0d° %2.2d' %2.2d\"" with truncated seconds (a central meridian chosen
// from the list).
std::string ListDisplayText(const SexagesimalAngle& angle);
// "%2.0d° %2.2d' %2.2d.%3.3d\"": whole seconds and thousandths rounded half
// away from zero (a customised central meridian).
std::string CustomPanelText(const SexagesimalAngle& angle);
// "%0.10lf°": the list entry that carries a customised central meridian.
std::string MeridianListEntry(double degrees);

// Panel text of a central-meridian list entry such as "51.5°" (throws the
// number reader's std::runtime_error when the entry is not a number).
std::string CentralMeridianDisplayText(std::string_view entry);

struct CustomMeridianTexts {
  std::string panelText;  // CustomPanelText of the magnitude
  std::string listEntry;  // MeridianListEntry of the magnitude
  double degrees = 0.0;   // decimal degrees of the magnitude
  bool west = false;      // the value typed was negative
};

// Turns what the user typed for a customised central meridian (packed
// sexagesimal, with a decimal point, a comma or the user's own separator)
// into the panel text and the list entry. The sign is not part of them: the
// longitude hemisphere signs the meridian, and a negative value only names
// the western one (`west`), so the sign is never counted twice. Throws
// std::runtime_error ("%s não é um valor numerico!") when the text is not a
// number; std::nullopt when the value is out of range.
std::optional<CustomMeridianTexts> CustomCentralMeridianFromEntry(std::string_view text,
                                                                  char decimalSeparator);

// A longitude or latitude in degrees, minutes and seconds with six
// decimals and its hemisphere letter in Portuguese (L/O, N/S), seconds
// rounded and carried: -51.2084722 -> "51° 12' 30.499920\" O". The point
// is always the decimal mark. Empty beyond 360° either way.
std::string HemisphereDmsText(double degrees, bool longitude);

}  // namespace transref
