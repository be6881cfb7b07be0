#include "geodesy/ParameterSets.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "support/Numbers.h"

namespace transref {

// Field order: tx, ty, tz (m), rx, ry, rz (degrees), scale.
const IsogonalParameters kIsogonalGrs80ToHayford{
    250.1308088244, -196.3368431836, 40.5161882379,
    -0.0008346768,  0.0013935515,    0.0002403906,  0.9999960439};
const IsogonalParameters kIsogonalHayfordToGrs80{
    -250.129989099, 196.339259686, -40.5195719703,
    0.0008346827,   -0.001393548,  -0.0002404109,  1.0000039561};
const IsogonalParameters kTranslationGrs80ToHayford{
    177.1851478228, -211.0832946773, 31.5581677418, 0.0, 0.0, 0.0, 1.0};
const IsogonalParameters kTranslationHayfordToGrs80{
    -177.1851478228, 211.0832946773, -31.5581677418, 0.0, 0.0, 0.0, 1.0};

const IsogonalParameters kTranslationSad69ToSirgas2000{-67.35, 3.88, -38.22, 0.0, 0.0, 0.0, 1.0};
const IsogonalParameters kTranslationCorregoAlegre7072ToSirgas2000{
    -206.05, 168.28, -3.82, 0.0, 0.0, 0.0, 1.0};

namespace {

using F = ReferenceFrame;

constexpr std::array<ShippedGrid, 4> kShippedGrids = {{
    {F::Sad69, F::Grs80, "SAD69_003.gsb"},
    {F::Sad69_96, F::Grs80, "SAD96_003.gsb"},
    {F::CorregoAlegre61, F::Grs80, "CA61_003.gsb"},
    {F::CorregoAlegre7072, F::Grs80, "CA7072_003.gsb"},
}};

IsogonalParameters Negated(const IsogonalParameters& p) {
  return {-p.tx, -p.ty, -p.tz, 0.0, 0.0, 0.0, 1.0};
}

bool IsTranslation(const IsogonalParameters& p) {
  return p.rx == 0.0 && p.ry == 0.0 && p.rz == 0.0 && p.scale == 1.0;
}

// IBGE's translation of a frame to SIRGAS 2000.
std::optional<IsogonalParameters> ToSirgas2000(ReferenceFrame frame) {
  switch (frame) {
    case F::Sad69:
    case F::Sad69_96:
      return kTranslationSad69ToSirgas2000;
    case F::CorregoAlegre7072:
      return kTranslationCorregoAlegre7072ToSirgas2000;
    default:
      return std::nullopt;
  }
}

AffineParameters IdentityWithTranslation(const IsogonalParameters& translation) {
  AffineParameters affine;  // identity matrix, zero translation
  affine.tx = translation.tx;
  affine.ty = translation.ty;
  affine.tz = translation.tz;
  return affine;
}

}  // namespace

std::optional<IsogonalParameters> PublishedParameters(TransformationModel model, ReferenceFrame from,
                                                      ReferenceFrame to) {
  const bool isogonal = model == TransformationModel::Isogonal;
  if (from == F::Grs80 && to == F::Hayford) {
    return isogonal ? kIsogonalGrs80ToHayford : kTranslationGrs80ToHayford;
  }
  if (from == F::Hayford && to == F::Grs80) {
    return isogonal ? kIsogonalHayfordToGrs80 : kTranslationHayfordToGrs80;
  }
  if (to == F::Grs80) return ToSirgas2000(from);
  if (from == F::Grs80) {
    if (const std::optional<IsogonalParameters> back = ToSirgas2000(to)) return Negated(*back);
  }
  return std::nullopt;
}

std::optional<std::vector<ParameterLeg>> PublishedLegs(TransformationModel model, ReferenceFrame from,
                                                       ReferenceFrame to) {
  std::vector<ParameterLeg> legs;
  if (from == to) return legs;
  if (from == F::Custom || to == F::Custom) return std::nullopt;
  const bool direct = from == F::Grs80 || to == F::Grs80;
  const std::array<std::pair<F, F>, 2> steps = {std::pair{from, direct ? to : F::Grs80},
                                                std::pair{F::Grs80, to}};
  for (std::size_t k = 0; k < (direct ? 1u : 2u); ++k) {
    const auto [a, b] = steps[k];
    const std::optional<IsogonalParameters> parameters = PublishedParameters(model, a, b);
    if (!parameters) return std::nullopt;
    legs.push_back({a, b, *parameters});
  }
  return legs;
}

IsogonalParameters ComposeLegs(const std::vector<ParameterLeg>& legs) {
  IsogonalParameters result{};
  bool rotated = false;
  for (const ParameterLeg& leg : legs) {
    const IsogonalParameters& p = leg.parameters;
    if (IsTranslation(p)) {
      result.tx += p.tx;
      result.ty += p.ty;
      result.tz += p.tz;
      continue;
    }
    if (rotated) throw std::logic_error("ComposeLegs: two legs rotate or scale");
    rotated = true;
    // sR applied to the translation gathered so far, then this leg's own.
    const RotationSet r(p.rx, p.ry, p.rz);
    const double t[3] = {result.tx, result.ty, result.tz};
    double moved[3];
    for (int i = 0; i < 3; ++i) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) sum += r.Element(i * 3 + k) * t[k];
      moved[i] = p.scale * sum;
    }
    result = {moved[0] + p.tx, moved[1] + p.ty, moved[2] + p.tz, p.rx, p.ry, p.rz, p.scale};
  }
  return result;
}

std::string LegsText(const std::vector<ParameterLeg>& legs, TransformationModel model, char decimalSeparator) {
  std::string text;
  for (const ParameterLeg& leg : legs) {
    const IsogonalParameters& p = leg.parameters;
    if (!text.empty()) text += "; ";
    text += std::string(FrameInfo(leg.from).shortName) + " → " + std::string(FrameInfo(leg.to).shortName) + " (";
    const double values[] = {p.tx, p.ty, p.tz, p.rx, p.ry, p.rz, p.scale};
    const std::size_t count = model == TransformationModel::Translation ? 3 : 7;
    for (std::size_t k = 0; k < count; ++k) {
      text += (k ? ", " : "") + FormatParameterValue(values[k], decimalSeparator);
    }
    text += ")";
  }
  return text;
}

std::optional<ShippedGrid> ShippedGridFor(ReferenceFrame a, ReferenceFrame b) {
  for (const ShippedGrid& grid : kShippedGrids) {
    if ((grid.source == a && grid.target == b) || (grid.source == b && grid.target == a)) return grid;
  }
  return std::nullopt;
}

TransformationModel DefaultModel(ReferenceFrame input, ReferenceFrame output) {
  return ShippedGridFor(input, output) ? TransformationModel::Grid : TransformationModel::Isogonal;
}

ParameterDecision LookupTransformationParameters(TransformationModel model,
                                                 ReferenceFrame inputFrame,
                                                 ReferenceFrame outputFrame) {
  ParameterDecision decision;
  if (model == TransformationModel::Grid) {
    decision.panel = ParameterPanel::Grid;
    if (const std::optional<ShippedGrid> grid = ShippedGridFor(inputFrame, outputFrame)) {
      decision.shippedGridFile = grid->fileName;
    }
    return decision;
  }
  const bool custom = inputFrame == F::Custom || outputFrame == F::Custom;

  if (model != TransformationModel::Affine) {
    decision.panel = ParameterPanel::Isogonal;
    const std::optional<std::vector<ParameterLeg>> legs = PublishedLegs(model, inputFrame, outputFrame);
    if (legs) {
      decision.legs = *legs;
      decision.isogonal = ComposeLegs(*legs);
    } else if (custom) {
      // One side custom: neutral values, every field open for typing.
      decision.isogonalEnabled = true;
    } else {
      // A pair without published parameters is never converted with
      // neutral values unasked.
      decision.askForCustom = true;
    }
    return decision;
  }

  decision.panel = ParameterPanel::Affine;
  if (inputFrame == outputFrame) return decision;  // identity, disabled
  decision.askForCustom = true;
  // The question's Yes starts from the three-parameter model's translation.
  if (const auto legs = PublishedLegs(TransformationModel::Translation, inputFrame, outputFrame)) {
    decision.affineOnYes = IdentityWithTranslation(ComposeLegs(*legs));
  }
  return decision;
}

std::string FormatParameterValue(double value, char decimalSeparator) {
  if (value == 0.0) return "0";  // no "-0"
  char buffer[48];
  FormatC(buffer, sizeof buffer, "%.15g", value);
  std::string text(buffer);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

}  // namespace transref
