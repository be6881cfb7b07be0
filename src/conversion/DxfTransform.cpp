#include "conversion/DxfTransform.h"

#include <charconv>
#include <memory>
#include <stdexcept>
#include <string>

#include "conversion/AsciiList.h"
#include "conversion/Messages.h"
#include "support/Numbers.h"

namespace transref {
namespace {

// Group codes of a coordinate group: X 10-19, its Y on the next pair, and an
// optional Z 30-39 right after the Y value.
constexpr int kFirstXCode = 10, kLastXCode = 19;
constexpr int kFirstZCode = 30, kLastZCode = 39;
constexpr int kMarkerCode = 0;    // SECTION, ENDSEC, EOF and entity types
constexpr int kNameCode = 2;      // the name of a section after "0 SECTION"
constexpr int kVariableCode = 9;  // a header variable name such as $EXTMIN
constexpr int kNoCode = -1000000; // a line that holds no integer

constexpr std::string_view kSectionMarker = "SECTION";
constexpr std::string_view kEndSectionMarker = "ENDSEC";
constexpr std::string_view kEndOfFileMarker = "EOF";
constexpr std::string_view kHeaderSection = "HEADER";
constexpr std::string_view kEntitiesSection = "ENTITIES";
constexpr std::string_view kExtentsMin = "$EXTMIN";
constexpr std::string_view kExtentsMax = "$EXTMAX";
// First line of a binary DXF file (followed by CR LF, SUB and a zero byte).
constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";

constexpr int kDxfDecimals = 3;  // transformed values are written "%0.3lf"

// Codes 10-19 that some entities use for directions, offsets or sizes
// rather than for positions: the major axis of an ELLIPSE (relative to its
// centre), the x-axis direction of MTEXT and TOLERANCE, the direction of an
// XLINE or RAY, the end tangents of a SPLINE, the segment and miter
// directions of an MLINE, the U and V vectors, pixel size and clip boundary
// of an IMAGE or WIPEOUT, and every point of a (paper-space) VIEWPORT.
// Carried through the chain as if they were grid coordinates they would
// become meaningless numbers hundreds of kilometres long; they are copied as
// they are.
struct VectorCodes {
  std::string_view entity;
  int first, last;
};
constexpr VectorCodes kVectorCodes[] = {
    {"ELLIPSE", 11, 11}, {"MTEXT", 11, 11}, {"TOLERANCE", 11, 11}, {"XLINE", 11, 11},
    {"RAY", 11, 11},     {"SPLINE", 12, 13}, {"MLINE", 12, 13},    {"IMAGE", 11, 14},
    {"WIPEOUT", 11, 14}, {"VIEWPORT", 10, 17},
};

// Code 67 with the value 1 puts an entity in paper space: its coordinates
// are sheet units of a layout, not ground coordinates, and are copied.
constexpr int kSpaceCode = 67;
constexpr std::string_view kPaperSpace = "1";

bool IsVectorCode(std::string_view entity, int code) {
  for (const VectorCodes& v : kVectorCodes) {
    if (v.entity == entity && code >= v.first && code <= v.last) return true;
  }
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool InRange(int code, int first, int last) { return code >= first && code <= last; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One line as read, with its 1-based number in the file.
struct Line {
  std::string text;
  std::int64_t number = 0;
  std::string_view View() const { return text; }
};

class DxfWalk {
 public:
  DxfWalk(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
          ProgressSink& progress, RunResult& result)
      : job_(job), chain_(chain), input_(input), output_(output), progress_(progress), result_(result),
        toDxf_(job.outputKind == FileKind::Dxf) {}

  bool Run();
  std::int64_t LinesRead() const { return lineCount_; }

 private:
  enum class Section { None, Header, Entities, Other };

  // Reads the next line whole; a line over the reader's bound stops the run
  // naming it (it is never split or cut).
  bool Read(Line& line) {
    std::string_view text;
    const bool tooLong = input_.ReadLine(text) == TextFile::LineRead::TooLong;
    line.text.assign(text);
    line.number = ++lineCount_;
    if (tooLong) {
      return Fail({{MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(line.number))}}, line.number);
    }
    return true;
  }
  void Step() { progress_.Step(input_.Position()); }
  // Writes a line to a drawing output; a list output receives only points.
  // Every line end is written as "\n", so CR LF input becomes LF output.
  void Copy(const Line& line) {
    if (toDxf_) output_.WriteLine(line.View());
  }
  void WriteValue(double value) {
    char text[400];
    output_.WriteLine({text, static_cast<std::size_t>(FormatFixed(text, value, 0, kDxfDecimals) - text)});
  }
  bool ReadValue(const Line& line, double& value);
  bool TransformGroup(const Line& xCode, bool headerExtents);
  bool Fail(std::vector<UserMessage> messages, std::int64_t lineNumber) {
    result_.status = RunResult::Status::Failed;
    result_.messages = std::move(messages);
    result_.lineNumber = static_cast<int>(lineNumber);
    return false;
  }

  const ConversionJob& job_;
  PointChain& chain_;
  TextFile& input_;
  TextFile& output_;
  ProgressSink& progress_;
  RunResult& result_;
  const bool toDxf_;
  std::int64_t lineCount_ = 0;
  std::string listLine_;
  std::string entity_;  // type of the entity being walked (the last code 0 value)
  bool paperSpace_ = false;  // the entity being walked lies in paper space
  // The lines of the pair or group being handled.
  Line code_, value_, xValue_, yCode_, yValue_, zCode_, zValue_;
};

bool DxfWalk::ReadValue(const Line& line, double& value) {
  try {
    value = ReadDxfValue(line.View());
    return true;
  } catch (const std::runtime_error& error) {
    return Fail({{MessageBoxKind::ConversionError, error.what()},
                 {MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(line.number))}},
                line.number);
  }
}

// The walk: pairs of a code line and a value line, from the first line on.
// The section markers are recognised on their tags only (a text whose value
// holds "ENDSEC" is just a text), so the header, the entities and the tail
// follow each other as the drawing has them; a drawing without a header or
// without extents still has its entities transformed.
bool DxfWalk::Run() {
  progress_.SetStage(kStageReadingHeader);
  Section section = Section::None;
  bool awaitingSectionName = false;
  bool inExtents = false;  // inside the header variable $EXTMIN or $EXTMAX
  bool sawEntities = false;

  while (!input_.AtEnd()) {
    if (!Read(code_)) return false;
    if (code_.number == 1 && code_.View() == kBinaryDxfSentinel) {
      // A binary drawing has no lines to walk: copying it line by line would
      // corrupt it and transform nothing, and must not end in success.
      return Fail({{MessageBoxKind::Interrupt, BadLineMessage(1)}}, 1);
    }
    const int code = ParseGroupCode(code_.View()).value_or(kNoCode);
    const bool transformed =
        InRange(code, kFirstXCode, kLastXCode) &&
        ((section == Section::Entities && !paperSpace_ && !IsVectorCode(entity_, code)) ||
         (section == Section::Header && inExtents));
    if (transformed) {
      if (!TransformGroup(code_, section == Section::Header)) return false;
      Step();
      continue;
    }
    Copy(code_);
    Step();
    if (input_.AtEnd()) break;  // a code without its value ends the drawing
    if (!Read(value_)) return false;
    Copy(value_);
    Step();

    const std::string_view value = TrimBlanks(value_.View());
    if (code == kMarkerCode) {
      inExtents = false;
      entity_.assign(value);
      paperSpace_ = false;
      awaitingSectionName = value == kSectionMarker;
      if (value == kEndSectionMarker) {
        if (section == Section::Entities) progress_.SetStage(kStageFinishing);
        section = Section::None;
      } else if (value == kEndOfFileMarker) {
        break;  // lines after EOF are neither read nor copied
      }
    } else if (code == kNameCode && awaitingSectionName) {
      awaitingSectionName = false;
      section = value == kHeaderSection     ? Section::Header
                : value == kEntitiesSection ? Section::Entities
                                            : Section::Other;
      if (section == Section::Entities) {
        sawEntities = true;
        progress_.SetStage(kStageProcessing);
      }
    } else {
      awaitingSectionName = false;
      if (code == kSpaceCode) paperSpace_ = value == kPaperSpace;
      if (code == kVariableCode && section == Section::Header) {
        inExtents = value == kExtentsMin || value == kExtentsMax;
      }
    }
    if (output_.HasWriteError()) return Fail({{MessageBoxKind::Interrupt, std::string(kWriteError)}}, 0);
  }
  // A file without an entities section is no drawing (a point list chosen
  // as DXF, say): copying it unchanged must not be reported as a conversion.
  if (!sawEntities) return Fail({{MessageBoxKind::Interrupt, std::string(kNoEntitiesError)}}, 0);
  return true;
}

// Reads the rest of the group that starts at the X code line `xCode`,
// carries the point through the chain and writes it.
bool DxfWalk::TransformGroup(const Line& xCode, bool headerExtents) {
  double x = 0.0, y = 0.0, z = 0.0;
  // A drawing that ends inside a coordinate group is cut short: reading the
  // missing lines as empty (value 0) would write a point the drawing never
  // had, so the run stops naming the group's X code line.
  const auto readGroupLine = [&](Line& line) {
    if (input_.AtEnd()) {
      return Fail({{MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(xCode.number))}}, xCode.number);
    }
    return Read(line);
  };
  if (!readGroupLine(xValue_) || !ReadValue(xValue_, x)) return false;
  if (!readGroupLine(yCode_)) return false;  // taken as the Y code whatever it holds
  if (!readGroupLine(yValue_) || !ReadValue(yValue_, y)) return false;

  // Look-ahead for the Z code: the next line is a code line (the rhythm of
  // code and value lines is kept); when it is not a Z code it is read again
  // by the walk.
  bool hasZ = false;
  if (!input_.AtEnd()) {
    const std::int64_t mark = input_.Position();
    if (!Read(zCode_)) return false;
    if (InRange(ParseGroupCode(zCode_.View()).value_or(kNoCode), kFirstZCode, kLastZCode)) {
      if (!readGroupLine(zValue_) || !ReadValue(zValue_, z)) return false;
      hasZ = true;
    } else {
      if (!input_.Seek(mark)) {
        return Fail({{MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(zCode_.number))}},
                    zCode_.number);
      }
      --lineCount_;
    }
  }

  double out[3];
  if (!chain_.Transform(x, y, z, out)) {
    if (!headerExtents) {
      return Fail({{MessageBoxKind::Interrupt, OutOfDomainMessage(static_cast<int>(xCode.number))}},
                  xCode.number);
    }
    // CAD programs write the extents of an empty drawing as +-1e+20
    // placeholders: they stay as they are in a drawing and are left out of
    // a list.
    Copy(xCode);
    Copy(xValue_);
    Copy(yCode_);
    Copy(yValue_);
    if (hasZ) {
      Copy(zCode_);
      Copy(zValue_);
    }
    return true;
  }

  if (toDxf_) {
    output_.WriteLine(xCode.View());
    WriteValue(out[0]);
    output_.WriteLine(yCode_.View());
    WriteValue(out[1]);
    if (hasZ) {
      output_.WriteLine(zCode_.View());
      WriteValue(out[2]);
    }
  } else {
    // The point's identifier is the zero-based index of its X code line.
    listLine_.clear();
    AppendPointLine(listLine_, static_cast<std::int32_t>(xCode.number - 1), out, job_.output.system,
                    job_.outputKind);
    output_.Write(listLine_);
  }
  ++result_.pointsWritten;
  if (output_.HasWriteError()) return Fail({{MessageBoxKind::Interrupt, std::string(kWriteError)}}, 0);
  return true;
}

}  // namespace

std::optional<int> ParseGroupCode(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty()) return std::nullopt;
  int code = 0;
  const auto parsed = std::from_chars(line.data(), line.data() + line.size(), code);
  if (parsed.ec != std::errc() || parsed.ptr != line.data() + line.size()) return std::nullopt;
  return code;
}

double ReadDxfValue(std::string_view line) {
  if (line.find_first_not_of(' ') == std::string_view::npos) return 0.0;
  // Fast path for the ordinary decimal forms; anything else (and every
  // failure) goes to the number reader, which decides and complains.
  std::size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  if (i < line.size() && line[i] != '+' && line[i] != '-') {
    double magnitude = 0.0;
    const char* end = line.data() + line.size();
    const auto parsed = std::from_chars(line.data() + i, end, magnitude);
    if (parsed.ec == std::errc() && parsed.ptr == end) return negative ? -magnitude : magnitude;
  }
  return static_cast<double>(ToNumber(line));
}

bool ConvertDxf(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                ProgressSink& progress, RunResult& result) {
  // The walk holds a few line buffers: keep them off the caller's stack.
  auto walk = std::make_unique<DxfWalk>(job, chain, input, output, progress, result);
  const bool ok = walk->Run();
  result.linesRead = walk->LinesRead();
  return ok;
}

}  // namespace transref
