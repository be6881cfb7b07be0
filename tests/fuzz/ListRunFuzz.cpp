// A whole point list through the driver, as the window and the batch
// converter run it: 3D or 2D input, any input and output system (the
// window's rules on kinds kept), lines in either decimal mark.
// Invariants: a run succeeds or fails with its message and a line number
// inside the file; a failed run leaves no file behind; a success writes one
// line per point line of the input and never a non-finite number; and a
// cartesian list read and written again with the identity gives back its
// own text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzJobs.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/Driver.h"

namespace {

using namespace transref;
using namespace transref::fuzz;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines the reader takes for points: every line that is not blank (the
// byte-order mark of the first line set aside).
std::size_t PointLines(std::string_view bytes) {
  std::size_t count = 0;
  bool first = true;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (!IsBlankLine(line)) ++count;
    first = false;
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return count;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

bool OnlyTheInputIsLeft(const ScratchFolder& scratch) {
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
    (void)entry;
    ++files;
  }
  return files == 1;
}

// Reads the cartesian output back with the identity and checks that every
// line is written again as it was. Beyond 15 significant digits a decimal
// text need not survive a double, so lines holding such values are left.
void CheckCartesianRereads(const ScratchFolder& scratch, const ConversionJob& first, const std::string& text) {
  ConversionJob again;
  again.inputPath = first.outputPath;
  again.outputPath = scratch.File("again.txt");
  again.inputKind = again.outputKind = FileKind::Ascii3D;
  again.model = TransformationModel::Isogonal;
  again.input = again.output = first.output;
  NullProgressSink progress;
  const RunResult result = RunConversion(again, progress);
  FUZZ_CHECK(result.Succeeded());
  const std::string rewritten = ReadFile(again.outputPath);
  std::filesystem::remove(again.outputPath);
  const std::vector<std::string_view> before = Lines(text), after = Lines(rewritten);
  FUZZ_CHECK(before.size() == after.size());
  for (std::size_t k = 0; k < before.size(); ++k) {
    if (before[k] == after[k]) continue;
    const ParsedLine parsed = ParsePointLine(before[k], FileKind::Ascii3D, 1);
    FUZZ_CHECK(parsed.record.has_value());
    const PointRecord& p = *parsed.record;
    FUZZ_CHECK(std::fabs(p.c1) >= 1e10 || std::fabs(p.c2) >= 1e10 || std::fabs(p.c3) >= 1e10);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder scratch;
  if (size < 3) return 0;
  ConversionJob job;
  job.inputKind = (data[0] & 1) ? FileKind::Ascii2D : FileKind::Ascii3D;
  job.input = DefaultSide(SystemFromByte(data[1]));
  job.output = DefaultSide(SystemFromByte(data[2]));
  job.outputKind = (data[2] & 0x80) ? FileKind::Ascii2D : FileKind::Ascii3D;
  // A 2D list holds no cartesian points.
  if (job.inputKind == FileKind::Ascii2D && job.input.system == CoordinateSystemKind::Cartesian) {
    job.input = DefaultSide(CoordinateSystemKind::Geographic);
  }
  if (job.output.system == CoordinateSystemKind::Cartesian) job.outputKind = FileKind::Ascii3D;
  // The built-in set between the two frames when they differ.
  job.model = TransformationModel::Isogonal;
  if (job.input.semiMajorAxis != job.output.semiMajorAxis) {
    job.isogonal = job.input.semiMajorAxis == 6378388.0 ? kIsogonalHayfordToGrs80 : kIsogonalGrs80ToHayford;
  }
  job.altimetry.importHeights = (data[0] & 2) != 0;
  job.altimetry.outputUseMeanHeight = (data[0] & 4) != 0;
  job.altimetry.outputMeanHeight = 40.0;

  const std::string_view list(reinterpret_cast<const char*>(data + 3), size - 3);
  job.inputPath = scratch.File("input.txt");
  job.outputPath = scratch.File("output.txt");
  WriteFile(job.inputPath, list);

  CheckingProgress progress;
  const RunResult result = RunConversion(job, progress);
  FUZZ_CHECK(progress.Consistent());
  FUZZ_CHECK(result.status != RunResult::Status::OpenFailed);
  if (!result.Succeeded()) {
    FUZZ_CHECK(!result.messages.empty());
    FUZZ_CHECK(result.lineNumber >= 0 && result.lineNumber <= result.linesRead);
    FUZZ_CHECK(OnlyTheInputIsLeft(scratch));
    return 0;
  }
  const std::string written = ReadFile(job.outputPath);
  FUZZ_CHECK(!HasNonFiniteNumber(written));
  FUZZ_CHECK(static_cast<std::size_t>(result.pointsWritten) == PointLines(list));
  FUZZ_CHECK(Lines(written).size() == static_cast<std::size_t>(result.pointsWritten));
  if (job.output.system == CoordinateSystemKind::Cartesian) CheckCartesianRereads(scratch, job, written);
  std::filesystem::remove(job.outputPath);
  return 0;
}
