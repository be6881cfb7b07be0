// A whole drawing through the DXF walk, to a drawing or to a point list.
// Invariants: the walk succeeds, or fails with its message and a line
// number inside the drawing; a drawing written from a drawing has the
// input's lines up to its EOF, where only number values may differ, plus
// the direction groups added where the input left them implicit, and
// every changed or added value is a finite number; a list written from a drawing
// holds only points, never a non-finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzJobs.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/lists/DelimitedLayout.h"
#include "conversion/dxf/DxfTransform.h"

namespace {

using namespace transref;
using namespace transref::fuzz;

// The lines as the walk reads them: a line feed ends a line, one carriage
// return before it is dropped.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

std::string Printable(std::string_view line) {
  std::string text;
  for (const char c : line) {
    if (c >= ' ' && c < 127) {
      text.push_back(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
      text.append(escaped);
    }
  }
  return text;
}

std::string_view WithoutCarriageReturns(std::string_view line) {
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsNumber(std::string_view value, double& number) {
  try {
    number = ReadDxfValue(value);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A direction group the conversion adds where the drawing left it implicit:
// a rotation (50) or an MTEXT direction vector (11, 21, 31), whose value is
// a finite number.
bool IsAddedDirection(std::string_view code, std::string_view value) {
  const int number = dxf::GroupCodeOf(code);
  double direction = 0.0;
  return (number == 50 || number == 11 || number == 21 || number == 31) && IsNumber(value, direction) &&
         std::isfinite(direction);
}

void CheckDrawing(std::string_view input, std::string_view output) {
  const std::vector<std::string_view> in = Lines(input), all = Lines(output);
  // The output's lines with the added direction pairs set aside: a pair
  // whose code line is not the input's at that place.
  std::vector<std::string_view> out;
  for (std::size_t k = 0, i = 0; k < all.size(); k += 2) {
    const bool same = i < in.size() && WithoutCarriageReturns(all[k]) == WithoutCarriageReturns(in[i]);
    if (!same && k + 1 < all.size() && IsAddedDirection(all[k], all[k + 1])) continue;
    out.push_back(all[k]);
    if (k + 1 < all.size()) out.push_back(all[k + 1]);
    i += 2;
  }
  FUZZ_CHECK(out.size() <= in.size());
  for (std::size_t k = 0; k < out.size(); ++k) {
    // A carriage return left in a line is copied, and written before the
    // line feed it reads as part of the line end; compare without it.
    if (WithoutCarriageReturns(out[k]) == WithoutCarriageReturns(in[k])) continue;
    double before = 0.0, after = 0.0;
    if (!IsNumber(in[k], before)) {
      // The lines around the change, for the report.
      for (std::size_t j = k >= 12 ? k - 12 : 0; j <= k; ++j) {
        std::fprintf(stderr, "line %zu: \"%s\" -> \"%s\"\n", j + 1, Printable(in[j]).c_str(),
                     Printable(out[j]).c_str());
      }
    }
    FUZZ_CHECK(IsNumber(in[k], before));
    FUZZ_CHECK(IsNumber(out[k], after) && std::isfinite(after));
  }
  // Only what follows the EOF marker is left out.
  if (out.size() < in.size()) FUZZ_CHECK(!out.empty() && Trimmed(out.back()) == "EOF");
}

void CheckList(std::string_view output) {
  FUZZ_CHECK(!HasNonFiniteNumber(output));
  for (std::string_view line : Lines(output)) {
    FUZZ_CHECK(ParsePointLine(line, FileKind::Ascii3D, 1).record.has_value() ||
               ParsePointLine(line, FileKind::Ascii2D, 1).record.has_value());
  }
}

// A drawing's points as a delimited file (CR LF line ends): the header and
// one line per point written, each with its seven fields (number, three coordinates, layer,
// type, handle), numbered from 1, every coordinate finite.
void CheckPointFile(std::string_view output, std::int64_t points) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  FUZZ_CHECK(output.substr(0, kMark.size()) == kMark);
  const std::vector<std::string_view> lines = Lines(output.substr(kMark.size()));
  FUZZ_CHECK(static_cast<std::int64_t>(lines.size()) == points + 1);
  std::vector<Field> fields;
  std::string storage;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    FUZZ_CHECK(SplitFields(lines[k], ';', fields, storage) && fields.size() == 7);
    FUZZ_CHECK(fields[0].value == std::to_string(k));
    for (int c = 1; c <= 3; ++c) {
      std::string number(fields[static_cast<std::size_t>(c)].value);
      for (char& ch : number) ch = ch == ',' ? '.' : ch;
      double value = 0.0;
      FUZZ_CHECK(IsNumber(number, value) && std::isfinite(value));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  ConversionJob job;
  job.inputKind = FileKind::Dxf;
  // A drawing is always in a grid; the output is a grid for a drawing and
  // any system for a list.
  job.input = DefaultSide(static_cast<CoordinateSystemKind>(data[0] % 8));
  const int toList = (data[1] >> 6) & 3;  // 0: drawing, 1: 3D list, 2: 2D list, 3: delimited points
  job.outputKind = toList == 1   ? FileKind::Ascii3D
                   : toList == 2 ? FileKind::Ascii2D
                   : toList == 3 ? FileKind::Delimited
                                 : FileKind::Dxf;
  CoordinateSystemKind outputSystem = static_cast<CoordinateSystemKind>((data[1] & 0x3F) % 10);
  if (job.outputKind == FileKind::Dxf) outputSystem = static_cast<CoordinateSystemKind>((data[1] & 0x3F) % 8);
  if (job.outputKind == FileKind::Ascii2D && outputSystem == CoordinateSystemKind::Cartesian) {
    outputSystem = CoordinateSystemKind::Geographic;
  }
  job.output = DefaultSide(outputSystem);
  job.model = TransformationModel::Isogonal;
  if (job.input.semiMajorAxis != job.output.semiMajorAxis) {
    job.isogonal = job.input.semiMajorAxis == 6378388.0 ? kIsogonalHayfordToGrs80 : kIsogonalGrs80ToHayford;
  }
  job.altimetry.importHeights = (data[0] & 0x80) != 0;
  job.altimetry.outputUseMeanHeight = (data[0] & 0x40) != 0;
  job.altimetry.outputMeanHeight = 40.0;

  const std::string_view drawing(reinterpret_cast<const char*>(data + 2), size - 2);
  PointChain chain(ToChainSide(job.input), ToChainSide(job.output), BuildJobDatumStep(job), job.altimetry);
  dxf::MemoryLineSource source(drawing);
  dxf::StringLineSink sink;
  CheckingProgress progress;
  progress.Begin(static_cast<std::int64_t>(drawing.size()));
  RunResult result;
  const bool converted = WalkDxf(job, chain, source, sink, progress, result);
  progress.End();
  FUZZ_CHECK(progress.Consistent());
  if (!converted) {
    FUZZ_CHECK(result.status == RunResult::Status::Failed);
    FUZZ_CHECK(!result.messages.empty());
    FUZZ_CHECK(result.lineNumber >= 0 && result.lineNumber <= static_cast<int>(Lines(drawing).size()) + 1);
    return 0;
  }
  if (job.outputKind == FileKind::Dxf) {
    CheckDrawing(drawing, sink.text);
  } else if (job.outputKind == FileKind::Delimited) {
    CheckPointFile(sink.text, result.pointsWritten);
  } else {
    CheckList(sink.text);
  }
  return 0;
}
