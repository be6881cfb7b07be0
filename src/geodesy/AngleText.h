#pragma once
#include <optional>
#include <string>
#include <string_view>
namespace transref {
enum class AngleAxis { Longitude, Latitude };
// An angle as a person writes it: "-51.2084722", "51,2084722", "51°12'30.5\"W", "51 12 30.5 W",
// "-51:12:30.5", "30 03 45 S", "51 12 30,5 O". Gives signed decimal degrees (east and north positive),
// or nothing with `reason` set to a Portuguese explanation.
struct AngleReading {
  std::optional<double> degrees;
  std::string reason;
};
AngleReading ReadAngleText(std::string_view text, AngleAxis axis);
}  // namespace transref
