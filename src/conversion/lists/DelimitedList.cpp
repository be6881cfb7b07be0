#include "conversion/lists/DelimitedList.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "conversion/lists/AsciiList.h"
#include "conversion/lists/Transcoder.h"
#include "geodesy/AngleText.h"

namespace transref {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Bytes looked at to tell the encoding and the line end.
constexpr std::size_t kProbeBytes = std::size_t{1} << 15;
constexpr std::size_t kCopyChunk = std::size_t{1} << 16;

bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

const char* Utf16Name(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16LE ? "UTF-16LE" : "UTF-16BE";
}

// An unnamed temporary file, removed by the system when closed.
int TemporaryDescriptor() {
  const char* dir = std::getenv("TMPDIR");
  std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/transref-XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd >= 0) ::unlink(pattern.c_str());
  return fd;
}

bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }

std::string SeparatorName(char separator) {
  switch (separator) {
    case '\t': return "tabulação";
    case kBlankSeparator: return "espaços";
    default: return std::string("\"") + separator + "\"";
  }
}

}  // namespace

DelimitedSource::DelimitedSource(TextFile& input) : input_(input) {
  const std::int64_t start = input.Position();
  std::string probe(kProbeBytes, '\0');
  std::size_t got = 0;
  while (got < probe.size()) {
    const std::size_t n = input.ReadBytes(probe.data() + got, probe.size() - got);
    if (n == 0) break;
    got += n;
  }
  probe.resize(got);
  format_ = DetectTextFormat(probe);
  if (!input.Seek(start)) {
    error_ = "o início da entrada não pôde ser lido de novo";
    return;
  }
  if (IsUtf16(format_.encoding) || format_.lineEnd == LineEnd::Cr) {
    // The copy: UTF-8 with LF line ends.
    const int fd = TemporaryDescriptor();
    std::unique_ptr<TextFile> writer = TextFile::FromDescriptor(fd, TextFile::Mode::Write, false);
    if (!writer) {
      error_ = "não foi possível criar um arquivo temporário";
      if (fd >= 0) ::close(fd);
      return;
    }
    std::unique_ptr<Transcoder> transcoder;
    if (IsUtf16(format_.encoding)) transcoder = std::make_unique<Transcoder>("UTF-8", Utf16Name(format_.encoding));
    std::string chunk(kCopyChunk, '\0');
    std::string text, lines;
    bool lastWasCr = false;
    for (;;) {
      const std::size_t n = input.ReadBytes(chunk.data(), chunk.size());
      text.clear();
      if (transcoder) {
        transcoder->Convert(std::string_view(chunk.data(), n), text, n == 0, "\xEF\xBF\xBD");
      } else {
        text.assign(chunk.data(), n);
      }
      lines.clear();
      for (const char c : text) {
        if (c == '\n' && lastWasCr) {
          lastWasCr = false;
          continue;  // CR LF already ended the line
        }
        lastWasCr = c == '\r';
        lines += c == '\r' ? '\n' : c;
      }
      writer->Write(lines);
      if (n == 0) break;
    }
    if (!writer->Flush() || input.HasReadError() || ::lseek(fd, 0, SEEK_SET) != 0) {
      error_ = "não foi possível preparar a leitura do arquivo";
      ::close(fd);
      return;
    }
    writer.reset();
    copy_ = TextFile::FromDescriptor(fd, TextFile::Mode::Read, true);
  }

  // The sample for detection, then back to the start.
  TextFile& lines = Lines();
  const std::int64_t linesStart = lines.Position();
  std::size_t sampled = 0;
  std::string_view line;
  while (sample_.size() < kSampleLines && sampled < kProbeBytes &&
         lines.ReadLine(line) == TextFile::LineRead::Line) {
    if (sample_.empty() && line.starts_with(kUtf8Mark)) line.remove_prefix(kUtf8Mark.size());
    sampled += line.size() + 1;
    sample_.emplace_back(line);
  }
  if (!lines.Seek(linesStart)) error_ = "o início da entrada não pôde ser lido de novo";
}

DelimitedSource::~DelimitedSource() = default;

bool ReadDelimitedRow(std::string_view line, const DelimitedLayout& layout, CoordinateSystemKind inputSystem,
                      DelimitedRow& row, std::string& problem, std::string& notANumber, int& expectedFields) {
  notANumber.clear();
  if (!SplitFields(line, layout.separator, row.fields, row.storage)) {
    problem = "aspas abertas e não fechadas";
    notANumber = std::string(line);
    return false;
  }
  row.idField = -1;
  row.coordinateField[0] = row.coordinateField[1] = row.coordinateField[2] = -1;
  int needed = 0;
  for (std::size_t k = 0; k < layout.columns.size(); ++k) {
    const ColumnRole role = layout.columns[k];
    if (role == ColumnRole::Carried) continue;
    needed = static_cast<int>(k) + 1;
    if (role == ColumnRole::Id) row.idField = static_cast<int>(k);
    else row.coordinateField[static_cast<int>(role) - static_cast<int>(ColumnRole::C1)] = static_cast<int>(k);
  }
  if (static_cast<int>(row.fields.size()) < needed) {
    expectedFields = needed;
    problem = std::to_string(row.fields.size()) + (row.fields.size() == 1 ? " campo" : " campos") +
              " com o separador " + SeparatorName(layout.separator) + ", esperados ao menos " +
              std::to_string(needed);
    return false;
  }
  const bool geographic = inputSystem == CoordinateSystemKind::Geographic;
  const bool commaToo = layout.separator != ',';
  row.hasHeight = row.coordinateField[2] >= 0;
  row.values[2] = 0.0;
  row.commaSeen = row.pointSeen = false;
  for (int c = 0; c < 3; ++c) {
    const int index = row.coordinateField[c];
    if (index < 0) continue;
    const std::string_view value = row.fields[static_cast<std::size_t>(index)].value;
    if (ReadCoordinateText(value, commaToo, row.values[c])) {
      if (value.find(',') != std::string_view::npos) row.commaSeen = true;
      if (value.find('.') != std::string_view::npos) row.pointSeen = true;
      continue;
    }
    if (geographic && c < 2) {
      const AngleReading angle = ReadAngleText(value, c == 0 ? AngleAxis::Longitude : AngleAxis::Latitude);
      if (angle.degrees) {
        row.values[c] = *angle.degrees;
        continue;
      }
      problem = "coluna " + std::to_string(index + 1) + ": " + angle.reason;
    } else {
      problem = "coluna " + std::to_string(index + 1) + ": não é um número";
    }
    notANumber = std::string(value);
    return false;
  }
  return true;
}

void AppendSexagesimal(std::string& out, double degrees, bool longitude, char decimalMark, bool windows1252) {
  constexpr std::int64_t kSecondsScale = 100000;  // five decimals of a second
  const bool negative = degrees < 0.0;
  const auto total = static_cast<std::int64_t>(std::llround(std::fabs(degrees) * 3600.0 * kSecondsScale));
  const std::int64_t whole = total / kSecondsScale;
  const std::int64_t fraction = total % kSecondsScale;
  char text[64];
  std::snprintf(text, sizeof text, "%lld%s%02lld'%02lld%c%05lld\"%c", static_cast<long long>(whole / 3600),
                windows1252 ? "\xB0" : "\xC2\xB0", static_cast<long long>(whole / 60 % 60),
                static_cast<long long>(whole % 60), decimalMark, static_cast<long long>(fraction),
                longitude ? (negative ? 'W' : 'E') : (negative ? 'S' : 'N'));
  out += text;
}

void AppendDelimitedCoordinate(std::string& out, double value, int axis, const DelimitedWriting& writing, bool quoted) {
  const DelimitedLayout& layout = *writing.layout;
  if (quoted) out += '"';
  if (writing.sexagesimal && writing.outputSystem == CoordinateSystemKind::Geographic && axis < 2) {
    const std::size_t at = out.size();
    AppendSexagesimal(out, value, axis == 0, layout.decimalMark, layout.encoding == TextEncoding::Windows1252);
    if (quoted) {
      // The seconds mark inside a quoted field is written twice.
      const std::size_t mark = out.find('"', at);
      if (mark != std::string::npos) out.insert(mark, 1, '"');
    }
  } else {
    char buffer[400];
    const int decimals = CoordinateDecimals(writing.outputSystem);
    char* end = FormatFixed(buffer, value, 0, decimals);
    // The one decimal point stands just before the decimals.
    char* const mark = end - decimals - 1;
    if (decimals > 0 && mark >= buffer && *mark == '.') *mark = layout.decimalMark;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
  }
  if (quoted) out += '"';
}

void AppendDelimitedText(std::string& out, std::string_view text, char separator) {
  // Quoted when the reader would otherwise split it, take a quote as its
  // start or trim its blanks.
  const bool blanks = separator == kBlankSeparator;
  bool quote = !text.empty() && (IsBlankByte(text.front()) || IsBlankByte(text.back()));
  for (const char c : text) {
    if (c == separator || c == '"' || c == '\n' || c == '\r' || (blanks && IsBlankByte(c))) quote = true;
  }
  if (!quote) {
    out.append(text);
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendDelimitedRow(std::string& out, std::string_view line, const DelimitedRow& row, const double values[3],
                        const DelimitedWriting& writing) {
  // The coordinate fields in the order they stand; the bytes between them
  // (other fields, separators, blanks) are copied in one piece each.
  int order[3];
  int count = 0;
  for (int c = 0; c < 3; ++c) {
    if (row.coordinateField[c] < 0) continue;
    int at = count++;
    for (; at > 0 && row.coordinateField[order[at - 1]] > row.coordinateField[c]; --at) order[at] = order[at - 1];
    order[at] = c;
  }
  std::size_t previous = 0;
  for (int k = 0; k < count; ++k) {
    const int axis = order[k];
    const Field& field = row.fields[static_cast<std::size_t>(row.coordinateField[axis])];
    out.append(line.data() + previous, field.begin - previous);
    AppendDelimitedCoordinate(out, values[axis], axis, writing, field.quoted);
    previous = field.end;
  }
  out.append(line.data() + previous, line.size() - previous);
}

void AppendDelimitedHeader(std::string& out, std::string_view line, const DelimitedWriting& writing) {
  const DelimitedLayout& layout = *writing.layout;
  std::vector<Field> fields;
  std::string storage;
  if (!SplitFields(line, layout.separator, fields, storage)) {
    out.append(line);
    return;
  }
  std::size_t previous = 0;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const Field& field = fields[k];
    out.append(line.substr(previous, field.begin - previous));
    const ColumnRole role = k < layout.columns.size() ? layout.columns[k] : ColumnRole::Carried;
    const std::string_view name = CoordinateHeaderName(role, writing.outputSystem, writing.geometricHeight);
    if (name.empty()) {
      out.append(line.substr(field.begin, field.end - field.begin));
    } else {
      if (field.quoted) out += '"';
      out.append(name);
      if (field.quoted) out += '"';
    }
    previous = field.end;
  }
  out.append(line.substr(previous));
}

struct DelimitedLineWriter::Utf16 {
  explicit Utf16(TextEncoding encoding) : transcoder(Utf16Name(encoding), "UTF-8") {}
  Transcoder transcoder;
  std::string converted;
};

DelimitedLineWriter::DelimitedLineWriter(TextFile& output, TextEncoding encoding, LineEnd lineEnd)
    : output_(output), encoding_(encoding), lineEnd_(LineEndText(lineEnd)) {
  if (IsUtf16(encoding)) utf16_ = std::make_unique<Utf16>(encoding);
}

DelimitedLineWriter::~DelimitedLineWriter() = default;

bool DelimitedLineWriter::Begin() { return output_.Write(ByteOrderMark(encoding_)); }

bool DelimitedLineWriter::WriteLine(std::string_view text) {
  if (!utf16_) return output_.Write(text) && output_.Write(lineEnd_);
  buffer_.assign(text);
  buffer_.append(lineEnd_);
  utf16_->converted.clear();
  utf16_->transcoder.Convert(buffer_, utf16_->converted, false, "?");
  return output_.Write(utf16_->converted);
}

DelimitedPreview PreviewDelimitedFile(const std::string& path, CoordinateSystemKind inputSystem,
                                      const DelimitedOptions& options) {
  DelimitedPreview preview;
  int error = 0;
  std::unique_ptr<TextFile> file = TextFile::Open(path.c_str(), TextFile::Mode::Read, &error);
  if (!file) {
    preview.error = "o arquivo não pôde ser aberto";
    return preview;
  }
  DelimitedSource source(*file);
  if (!source.Error().empty()) {
    preview.error = source.Error();
    return preview;
  }
  const LayoutDetection detection = DetectLayout(source.Sample(), source.Format(), inputSystem, options);
  preview.layout = detection.layout;
  preview.error = detection.reason;
  const char separator = detection.layout ? detection.layout->separator : options.separator.value_or(';');
  std::vector<Field> fields;
  std::string storage;
  for (const std::string& line : source.Sample()) {
    preview.lines.push_back(DecodeToUtf8(line, source.Format().encoding));
    std::vector<std::string> values;
    if (!IsBlankOrComment(line) && SplitFields(line, separator, fields, storage)) {
      for (const Field& field : fields) values.push_back(DecodeToUtf8(field.value, source.Format().encoding));
    }
    preview.values.push_back(std::move(values));
  }
  return preview;
}

}  // namespace transref
