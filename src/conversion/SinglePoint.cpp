#include "conversion/SinglePoint.h"

#include <filesystem>

#include "conversion/Messages.h"
#include "conversion/lists/AsciiList.h"
#include "geodesy/AngleText.h"
#include "geodesy/Sexagesimal.h"

namespace transref {
namespace {

std::string FieldReason(std::string_view name, std::string_view text) {
  if (text.find_first_not_of(" \t") == std::string_view::npos) return "Digite " + std::string(name) + ".";
  return "\"" + std::string(text) + "\" não é um número.";
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::array<std::string_view, 3> CoordinateNames(CoordinateSystemKind system, HeightKind heightKind) {
  const std::string_view height = heightKind == HeightKind::Geometric ? "h" : "H";
  switch (FamilyOf(system)) {
    case SystemFamily::Geographic: return {"Longitude", "Latitude", height};
    case SystemFamily::Cartesian: return {"X", "Y", "Z"};
    case SystemFamily::Projected: break;
  }
  return {"E", "N", height};
}

FileKind ResultLineKind(FileKind outputKind) {
  return outputKind == FileKind::Ascii2D ? FileKind::Ascii2D : FileKind::Ascii3D;
}

int ResultValueCount(const ConversionJob& job) { return ExpectedFields(ResultLineKind(job.outputKind)) - 1; }

int InputFieldCount(const ConversionJob& job) { return job.inputKind == FileKind::Ascii2D ? 2 : 3; }

SinglePointConverter::SinglePointConverter(const ConversionJob& job) : job_(job) {
  // The file names play no part in one point: two names that can never be
  // one file keep the same-file check of a run quiet.
  ConversionJob checked = job;
  checked.inputPath = "entrada";
  checked.outputPath = "saida";
  if (auto problem = CheckJob(checked)) {
    problem_ = std::move(*problem);
    return;
  }
  PreparedGrid grid;
  if (job.model == TransformationModel::Grid) {
    grid = PrepareGrid(job);
    if (!grid.shift) {
      problem_ = std::move(grid.problem);
      return;
    }
  }
  chain_.emplace(BuildJobPointChain(job, grid));
}

SinglePointResult SinglePointConverter::Convert(const std::array<std::string, 3>& fields, std::int32_t id) {
  SinglePointResult result;
  const FileKind lineKind = ResultLineKind(job_.outputKind);
  result.valueCount = ResultValueCount(job_);
  const auto names = CoordinateNames(job_.input.system, job_.input.heightKind);
  const bool geographic = job_.input.system == CoordinateSystemKind::Geographic;
  const int count = InputFieldCount(job_);
  for (int k = 0; k < 3; ++k) {
    if (k >= count) {
      result.input[k] = 0.0;  // a 2D list's point has height 0
      continue;
    }
    if (geographic && k < 2) {
      AngleReading reading = ReadAngleText(fields[k], k == 0 ? AngleAxis::Longitude : AngleAxis::Latitude);
      if (!reading.degrees) {
        result.reasons[k] = std::move(reading.reason);
        continue;
      }
      // The bounds of a list's geographic point, checked by the list's own rule.
      PointRecord record;
      (k == 0 ? record.c1 : record.c2) = *reading.degrees;
      if (CheckGeographicRange(record)) {
        result.reasons[k] = k == 0 ? "A longitude deve estar entre -180° e 180°."
                                   : "A latitude deve estar entre -90° e 90°.";
        continue;
      }
      result.input[k] = reading.degrees;
      continue;
    }
    double value = 0.0;
    if (!ReadListCoordinate(Trimmed(fields[k]), value)) {
      result.reasons[k] = FieldReason(names[k], fields[k]);
      continue;
    }
    result.input[k] = value;
  }
  if (!problem_.empty()) {
    result.reason = problem_;
    return result;
  }
  for (const auto& value : result.input) {
    if (!value) return result;
  }
  std::array<double, 3> values{};
  if (!chain_->Transform(*result.input[0], *result.input[1], *result.input[2], values.data())) {
    result.reason = chain_->LastFailure() == PointChain::Failure::OutsideGrid
                        ? "Ponto fora da área da grade \"" + std::filesystem::path(job_.grid.path).filename().string() + "\"!"
                        : "Ponto fora do domínio da transformação!";
    return result;
  }
  result.values = values;
  AppendPointLine(result.line, id, values.data(), job_.output.system, lineKind);
  result.line.pop_back();  // the line end
  // The value texts are the line's own fields after the identifier.
  std::string_view rest(result.line);
  rest.remove_prefix(rest.find(' '));
  for (int k = 0; k < result.valueCount; ++k) {
    rest.remove_prefix(rest.find_first_not_of(' '));
    const auto end = rest.find(' ');
    result.texts[k] = std::string(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  }
  if (job_.output.system == CoordinateSystemKind::Geographic) {
    result.sexagesimal = {HemisphereDmsText(values[0], true), HemisphereDmsText(values[1], false)};
  }
  return result;
}

}  // namespace transref
