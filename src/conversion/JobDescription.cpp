#include "conversion/JobDescription.h"

#include <charconv>
#include <cmath>

namespace transref {
namespace {

std::string Number(double value) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr);
}

// The frame whose ellipsoid the side uses, by its values; a typed one
// otherwise.
std::string EllipsoidText(const JobSide& side) {
  for (int k = 0; k < kReferenceFrameCount; ++k) {
    const ReferenceFrameInfo& info = FrameInfo(static_cast<ReferenceFrame>(k));
    if (info.frame == ReferenceFrame::Custom) continue;
    if (info.semiMajorAxis == side.semiMajorAxis && info.inverseFlattening == side.inverseFlattening) {
      return std::string(info.label);
    }
  }
  return "elipsóide a = " + Number(side.semiMajorAxis) + " m, 1/f = " + Number(side.inverseFlattening);
}

std::string SideText(const JobSide& side) {
  std::string text(SystemInfo(side.system).label);
  if (IsProjected(side.system)) {
    text += " — MC " + Number(std::fabs(side.centralMeridian)) + "° " +
            (side.centralMeridian < 0.0 ? "W" : "E") + ", hemisfério " + (side.northern ? "N" : "S") +
            ", FE " + Number(side.falseEasting) + " m, FN " + Number(side.falseNorthing) + " m, k0 " +
            Number(side.scaleFactor);
  }
  text += " — " + EllipsoidText(side);
  if (side.system != CoordinateSystemKind::Cartesian) {
    text += side.heightKind == HeightKind::Geometric ? " — altitudes geométricas (h)"
                                                     : " — altitudes ortométricas (H)";
  }
  return text;
}

std::string ParametersText(const ConversionJob& job) {
  if (job.model == TransformationModel::Affine) {
    const AffineParameters& p = job.affine;
    return "tx " + Number(p.tx) + " m, ty " + Number(p.ty) + " m, tz " + Number(p.tz) + " m; a " + Number(p.a) +
           ", b " + Number(p.b) + ", c " + Number(p.c) + ", d " + Number(p.d) + ", e " + Number(p.e) + ", f " +
           Number(p.f) + ", g " + Number(p.g) + ", h " + Number(p.h) + ", i " + Number(p.i);
  }
  const IsogonalParameters& p = job.isogonal;
  return "tx " + Number(p.tx) + " m, ty " + Number(p.ty) + " m, tz " + Number(p.tz) + " m; rx " + Number(p.rx) +
         "°, ry " + Number(p.ry) + "°, rz " + Number(p.rz) + "°; escala " + Number(p.scale);
}

std::string HeightSide(bool useMean, double mean, bool undulation, double value, std::string_view undulationVerb) {
  std::string text = useMean ? "altitude média " + Number(mean) + " m" : "altitudes do arquivo";
  if (undulation) text += ", " + std::string(undulationVerb) + " ondulação média " + Number(value) + " m";
  return text;
}

std::string AltimetryText(const AltimetrySettings& a) {
  std::string text = "entrada: " + HeightSide(a.inputUseMeanHeight, a.inputMeanHeight, a.inputMeanUndulation,
                                              a.inputUndulation, "menos");
  if (a.importHeights) return text + "; saída: altitudes importadas da entrada";
  return text + "; saída: " + HeightSide(a.outputUseMeanHeight, a.outputMeanHeight, a.outputMeanUndulation,
                                         a.outputUndulation, "mais");
}

// The list item without the blank that ends one of them.
std::string ModelText(TransformationModel model) {
  std::string text(TransformationModelLabel(model));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::vector<JobDescriptionRow> DescribeJob(const ConversionJob& job) {
  return {{"Entrada", SideText(job.input)},
          {"Saída", SideText(job.output)},
          {"Modelo", ModelText(job.model)},
          {"Parâmetros", ParametersText(job)},
          {"Altimetria", AltimetryText(job.altimetry)}};
}

}  // namespace transref
