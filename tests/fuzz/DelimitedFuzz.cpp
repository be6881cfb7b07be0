// A delimited point file: encoding and line end told, read through the
// source (UTF-16 and CR files via their copy), layout detected, every data
// line split and read. A line the reader takes, written back in its layout,
// must read again to the same written text, keep every byte outside its
// coordinates, and each field must lie inside its line.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "conversion/lists/DelimitedList.h"
#include "geodesy/AngleText.h"

namespace {

using namespace transref;

std::unique_ptr<TextFile> MemoryFile(std::string_view bytes) {
  const int fd = ::memfd_create("fuzz_delimited", 0);
  if (fd < 0) return nullptr;
  if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::lseek(fd, 0, SEEK_SET) != 0) {
    ::close(fd);
    return nullptr;
  }
  return TextFile::FromDescriptor(fd, TextFile::Mode::Read, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const CoordinateSystemKind system = (data[0] & 1) ? CoordinateSystemKind::Geographic : CoordinateSystemKind::Utm;
  DelimitedOptions options;
  if (data[0] & 2) options.separator = ";,\t "[(data[0] >> 2) & 3];
  options.sexagesimalOutput = (data[0] & 16) != 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  std::unique_ptr<TextFile> file = MemoryFile(bytes);
  if (!file) return 0;
  DelimitedSource source(*file);
  if (!source.Error().empty()) return 0;
  FUZZ_CHECK(source.Sample().size() <= DelimitedSource::kSampleLines);
  const LayoutDetection detection = DetectLayout(source.Sample(), source.Format(), system, options);
  if (!detection.layout) {
    FUZZ_CHECK(!detection.reason.empty());
    return 0;
  }
  const DelimitedLayout& layout = *detection.layout;
  const DelimitedWriting writing{&layout, system, false, options.sexagesimalOutput};

  DelimitedRow row, again;
  std::string problem, notANumber, written, rewritten;
  int expected = 0;
  std::string_view line;
  TextFile& lines = source.Lines();
  while (lines.ReadLine(line) == TextFile::LineRead::Line) {
    if (IsBlankOrComment(line)) continue;
    if (!ReadDelimitedRow(line, layout, system, row, problem, notANumber, expected)) {
      FUZZ_CHECK(!problem.empty());
      continue;
    }
    std::size_t previous = 0;
    for (const Field& field : row.fields) {
      FUZZ_CHECK(previous <= field.begin && field.begin <= field.end && field.end <= line.size());
      previous = field.end;
      const AngleReading angle = ReadAngleText(field.value, AngleAxis::Latitude);
      FUZZ_CHECK(angle.degrees.has_value() != !angle.reason.empty());
      if (angle.degrees) FUZZ_CHECK(std::isfinite(*angle.degrees));
    }
    if (!std::isfinite(row.values[0]) || !std::isfinite(row.values[1]) || !std::isfinite(row.values[2]) ||
        std::fabs(row.values[0]) > 1e9 || std::fabs(row.values[1]) > 1e9 || std::fabs(row.values[2]) > 1e9) {
      continue;
    }
    // Angles beyond the geographic range are refused by the run before
    // anything is written (and their seconds lose digits).
    if (system == CoordinateSystemKind::Geographic && (std::fabs(row.values[0]) > 180.0 || std::fabs(row.values[1]) > 90.0)) {
      continue;
    }
    written.clear();
    AppendDelimitedRow(written, line, row, row.values, writing);
    // The first field's leading bytes and the ID are kept as read.
    if (row.idField >= 0) {
      const Field& id = row.fields[static_cast<std::size_t>(row.idField)];
      FUZZ_CHECK(written.find(line.substr(id.begin, id.end - id.begin)) != std::string::npos);
    }
    if (!ReadDelimitedRow(written, layout, system, again, problem, notANumber, expected)) continue;
    rewritten.clear();
    AppendDelimitedRow(rewritten, written, again, again.values, writing);
    FUZZ_CHECK(rewritten == written);
  }
  return 0;
}
