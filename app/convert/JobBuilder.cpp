#include "JobBuilder.h"

#include "conversion/lists/InputKind.h"
#include "conversion/model/JobTexts.h"

namespace transref::convert {
namespace {

FileKind KindOption(const std::string& text, const std::string& option) {
  if (const std::optional<FileKind> kind = FileKindFromName(text)) return *kind;
  throw UsageError(option + ": tipo desconhecido \"" + text + "\" (use ascii3d, ascii2d, dxf, delimited, kml ou geojson)");
}

}  // namespace

ConversionJob BuildConversionJob(const ConvertOptions& o, std::optional<FileKind> detectedInputKind) {
  JobTexts texts;
  texts.inputPath = o.inputPath;
  texts.outputPath = o.outputPath;
  texts.input = {Side::In, "--from", o.from, o.fromEllipsoid, o.fromCm, o.fromCmDms, o.fromHemisphere,
                 o.fromFalseEasting, o.fromFalseNorthing, o.fromHeights, o.fromMeanHeight, o.fromUndulation};
  texts.output = {Side::Out, "--to", o.to, o.toEllipsoid, o.toCm, o.toCmDms, o.toHemisphere,
                  o.toFalseEasting, o.toFalseNorthing, o.toHeights, o.toMeanHeight, o.toUndulation};
  texts.input.frameNamed = o.fromFrameNamed;
  texts.output.frameNamed = o.toFrameNamed;
  texts.model = o.model;
  texts.grid = o.grid;
  texts.params = o.params;
  texts.affine = o.affine;
  texts.noImportHeights = o.noImportHeights;

  // The kinds the files' content and names imply, unless named.
  texts.inputKind = detectedInputKind.value_or(FileKind::Ascii3D);
  const FileKind inputNamed = FileKindFromExtension(o.inputPath);
  if (inputNamed == FileKind::Dxf || inputNamed == FileKind::Delimited) texts.inputKind = inputNamed;
  if (o.fromKind) texts.inputKind = KindOption(*o.fromKind, "--from-kind");
  texts.outputKind = FileKindFromExtension(o.outputPath);
  if (o.toKind) {
    texts.outputKind = KindOption(*o.toKind, "--to-kind");
  } else if (texts.outputKind != FileKind::Ascii3D) {
    // The output's name says its kind.
    if (texts.outputKind == FileKind::Dxf && IsListKind(texts.inputKind) && o.from && o.to) {
      throw UsageError("a saída \"" + o.outputPath + "\" tem a extensão de um desenho DXF, e uma lista ASCII "
                       "não pode ser convertida em desenho (use outro nome ou --to-kind ascii3d)");
    }
  } else if (texts.inputKind == FileKind::Delimited) {
    // A delimited file stays delimited unless the output's name says otherwise.
    texts.outputKind = FileKind::Delimited;
  } else {
    // A 2D list stays 2D where the output system has two coordinates.
    const std::optional<CoordinateSystemKind> system = o.to ? SystemFromName(*o.to) : std::nullopt;
    const bool twoD = texts.inputKind == FileKind::Ascii2D && (!system || IsSystemOffered(FileKind::Ascii2D, *system));
    texts.outputKind = twoD ? FileKind::Ascii2D : FileKind::Ascii3D;
  }
  texts.columns = o.columns;
  texts.separator = o.separator;
  if (o.header || o.noHeader) texts.header = o.header && !o.noHeader;
  texts.headerConflict = o.header && o.noHeader;
  texts.dms = o.dms;
  try {
    return ReadJobTexts(texts);
  } catch (const ChoiceError& error) {
    throw UsageError(error.what());
  }
}

bool UsesDefaults(const ConvertOptions& o, const ConversionJob& job) {
  const auto zoneDefaulted = [](const JobSide& side, const auto& cm, const auto& cmDms, const auto& hemisphere) {
    if (!IsProjected(side.system) || !SystemInfo(side.system).hemispheresEnabled) return false;
    return (!cm && !cmDms) || (side.system == CoordinateSystemKind::Utm && !hemisphere);
  };
  return !o.fromEllipsoid || !o.toEllipsoid || !o.model ||
         zoneDefaulted(job.input, o.fromCm, o.fromCmDms, o.fromHemisphere) ||
         zoneDefaulted(job.output, o.toCm, o.toCmDms, o.toHemisphere);
}

}  // namespace transref::convert
