#include "geodesy/ParameterSets.h"

#include <cstdio>

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

namespace {

AffineParameters IdentityWithTranslation(const IsogonalParameters& translation) {
  AffineParameters affine;  // identity matrix, zero translation
  affine.tx = translation.tx;
  affine.ty = translation.ty;
  affine.tz = translation.tz;
  return affine;
}

}  // namespace

ParameterDecision LookupTransformationParameters(TransformationModel model,
                                                 ReferenceFrame inputFrame,
                                                 ReferenceFrame outputFrame) {
  ParameterDecision decision;
  const bool grs80ToHayford =
      inputFrame == ReferenceFrame::Grs80 && outputFrame == ReferenceFrame::Hayford;
  const bool hayfordToGrs80 =
      inputFrame == ReferenceFrame::Hayford && outputFrame == ReferenceFrame::Grs80;

  if (model != TransformationModel::Affine) {
    const bool isogonal = model == TransformationModel::Isogonal;
    decision.panel = ParameterPanel::Isogonal;
    if (inputFrame == outputFrame) {
      decision.isogonal = IsogonalParameters{};
    } else if (grs80ToHayford) {
      decision.isogonal = isogonal ? kIsogonalGrs80ToHayford : kTranslationGrs80ToHayford;
    } else if (hayfordToGrs80) {
      decision.isogonal = isogonal ? kIsogonalHayfordToGrs80 : kTranslationHayfordToGrs80;
    } else {
      // One side custom: neutral values, every field open for typing.
      decision.isogonal = IsogonalParameters{};
      decision.isogonalEnabled = true;
    }
    return decision;
  }

  decision.panel = ParameterPanel::Affine;
  if (inputFrame == outputFrame) return decision;  // identity, disabled
  decision.askForCustom = true;
  if (grs80ToHayford) {
    decision.affineOnYes = IdentityWithTranslation(kTranslationGrs80ToHayford);
  } else if (hayfordToGrs80) {
    decision.affineOnYes = IdentityWithTranslation(kTranslationHayfordToGrs80);
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
