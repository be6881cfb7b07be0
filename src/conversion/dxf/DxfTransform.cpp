#include "conversion/dxf/DxfTransform.h"

#include <charconv>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversion/Plausibility.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/dxf/DxfEntity.h"
#include "conversion/dxf/DxfPointFile.h"
#include "conversion/Messages.h"
#include "support/Numbers.h"

namespace transref {
namespace {

using dxf::kNoCode;
using dxf::Record;

constexpr int kMarkerCode = 0;    // SECTION, ENDSEC, EOF, entity and table record types
constexpr int kNameCode = 2;      // the name of a section, table, block or table entry
constexpr int kVariableCode = 9;  // a header variable name such as $EXTMIN

constexpr std::string_view kSectionMarker = "SECTION";
constexpr std::string_view kEndSectionMarker = "ENDSEC";
constexpr std::string_view kEndOfFileMarker = "EOF";
constexpr std::string_view kHeaderSection = "HEADER";
constexpr std::string_view kTablesSection = "TABLES";
constexpr std::string_view kBlocksSection = "BLOCKS";
constexpr std::string_view kEntitiesSection = "ENTITIES";
constexpr std::string_view kExtentsMin = "$EXTMIN";
constexpr std::string_view kExtentsMax = "$EXTMAX";
constexpr std::string_view kTableMarker = "TABLE";
constexpr std::string_view kEndTableMarker = "ENDTAB";
constexpr std::string_view kViewportTable = "VPORT";
constexpr std::string_view kActiveViewport = "*ACTIVE";
constexpr std::string_view kBlockMarker = "BLOCK";
constexpr std::string_view kEndBlockMarker = "ENDBLK";
// Anonymous blocks that draw a dimension, placed in world coordinates.
constexpr std::string_view kDimensionBlockPrefix = "*D";
// First line of a binary DXF file (followed by CR LF, SUB and a zero byte).
constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

class Walk {
 public:
  Walk(const ConversionJob& job, PointChain& chain, dxf::LineSource& input, dxf::LineSink& output,
       ProgressSink& progress, RunResult& result)
      : job_(job), input_(input), output_(output), progress_(progress), result_(result),
        toDxf_(job.outputKind == FileKind::Dxf), chain_(chain), converter_(chain, ToChainSide(job.input)) {}

  bool Run();
  std::int64_t LinesRead() const { return lineCount_; }
  const DxfFindings& Findings() const { return findings_; }

 private:
  enum class Section { None, Header, Tables, Blocks, Entities, Other };
  // What the record being gathered is.
  enum class Gathering { Nothing, Entity, View, Extents };

  bool ReadTag();
  bool HandleTag();
  bool StartRecord(Gathering what);
  bool AddToRecord() {
    record_.Add(code_, codeText_.View(), value_, codeLine_, hasValue_);
    return true;
  }
  bool RecordContinues() const;
  bool FinishRecord();
  void Note(bool entitiesSection);  // adds the converted entity to the findings
  void CopyTag() {
    if (!toDxf_) return;
    if (hasValue_) {
      output_.WriteTag(codeText_.View(), value_);
    } else {
      output_.WriteLine(codeText_.View());
    }
  }
  bool Fail(std::vector<UserMessage> messages, std::int64_t lineNumber) {
    result_.status = RunResult::Status::Failed;
    result_.messages = std::move(messages);
    result_.lineNumber = static_cast<int>(lineNumber);
    return false;
  }
  bool FailBadLine(std::int64_t line) {
    return Fail({{MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(line))}}, line);
  }
  bool FailWrite() { return Fail({{MessageBoxKind::Interrupt, std::string(kWriteError)}}, 0); }

  const ConversionJob& job_;
  dxf::LineSource& input_;
  dxf::LineSink& output_;
  ProgressSink& progress_;
  RunResult& result_;
  const bool toDxf_;
  PointChain& chain_;
  // Lines whose points fell outside the grid: the walk goes on to name
  // them all, then fails.
  OutsideGridPoints outside_;
  dxf::EntityConverter converter_;

  std::int64_t lineCount_ = 0;
  // The tag just read: its code line (copied: the reader's view does not
  // outlive the next read), its value line (a view) and their number.
  ByteBuffer codeText_;
  std::string_view value_;
  int code_ = kNoCode;
  std::int64_t codeLine_ = 0;
  bool hasValue_ = true;
  bool endOfFile_ = false;

  Section section_ = Section::None;
  bool awaitingSectionName_ = false;
  bool awaitingTableName_ = false;
  bool awaitingBlockName_ = false;
  bool inViewportTable_ = false;
  bool inDimensionBlock_ = false;
  bool sawEntities_ = false;

  Gathering gathering_ = Gathering::Nothing;
  bool groupClosed_ = false;  // the SEQEND of a POLYLINE or INSERT was gathered
  // The record's first entity, when its VERTEX or ATTRIB entities belong to it.
  enum class Head { Polyline, Insert, Other } head_ = Head::Other;
  Record record_;
  std::vector<dxf::ListPoint> points_;
  std::string listLine_;
  DxfFindings findings_;
  PlausibilityCheck plausibility_{job_};
  // The drawing's points for a delimited file or a map.
  const bool pointFile_ = dxf::TakesDrawingPoints(job_.outputKind);
  dxf::DrawingPointWriter pointWriter_{job_};
};

// Reads a code line and its value line. False at the end of the input or
// on a line too long to take (the run then fails naming it).
bool Walk::ReadTag() {
  std::string_view line;
  const TextFile::LineRead read = input_.ReadLine(line);
  if (read == TextFile::LineRead::End) return false;
  if (read == TextFile::LineRead::TooLong) {
    ++lineCount_;
    return FailBadLine(lineCount_);
  }
  codeLine_ = ++lineCount_;
  codeText_.Assign(line);
  std::string_view codeView = codeText_.View();
  if (codeLine_ == 1) {
    // A byte-order mark is no part of the first code (it stays in the output).
    if (codeView.substr(0, dxf::kByteOrderMark.size()) == dxf::kByteOrderMark) {
      codeView.remove_prefix(dxf::kByteOrderMark.size());
    }
    if (codeView == kBinaryDxfSentinel) {
      // A binary drawing has no lines to walk: copying it line by line would
      // corrupt it and transform nothing, and must not end in success.
      return FailBadLine(1);
    }
  }
  code_ = dxf::GroupCodeOf(codeView);
  value_ = {};
  const TextFile::LineRead valueRead = input_.ReadLine(value_);
  hasValue_ = valueRead != TextFile::LineRead::End;
  if (hasValue_) {
    ++lineCount_;
    if (valueRead == TextFile::LineRead::TooLong) return FailBadLine(lineCount_);
  }
  return true;
}

bool Walk::RecordContinues() const {
  if (gathering_ == Gathering::Extents) return code_ != kMarkerCode && code_ != kVariableCode;
  if (code_ != kMarkerCode) return true;
  if (gathering_ != Gathering::Entity || groupClosed_ || head_ == Head::Other) return false;
  // The vertices of a POLYLINE and the attributes of an INSERT, up to their
  // SEQEND, are part of it.
  const std::string_view type = TrimBlanks(value_);
  if (head_ == Head::Polyline) return type == "VERTEX" || type == "SEQEND";
  return type == "ATTRIB" || type == "SEQEND";
}

bool Walk::StartRecord(Gathering what) {
  gathering_ = what;
  groupClosed_ = false;
  record_.Clear();
  const std::string_view type = TrimBlanks(value_);
  head_ = type == "POLYLINE" ? Head::Polyline : type == "INSERT" ? Head::Insert : Head::Other;
  return AddToRecord();
}

void Walk::Note(bool entitiesSection) {
  findings_.directionsAdded += converter_.DirectionsAdded();
  if (!entitiesSection || !converter_.Converted()) return;
  ++findings_.entities;
  if (!converter_.Outside()) return;
  ++findings_.outside;
  if (findings_.outsideLines.size() < DxfFindings::kListedOutside) {
    findings_.outsideLines.push_back(converter_.OutsideLine());
  }
}

bool Walk::FinishRecord() {
  const Gathering what = gathering_;
  gathering_ = Gathering::Nothing;
  points_.clear();
  dxf::ConvertFailure failure;
  bool ok = true;
  switch (what) {
    case Gathering::Entity:
      ok = converter_.Convert(record_, section_ == Section::Entities, points_, failure);
      if (ok) Note(section_ == Section::Entities);
      // The positions of the ENTITIES section are checked as a list's points are.
      for (const dxf::ListPoint& point : points_) {
        plausibility_.AddPoint(static_cast<int>(point.xCodeLine), point.input, point.values);
      }
      break;
    case Gathering::View: {
      bool active = false;
      for (std::size_t i = 1; i < record_.Size(); ++i) {
        if (record_[i].code == kNameCode) active = EqualsIgnoringCase(record_.TrimmedValue(i), kActiveViewport);
      }
      if (active) ok = converter_.ConvertView(record_, failure);
      break;
    }
    case Gathering::Extents:
      ok = converter_.ConvertExtents(record_, true, points_, failure);
      break;
    case Gathering::Nothing:
      return true;
  }
  if (!ok) {
    switch (failure.kind) {
      case dxf::ConvertFailure::Kind::NotANumber:
        return Fail({{MessageBoxKind::ConversionError, failure.text},
                     {MessageBoxKind::Interrupt, BadLineMessage(static_cast<int>(failure.line))}},
                    failure.line);
      case dxf::ConvertFailure::Kind::OutOfDomain:
        if (chain_.LastFailure() == PointChain::Failure::OutsideGrid) {
          outside_.Add(failure.line);
          return true;
        }
        return Fail({{MessageBoxKind::Interrupt, OutOfDomainMessage(static_cast<int>(failure.line))}}, failure.line);
      case dxf::ConvertFailure::Kind::Inconsistent:
        return FailBadLine(failure.line);
    }
  }
  if (toDxf_) {
    result_.pointsWritten += static_cast<std::int64_t>(points_.size());
    record_.WriteTo(output_);
  } else if (pointFile_) {
    if (what != Gathering::Entity) return true;  // the header extents are no drawing points
    listLine_.clear();
    result_.pointsWritten += static_cast<std::int64_t>(pointWriter_.AppendRecord(listLine_, record_, points_));
    output_.Write(listLine_);
  } else {
    result_.pointsWritten += static_cast<std::int64_t>(points_.size());
    for (const dxf::ListPoint& point : points_) {
      listLine_.clear();
      // The point's identifier is the zero-based index of its X code line.
      AppendPointLine(listLine_, static_cast<std::int32_t>(point.xCodeLine - 1), point.values, job_.output.system,
                      job_.outputKind);
      output_.Write(listLine_);
    }
  }
  return true;
}

// Decides what the tag just read is; false ends the walk (failure or EOF).
bool Walk::HandleTag() {
  const std::string_view value = TrimBlanks(value_);
  const bool awaitingSection = awaitingSectionName_;
  const bool awaitingTable = awaitingTableName_;
  const bool awaitingBlock = awaitingBlockName_;
  awaitingSectionName_ = awaitingTableName_ = false;
  // A BLOCK's name may come after its handle and layer, before its next marker.
  if (code_ == kMarkerCode || code_ == kNameCode) awaitingBlockName_ = false;

  if (code_ == kMarkerCode) {
    if (value == kSectionMarker) {
      awaitingSectionName_ = true;
    } else if (value == kEndSectionMarker) {
      if (section_ == Section::Entities) progress_.SetStage(kStageFinishing);
      section_ = Section::None;
      inViewportTable_ = inDimensionBlock_ = false;
    } else if (value == kEndOfFileMarker) {
      CopyTag();
      endOfFile_ = true;  // lines after EOF are neither read nor copied
      return true;
    } else if (section_ == Section::Entities) {
      return StartRecord(Gathering::Entity);
    } else if (section_ == Section::Blocks) {
      if (value == kBlockMarker) {
        awaitingBlockName_ = true;
        inDimensionBlock_ = false;
      } else if (value == kEndBlockMarker) {
        inDimensionBlock_ = false;
      } else if (inDimensionBlock_) {
        // A dimension's graphics sit at the dimension's place in the world:
        // they move with it.
        return StartRecord(Gathering::Entity);
      }
    } else if (section_ == Section::Tables) {
      if (value == kTableMarker) {
        awaitingTableName_ = true;
      } else if (value == kEndTableMarker) {
        inViewportTable_ = false;
      } else if (inViewportTable_ && value == kViewportTable) {
        return StartRecord(Gathering::View);
      }
    }
  } else if (code_ == kNameCode && awaitingSection) {
    section_ = value == kHeaderSection     ? Section::Header
               : value == kTablesSection   ? Section::Tables
               : value == kBlocksSection   ? Section::Blocks
               : value == kEntitiesSection ? Section::Entities
                                           : Section::Other;
    if (section_ == Section::Entities) {
      sawEntities_ = true;
      progress_.SetStage(kStageProcessing);
    }
  } else if (code_ == kNameCode && awaitingTable) {
    inViewportTable_ = value == kViewportTable;
  } else if (code_ == kNameCode && awaitingBlock) {
    inDimensionBlock_ = value.substr(0, kDimensionBlockPrefix.size()) == kDimensionBlockPrefix;
  } else if (code_ == kVariableCode && section_ == Section::Header &&
             (value == kExtentsMin || value == kExtentsMax)) {
    return StartRecord(Gathering::Extents);
  }
  CopyTag();
  return true;
}

// The walk: pairs of a code line and a value line, from the first line on.
// The section markers are recognised on their tags only (a text whose value
// holds "ENDSEC" is just a text).
bool Walk::Run() {
  progress_.SetStage(kStageReadingHeader);
  if (pointFile_) {
    listLine_.clear();
    pointWriter_.AppendStart(listLine_);
    output_.Write(listLine_);
  }
  while (!endOfFile_) {
    if (!ReadTag()) {
      if (result_.status == RunResult::Status::Failed) return false;
      break;
    }
    if (gathering_ != Gathering::Nothing) {
      if (RecordContinues()) {
        AddToRecord();
        if (code_ == kMarkerCode && TrimBlanks(value_) == "SEQEND") groupClosed_ = true;
        continue;  // the gauge moves when the record is written
      }
      if (!FinishRecord()) return false;
    }
    if (!hasValue_ && section_ == Section::None && !awaitingSectionName_) {
      // A code line the drawing ends on, after its last section: kept.
      CopyTag();
      break;
    }
    if (!HandleTag()) return false;
    progress_.Step(input_.Position());
    if (output_.Failed()) return FailWrite();
  }
  // A drawing that ends inside a section (or inside its last record) is cut
  // short: converting what was read would hide the loss.
  if (!endOfFile_ && (section_ != Section::None || awaitingSectionName_)) return FailBadLine(lineCount_);
  if (gathering_ != Gathering::Nothing && !FinishRecord()) return false;
  if (output_.Failed()) return FailWrite();
  // A file without an entities section is no drawing (a point list chosen
  // as DXF, say): copying it unchanged must not be reported as a conversion.
  if (!sawEntities_) return Fail({{MessageBoxKind::Interrupt, std::string(kNoEntitiesError)}}, 0);
  if (outside_.Any()) return Fail({{MessageBoxKind::Interrupt, outside_.Message(job_.grid.path)}}, 0);
  if (pointFile_) {
    listLine_.clear();
    pointWriter_.AppendEnd(listLine_);
    output_.Write(listLine_);
    if (output_.Failed()) return FailWrite();
  }
  findings_.warnings = plausibility_.Warnings();
  return true;
}

}  // namespace

std::optional<int> ParseGroupCode(std::string_view line) {
  const int code = dxf::GroupCodeOf(line);
  if (code == kNoCode) return std::nullopt;
  return code;
}

double ReadDxfValue(std::string_view line) {
  // Fast paths for the ordinary decimal forms; anything else (and every
  // failure) goes to the number reader, which decides and complains.
  std::size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  double exact = 0.0;
  if (ReadExactDecimal(line.substr(i), false, exact)) return exact;  // the usual value, as CAD programs write it
  if (line.find_first_not_of(' ') == std::string_view::npos) return 0.0;
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

bool WalkDxf(const ConversionJob& job, PointChain& chain, dxf::LineSource& input, dxf::LineSink& output,
             ProgressSink& progress, RunResult& result, DxfFindings* findings) {
  // The walk holds its record buffers: keep them off the caller's stack.
  auto walk = std::make_unique<Walk>(job, chain, input, output, progress, result);
  const bool ok = walk->Run();
  result.linesRead = walk->LinesRead();
  if (findings) *findings = walk->Findings();
  return ok;
}

bool ConvertDxf(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                ProgressSink& progress, RunResult& result, DxfFindings* findings) {
  dxf::FileLineSource source(input);
  dxf::FileLineSink sink(output);
  return WalkDxf(job, chain, source, sink, progress, result, findings);
}

}  // namespace transref
