#pragma once

// Built-in transformation parameters (GRS80 <-> Hayford 1924) and the
// decision of which parameters the main window shows for a choice of model
// and frames. The decision is pure: the window shows the messages and writes
// the fields.

#include <string>
#include <string_view>

#include "geodesy/CoordinateSystems.h"
#include "geodesy/DatumStep.h"

namespace transref {

// Set A: isogonal, GRS80 -> Hayford.
extern const IsogonalParameters kIsogonalGrs80ToHayford;
// Set B: isogonal, Hayford -> GRS80 (not the exact inverse of set A).
extern const IsogonalParameters kIsogonalHayfordToGrs80;
// Set C: translation, GRS80 -> Hayford.
extern const IsogonalParameters kTranslationGrs80ToHayford;
// Set D: translation, Hayford -> GRS80.
extern const IsogonalParameters kTranslationHayfordToGrs80;

inline constexpr std::string_view kNoParametersMessage =
    "Não existem parâmetros definidos para esta transformação!";
inline constexpr std::string_view kAskCustomParametersQuestion =
    "Deseja introduzir parâmetros customizados?";
inline constexpr std::string_view kParametersCaption =
    "Transformações de Coordenadas entre Referenciais Geodésicos";

enum class ParameterPanel { Isogonal, Affine };

struct ParameterDecision {
  ParameterPanel panel = ParameterPanel::Isogonal;
  // Isogonal panel: the seven values and whether the seven fields are enabled.
  IsogonalParameters isogonal{};
  bool isogonalEnabled = false;
  // Affine panel without a question: the twelve values, enabled state.
  AffineParameters affine{};
  bool affineEnabled = false;
  // Affine panel for two different frames: show kNoParametersMessage
  // (warning), then ask kAskCustomParametersQuestion (Yes/No). Yes: write
  // affineOnYes into the twelve fields and enable them. No: disable them and
  // go back to the previously applied model.
  bool askForCustom = false;
  AffineParameters affineOnYes{};
};

ParameterDecision LookupTransformationParameters(TransformationModel model,
                                                 ReferenceFrame inputFrame,
                                                 ReferenceFrame outputFrame);

// Field text of a parameter value: at most 15 significant digits, trailing
// zeros dropped, `decimalSeparator` as the decimal mark ("1", "0",
// "250.1308088244" or "250,1308088244").
std::string FormatParameterValue(double value, char decimalSeparator);

}  // namespace transref
