#include "conversion/Plausibility.h"

#include <cmath>
#include <numbers>

namespace transref {
namespace {

// A grid easting this far from its false easting lies beyond any zone.
constexpr double kMaxEastingOffset = 1'000'000.0;  // metres
// Beyond this the projection series loses millimetre accuracy (10 mm at
// 6°, 173 mm at 9° against an independent library).
constexpr double kMaxMeridianDistance = 6.0;  // degrees

std::string LinesText(const std::array<int, 3>& lines, std::size_t count) {
  std::string text = count == 1 ? "linha " : "linhas ";
  const std::size_t shown = std::min<std::size_t>(count, lines.size());
  for (std::size_t k = 0; k < shown; ++k) {
    if (k > 0) text += k + 1 == shown && count == shown ? " e " : ", ";
    text += std::to_string(lines[k]);
  }
  if (count > shown) text += " …";
  return text;
}

std::string Warning(std::size_t count, const std::array<int, 3>& lines, std::string_view what,
                    std::string_view cause) {
  return "Atenção: " + std::to_string(count) + (count == 1 ? " ponto " : " pontos ") + std::string(what) + " (" +
         LinesText(lines, count) + "). Causa provável: " + std::string(cause) + ".";
}

}  // namespace

PlausibilityCheck::PlausibilityCheck(const ConversionJob& job)
    : job_(job), inputGrid_(IsProjected(job.input.system)), outputGrid_(IsProjected(job.output.system)) {}

double PlausibilityCheck::DegreesFromCentralMeridian(const JobSide& side, double easting, double northing) {
  const double k0 = side.scaleFactor > 0.0 ? side.scaleFactor : 1.0;
  const double x = (easting - side.falseEasting) / (k0 * side.semiMajorAxis);
  const double y = (northing - side.falseNorthing) / (k0 * side.semiMajorAxis);
  return std::fabs(std::atan2(std::sinh(x), std::cos(y))) * 180.0 / std::numbers::pi;
}

namespace {

// tan 6°: on the sphere a point lies beyond 6° from the meridian when
// sinh|x| > tan 6° cos y.
constexpr double kTanMaxMeridianDistance = 0.10510423526567646;

// True when the point is surely within the bound, by arithmetic alone
// (every point of a usual survey): sinh|x| <= |x| (1 + x²/5.9) for
// |x| <= 0.2 and cos y >= 1 - y²/2, so the exact test is only run near the
// bound.
bool SurelyNearMeridian(const JobSide& side, double easting, double northing) {
  const double scale = (side.scaleFactor > 0.0 ? side.scaleFactor : 1.0) * side.semiMajorAxis;
  const double x = std::fabs(easting - side.falseEasting) / scale;
  const double y = (northing - side.falseNorthing) / scale;
  if (!(x <= 0.2) || !(y * y < 2.0)) return false;
  return x * (1.0 + x * x / 5.9) <= kTanMaxMeridianDistance * (1.0 - y * y / 2.0);
}

bool BeyondMeridianBound(const JobSide& side, double easting, double northing) {
  return !SurelyNearMeridian(side, easting, northing) &&
         PlausibilityCheck::DegreesFromCentralMeridian(side, easting, northing) > kMaxMeridianDistance;
}

}  // namespace

void PlausibilityCheck::AddPoint(int lineNumber, const double input[3], const double output[3]) {
  if (inputGrid_) {
    if (std::fabs(input[0] - job_.input.falseEasting) > kMaxEastingOffset) {
      tallies_[FarEasting].Add(lineNumber);
    } else if (BeyondMeridianBound(job_.input, input[0], input[1])) {
      tallies_[FarFromMeridianIn].Add(lineNumber);
    }
    if ((input[1] - job_.input.falseNorthing > 0.0) != job_.input.northern) {
      tallies_[OtherHemisphereIn].Add(lineNumber);
    }
  }
  if (outputGrid_) {
    if (BeyondMeridianBound(job_.output, output[0], output[1])) {
      tallies_[FarFromMeridianOut].Add(lineNumber);
    }
    if ((output[1] - job_.output.falseNorthing > 0.0) != job_.output.northern) {
      tallies_[OtherHemisphereOut].Add(lineNumber);
    }
  }
}

void PlausibilityCheck::AddDecimalMarks(int lineNumber, bool commaSeen, bool pointSeen) {
  if (commaSeen) commaLines_.Add(lineNumber);
  if (pointSeen) pointLines_.Add(lineNumber);
}

std::vector<std::string> PlausibilityCheck::Warnings() const {
  std::vector<std::string> warnings;
  const auto add = [&](Check check, std::string_view what, std::string_view cause) {
    const Tally& tally = tallies_[check];
    if (tally.count > 0) warnings.push_back(Warning(tally.count, tally.lines, what, cause));
  };
  add(FarEasting, "com a coordenada E a mais de 1.000 km do falso leste da entrada",
      "colunas E e N trocadas (N antes de E), ou sistema de entrada errado");
  add(FarFromMeridianIn, "a mais de 6° do meridiano central da entrada, onde a projeção perde a precisão milimétrica",
      "zona ou meridiano central da entrada errado");
  add(FarFromMeridianOut, "a mais de 6° do meridiano central da saída, onde a projeção perde a precisão milimétrica",
      "zona ou meridiano central da saída errado, longitude sem o sinal negativo (oeste), ou latitude e "
      "longitude trocadas");
  add(OtherHemisphereIn, "no outro hemisfério que o escolhido para a entrada",
      "hemisfério da entrada errado, ou colunas E e N trocadas");
  add(OtherHemisphereOut, "no outro hemisfério que o escolhido para a saída",
      "hemisfério da saída errado, ou latitude sem o sinal negativo (sul)");
  if (commaLines_.count > 0 && pointLines_.count > 0) {
    // The marks the fewer lines use are the suspicious ones.
    const Tally& odd = pointLines_.count <= commaLines_.count ? pointLines_ : commaLines_;
    const bool pointsOdd = &odd == &pointLines_;
    warnings.push_back("Atenção: o arquivo mistura vírgula e ponto decimal; " + std::to_string(odd.count) +
                       (odd.count == 1 ? " linha usa" : " linhas usam") + (pointsOdd ? " ponto" : " vírgula") + " (" +
                       LinesText(odd.lines, odd.count) +
                       "). Causa provável: " + (pointsOdd ? "ponto" : "vírgula") +
                       " usado como separador de milhar (1.035 lido como 1,035 m em vez de 1035 m).");
  }
  return warnings;
}

std::optional<std::string> OutsideZoneWarning(std::int64_t count, const std::vector<std::int64_t>& lines) {
  if (count <= 0) return std::nullopt;
  std::array<int, 3> first{};
  for (std::size_t k = 0; k < first.size() && k < lines.size(); ++k) first[k] = static_cast<int>(lines[k]);
  const auto n = static_cast<std::size_t>(count);
  // LinesText marks lines beyond the three it names; more entities than
  // lines known are marked here, once.
  const std::size_t known = std::min(n, lines.size());
  const bool more = n > known && known <= first.size();
  return "Atenção: " + std::to_string(n) + (n == 1 ? " entidade do desenho está" : " entidades do desenho estão") +
         " onde o sistema de entrada não as comporta (a ida e volta pela projeção erra mais de 1 m) e " +
         (n == 1 ? "foi convertida" : "foram convertidas") + " sem lugar plausível (" +
         LinesText(first, known) + (more ? " …" : "") +
         "). Causa provável: zona, meridiano central ou sistema de entrada errado.";
}

}  // namespace transref
