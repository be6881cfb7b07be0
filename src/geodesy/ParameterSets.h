#pragma once

// Built-in transformation parameters (GRS80 <-> Hayford 1924, IBGE's
// translations of the old Brazilian frames to SIRGAS 2000), the grids that
// ship with the program, and the decision of which parameters the main
// window shows for a choice of model and frames. The decision is pure: the
// window shows the messages and writes the fields.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// IBGE's geocentric translations to SIRGAS 2000 (metres; scale 1, no
// rotations): SAD 69 and SAD 69/96 (EPSG 15485 and 5881), Córrego Alegre
// 1970+1972 (EPSG 6193). The reverse direction is the negated translation.
// Córrego Alegre 1961 has none: IBGE publishes only its grid.
extern const IsogonalParameters kTranslationSad69ToSirgas2000;
extern const IsogonalParameters kTranslationCorregoAlegre7072ToSirgas2000;

// The built-in parameters of one change of frame, as published: nothing
// when there are none (a custom side, Córrego Alegre 1961). The
// seven-parameter model takes sets A/B for the Carta Geral and IBGE's
// translations (scale 1, no rotations); the three-parameter model sets C/D
// and the translations. `model` is Isogonal or Translation.
std::optional<IsogonalParameters> PublishedParameters(TransformationModel model, ReferenceFrame from,
                                                      ReferenceFrame to);

// One change of frame applied in a run: SIRGAS 2000 joins every other pair.
struct ParameterLeg {
  ReferenceFrame from = ReferenceFrame::Grs80;
  ReferenceFrame to = ReferenceFrame::Grs80;
  IsogonalParameters parameters{};
};

// The legs from `from` to `to` with the published parameters of `model`
// (Isogonal or Translation): one leg when one side is SIRGAS 2000 or the
// pair is the Carta Geral's, two (frame -> SIRGAS 2000 -> frame) between two
// other frames; nothing when a leg has no published parameters; empty for
// one frame on both sides.
std::optional<std::vector<ParameterLeg>> PublishedLegs(TransformationModel model, ReferenceFrame from,
                                                       ReferenceFrame to);

// The one seven-parameter set that does what the legs do in turn. Every leg
// but at most one is a pure translation, so the result is exact: a
// translation before a similarity X' = sRX + T becomes T + sR T1, one after
// it is added to T. Throws std::logic_error for two legs that both rotate
// or scale (no such pair is built in).
IsogonalParameters ComposeLegs(const std::vector<ParameterLeg>& legs);

// The legs as the panel and the converter's summary name them:
// "SAD 69 → GRS80 (-67.35, 3.88, -38.22); GRS80 → Hayford 1924 (...)", three
// values per leg for the three-parameter model, seven otherwise, with
// `decimalSeparator` as the decimal mark.
std::string LegsText(const std::vector<ParameterLeg>& legs, TransformationModel model, char decimalSeparator);

// The NTv2 grids that ship with the program (IBGE's, under CC BY-SA 4.0).
struct ShippedGrid {
  ReferenceFrame source;  // the grid moves this frame's coordinates ...
  ReferenceFrame target;  // ... to this one's
  std::string_view fileName;
};
inline constexpr std::string_view kShippedGridAttribution =
    "Derived from work by Instituto Brasileiro de Geografia e Estatística – IBGE";
inline constexpr std::string_view kShippedGridLicense = "CC BY-SA 4.0";

// The shipped grid that joins the two frames, in either direction.
std::optional<ShippedGrid> ShippedGridFor(ReferenceFrame a, ReferenceFrame b);

// The model a choice of frames starts with: "Grade NTv2" where a shipped grid
// joins them, else the seven-parameter model.
TransformationModel DefaultModel(ReferenceFrame input, ReferenceFrame output);

inline constexpr std::string_view kNoParametersMessage =
    "Não existem parâmetros definidos para esta transformação!";
inline constexpr std::string_view kAskCustomParametersQuestion =
    "Deseja introduzir parâmetros customizados?";
inline constexpr std::string_view kParametersCaption =
    "Transformações de Coordenadas entre Referenciais Geodésicos";

enum class ParameterPanel { Isogonal, Affine, Grid };

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
  // The isogonal panel asks too when the pair has no published parameters
  // (Córrego Alegre 1961 with any frame but a custom one): Yes writes the
  // neutral values in `isogonal` into the seven fields and enables them.
  bool askForCustom = false;
  AffineParameters affineOnYes{};
  // What will be applied, frame to frame, for the panel to show (the seven
  // fields hold their composition, ComposeLegs); empty when nothing is
  // built in (custom side, same frame, a question).
  std::vector<ParameterLeg> legs;
  // Grid panel: the file of the grid that ships for the pair ("SAD69_003.gsb"),
  // empty when none ships (the file field starts empty and the run refuses
  // to start until a grid is chosen).
  std::string_view shippedGridFile;
};

ParameterDecision LookupTransformationParameters(TransformationModel model,
                                                 ReferenceFrame inputFrame,
                                                 ReferenceFrame outputFrame);

// Field text of a parameter value: at most 15 significant digits, trailing
// zeros dropped, `decimalSeparator` as the decimal mark ("1", "0",
// "250.1308088244" or "250,1308088244").
std::string FormatParameterValue(double value, char decimalSeparator);

}  // namespace transref
