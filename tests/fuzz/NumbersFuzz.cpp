// The number readers of the engine: ToNumber (file values), ReadEditNumber
// (the window's numeric edits) and the packed sexagesimal reading of a
// customised central meridian with its panel text and list entry.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "conversion/EditNumber.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/Sexagesimal.h"
#include "support/Numbers.h"

namespace {

using namespace transref;

constexpr std::string_view kNotANumber = " não é um valor numerico!";
constexpr std::size_t kMessageLimit = 255;

// A refusal carries the fixed complaint (cut at 255 characters for a very
// long text, so only the bound is checked then).
void CheckRefusal(const std::runtime_error& error, std::string_view text) {
  const std::string_view message = error.what();
  FUZZ_CHECK(message.size() <= kMessageLimit);
  if (text.size() + kNotANumber.size() < kMessageLimit) {
    FUZZ_CHECK(message.size() >= kNotANumber.size() &&
               message.substr(message.size() - kNotANumber.size()) == kNotANumber);
  }
}

void FuzzToNumber(std::string_view text) {
  double value = 0.0;
  try {
    value = static_cast<double>(ToNumber(text));
  } catch (const std::runtime_error& error) {
    CheckRefusal(error, text);
    return;
  }
  // Only decimal numbers are read: never NaN, and a finite value reads back
  // from its own shortest text.
  FUZZ_CHECK(!std::isnan(value));
  if (std::isfinite(value)) {
    const std::string again = FormatC("%.17g", value);
    FUZZ_CHECK(static_cast<double>(ToNumber(again)) == value);
  }
}

void FuzzEditNumber(std::string_view text, char separator) {
  const EditNumber first = ReadEditNumber(text, separator);
  FUZZ_CHECK(!std::isnan(first.value));
  // The rewritten edit text reads back as the same value and rewrites to
  // itself, so leaving an edit twice changes nothing.
  const EditNumber second = ReadEditNumber(first.text, separator);
  FUZZ_CHECK(second.value == first.value);
  FUZZ_CHECK(second.text == first.text);
}

// Degrees of a panel text "D° MM' SS.sss\"" (sign on the degrees, "-0" for
// a small negative angle); minutes and seconds must be below 60.
std::optional<double> PanelDegrees(const std::string& panel) {
  int degrees = 0, minutes = 0, seconds = 0, thousandths = 0;
  const std::size_t degreeSign = panel.find("°");
  if (degreeSign == std::string::npos) return std::nullopt;
  const std::string degreeText = panel.substr(0, degreeSign);
  const bool negative = degreeText.find('-') != std::string::npos;
  degrees = std::abs(static_cast<int>(ToNumber(degreeText)));
  const std::string rest = panel.substr(degreeSign + std::string_view("°").size());
  if (std::sscanf(rest.c_str(), " %d' %d.%d\"", &minutes, &seconds, &thousandths) != 3) return std::nullopt;
  FUZZ_CHECK(minutes >= 0 && minutes < 60);
  FUZZ_CHECK(seconds >= 0 && seconds < 60);
  FUZZ_CHECK(thousandths >= 0 && thousandths < 1000);
  const double magnitude = degrees + minutes / 60.0 + (seconds + thousandths / 1000.0) / 3600.0;
  return negative ? -magnitude : magnitude;
}

void FuzzCustomMeridian(std::string_view text, char separator) {
  std::optional<CustomMeridianTexts> texts;
  try {
    texts = CustomCentralMeridianFromEntry(text, separator);
  } catch (const std::runtime_error& error) {
    CheckRefusal(error, text);
    return;
  }
  if (!texts) return;  // out of range: refused without a text
  FUZZ_CHECK(std::isfinite(texts->degrees) && std::fabs(texts->degrees) <= kPackedSexagesimalLimit + 1.0);
  // The list entry carries the value the panel shows: the entry reads back
  // to the value used, and the panel agrees with it to its last digit.
  const double entry = ParseCentralMeridianEntry(texts->listEntry);
  FUZZ_CHECK(std::fabs(entry - texts->degrees) <= 1e-10);
  const std::optional<double> shown = PanelDegrees(texts->panelText);
  FUZZ_CHECK(shown.has_value());
  FUZZ_CHECK(std::fabs(*shown - texts->degrees) <= 0.0005 / 3600.0 + 1e-9);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) ? ',' : '.';
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch ((data[0] >> 1) % 3) {
    case 0:
      FuzzToNumber(text);
      break;
    case 1:
      FuzzEditNumber(text, separator);
      break;
    default:
      FuzzCustomMeridian(text, separator);
      break;
  }
  return 0;
}
