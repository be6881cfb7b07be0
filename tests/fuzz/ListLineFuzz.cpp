// One list line: parsed as a 3D or 2D line, written in the format of a grid
// or a geographic output, and parsed and written again. A line the reader
// takes must give back exactly its own written text: the program reads its
// own output, in either decimal mark.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "conversion/lists/AsciiList.h"

namespace {

using namespace transref;

std::string Written(const PointRecord& point, CoordinateSystemKind system, FileKind kind) {
  const double values[3] = {point.c1, point.c2, point.c3};
  std::string line;
  AppendPointLine(line, point.id, values, system, kind);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const FileKind kind = (data[0] & 1) ? FileKind::Ascii2D : FileKind::Ascii3D;
  const CoordinateSystemKind system =
      (data[0] & 2) ? CoordinateSystemKind::Geographic : CoordinateSystemKind::Utm;
  const bool comma = (data[0] & 4) != 0;
  const std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);

  const ParsedLine parsed = ParsePointLine(line, kind, 7);
  if (!parsed.record) {
    // A refusal always says why and names the line.
    FUZZ_CHECK(!parsed.messages.empty());
    FUZZ_CHECK(parsed.messages.back().text.find('7') != std::string::npos);
    return 0;
  }
  FUZZ_CHECK(!IsBlankLine(line));
  const PointRecord& point = *parsed.record;
  FUZZ_CHECK(!std::isnan(point.c1) && !std::isnan(point.c2) && !std::isnan(point.c3));
  if (kind == FileKind::Ascii2D) FUZZ_CHECK(point.c3 == 0.0);
  if (!std::isfinite(point.c1) || !std::isfinite(point.c2) || !std::isfinite(point.c3)) return 0;

  std::string first = Written(point, system, kind);
  FUZZ_CHECK(first.back() == '\n');
  first.pop_back();
  if (comma) {
    for (char& c : first) {
      if (c == '.') c = ',';
    }
  }
  const ParsedLine again = ParsePointLine(first, kind, 1);
  FUZZ_CHECK(again.record.has_value());
  std::string second = Written(*again.record, system, kind);
  second.pop_back();
  if (comma) {
    for (char& c : second) {
      if (c == '.') c = ',';
    }
  }
  FUZZ_CHECK(second == first);
  return 0;
}
