#include "conversion/Driver.h"

#include <string>

#include "conversion/Plausibility.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/lists/DelimitedList.h"
#include "conversion/maps/MapOutput.h"
#include "conversion/dxf/DxfTransform.h"
#include "geodesy/PointChain.h"
#include "support/ReplacingOutput.h"
#include "support/TextFile.h"

namespace transref {
namespace {

void SetFailure(RunResult& result, std::vector<UserMessage> messages, int lineNumber) {
  result.status = RunResult::Status::Failed;
  result.messages = std::move(messages);
  result.lineNumber = lineNumber;
}

UserMessage Interrupt(std::string text) { return {MessageBoxKind::Interrupt, std::move(text)}; }

// A UTF-8 byte-order mark, written by Windows editors at the start of a file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kOutOfDomainProblem = "ponto fora do domínio da transformação";

std::string RangeProblem(double longitude) {
  return longitude >= -180.0 && longitude <= 180.0 ? "latitude fora de -90° a 90°" : "longitude fora de -180° a 180°";
}

// What is wrong with a line the strict grammar refuses.
std::string StrictLineProblem(std::string_view line, FileKind kind) {
  int fields = 0;
  bool inField = false;
  for (const char c : line) {
    const bool blank = c == ' ' || c == '\t';
    if (!blank && !inField) ++fields;
    inField = !blank;
  }
  if (fields != ExpectedFields(kind)) {
    return std::to_string(fields) + (fields == 1 ? " campo" : " campos") + " separados por espaços, esperados " +
           std::to_string(ExpectedFields(kind));
  }
  return "o ID não é um número inteiro ou uma coordenada não é um número";
}

// At most this many bad lines are named in one failure.
constexpr std::size_t kMaxBadLines = 20;
constexpr std::size_t kMaxQuotedText = 80;

// The bad lines of a delimited file: the first told with the list's own
// messages, all of them (up to kMaxBadLines) in one list after it.
class BadLines {
 public:
  // `alwaysListed`: the list follows the first line's messages even when
  // that line is the only bad one (it says what was found there).
  BadLines(TextEncoding encoding, bool alwaysListed) : encoding_(encoding), alwaysListed_(alwaysListed) {}
  bool Any() const { return count_ > 0; }

  void Add(int lineNumber, std::string_view line, std::string_view detail, std::vector<UserMessage> firstMessages) {
    if (count_++ == 0) {
      messages_ = std::move(firstMessages);
      firstLine_ = lineNumber;
    }
    if (count_ > kMaxBadLines) return;
    // A strict list has no encoding of its own: a line that is no UTF-8 is
    // read as Windows-1252.
    const TextEncoding encoding =
        alwaysListed_ ? encoding_ : DetectTextFormat(line).encoding;
    std::string text = DecodeToUtf8(line.substr(0, kMaxQuotedText * 2), encoding);
    if (text.size() > kMaxQuotedText) {
      std::size_t cut = kMaxQuotedText;
      while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
      text = text.substr(0, cut) + "…";
    }
    list_ += "\nlinha " + std::to_string(lineNumber) + ": " + std::string(detail) + ": \"" + text + "\"";
  }

  void Fail(RunResult& result) {
    if (count_ == 1 && !alwaysListed_) {
      SetFailure(result, std::move(messages_), firstLine_);
      return;
    }
    std::string summary = count_ == 1 ? "1 linha do arquivo de entrada não pôde ser lida:"
                                      : std::to_string(count_) + " linhas do arquivo de entrada não puderam ser lidas:";
    summary += list_;
    if (count_ > kMaxBadLines) summary += "\n… e mais " + std::to_string(count_ - kMaxBadLines) + " linhas.";
    messages_.push_back({MessageBoxKind::Interrupt, std::move(summary)});
    SetFailure(result, std::move(messages_), firstLine_);
  }

 private:
  TextEncoding encoding_;
  bool alwaysListed_;
  std::size_t count_ = 0;
  int firstLine_ = 0;
  std::vector<UserMessage> messages_;
  std::string list_;
};

// A point the chain could not carry: outside every subgrid of the job's
// grid, or outside the transformation's domain. Either way a bad line.
void AddUntransformable(BadLines& bad, const PointChain& chain, const ConversionJob& job, int lineNumber,
                        std::string_view line, std::string_view id) {
  if (chain.LastFailure() == PointChain::Failure::OutsideGrid) {
    bad.Add(lineNumber, line, OutsideGridProblem(job.grid.path, id),
            {Interrupt(OutsideGridMessage(job.grid.path, lineNumber, id))});
    return;
  }
  bad.Add(lineNumber, line, kOutOfDomainProblem, {Interrupt(OutOfDomainMessage(lineNumber))});
}

// The list loop: one line read, parsed, carried and written at a time.
// Lines that are empty or hold only blanks and tabs are skipped wherever
// they stand; messages name the physical line.
bool ConvertList(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                 ProgressSink& progress, RunResult& result) {
  progress.SetStage(kStageProcessing);
  const bool geographicInput = job.input.system == CoordinateSystemKind::Geographic;
  std::string outputLine;
  PlausibilityCheck plausibility(job);
  BadLines bad(TextEncoding::Utf8, false);
  int lineNumber = 0;
  while (!input.AtEnd()) {
    std::string_view line;
    const TextFile::LineRead read = input.ReadLine(line);
    ++lineNumber;
    result.linesRead = lineNumber;
    if (read == TextFile::LineRead::TooLong) {
      bad.Add(lineNumber, {}, "linha longa demais", {Interrupt(BadLineMessage(lineNumber))});
      continue;
    }
    if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (IsBlankLine(line)) continue;
    ParsedLine parsed = ParsePointLine(line, job.inputKind, lineNumber);
    if (!parsed.record) {
      bad.Add(lineNumber, line, StrictLineProblem(line, job.inputKind), std::move(parsed.messages));
      continue;
    }
    progress.Step(input.Position());
    const PointRecord& point = *parsed.record;
    if (geographicInput) {
      if (auto problem = CheckGeographicRange(point)) {
        bad.Add(lineNumber, line, RangeProblem(point.c1), {Interrupt(std::move(*problem))});
        continue;
      }
    }
    double values[3];
    if (!chain.Transform(point.c1, point.c2, point.c3, values)) {
      AddUntransformable(bad, chain, job, lineNumber, line, point.idText);
      continue;
    }
    // After a bad line nothing more is written; the reading goes on to name
    // the other bad lines.
    if (bad.Any()) continue;
    const double inputValues[3] = {point.c1, point.c2, point.c3};
    plausibility.AddPoint(lineNumber, inputValues, values);
    outputLine.clear();
    char idBuffer[12];
    AppendPointLine(outputLine, IdTextToWrite(point, idBuffer), values, job.output.system, job.outputKind);
    if (!output.Write(outputLine)) {
      SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
      return false;
    }
    ++result.pointsWritten;
  }
  if (bad.Any()) {
    bad.Fail(result);
    return false;
  }
  result.warnings = plausibility.Warnings();
  return true;
}

// Where the converted points go: a delimited file in the input's layout, a
// strict list, or a map.
class PointOutput {
 public:
  PointOutput(const ConversionJob& job, const DelimitedLayout& layout, TextFile& output)
      : job_(job), layout_(layout), output_(output), lines_(output, layout.encoding, layout.lineEnd),
        map_(job.outputKind) {
    writing_.layout = &layout_;
    writing_.outputSystem = job.output.system;
    writing_.geometricHeight = job.output.heightKind == HeightKind::Geometric;
    writing_.sexagesimal = job.delimited.sexagesimalOutput;
  }

  bool Begin() {
    if (job_.outputKind == FileKind::Delimited) return lines_.Begin();
    if (!IsMap(job_.outputKind)) return true;
    text_.clear();
    map_.AppendStart(text_);
    return output_.Write(text_);
  }

  // A comment or blank line: kept in place in a delimited output.
  bool Passthrough(std::string_view line) {
    return job_.outputKind != FileKind::Delimited || lines_.WriteLine(line);
  }

  bool Header(std::string_view line, const std::vector<Field>& fields) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (k >= names_.size()) names_.push_back({});
      names_[k] = DecodeToUtf8(fields[k].value, layout_.encoding);
    }
    if (job_.outputKind != FileKind::Delimited) return true;
    text_.clear();
    AppendDelimitedHeader(text_, line, writing_);
    return lines_.WriteLine(text_);
  }

  bool Point(std::string_view line, const DelimitedRow& row, const double values[3]) {
    text_.clear();
    const std::string_view id = row.idField >= 0 ? row.fields[static_cast<std::size_t>(row.idField)].value
                                                 : std::string_view{};
    if (job_.outputKind == FileKind::Delimited) {
      AppendDelimitedRow(text_, line, row, values, writing_);
      return lines_.WriteLine(text_);
    }
    if (IsMap(job_.outputKind)) {
      properties_.clear();
      for (std::size_t k = 0; k < row.fields.size(); ++k) {
        if (static_cast<int>(k) == row.idField || IsCoordinate(row, k)) continue;
        std::string name = k < names_.size() && !names_[k].empty() ? names_[k] : "coluna " + std::to_string(k + 1);
        properties_.emplace_back(std::move(name), DecodeToUtf8(row.fields[k].value, layout_.encoding));
      }
      const std::string name = DecodeToUtf8(id, layout_.encoding);
      map_.AppendPoint(text_, MapPoint{name, values[0], values[1], values[2], row.hasHeight, &properties_});
      return output_.Write(text_);
    }
    const std::string_view rawId =
        row.idField >= 0 ? line.substr(row.fields[static_cast<std::size_t>(row.idField)].begin,
                                       row.fields[static_cast<std::size_t>(row.idField)].end -
                                           row.fields[static_cast<std::size_t>(row.idField)].begin)
                         : std::string_view("0");
    AppendPointLine(text_, rawId, values, job_.output.system, job_.outputKind);
    return output_.Write(text_);
  }

  bool End() {
    if (!IsMap(job_.outputKind)) return true;
    text_.clear();
    map_.AppendEnd(text_);
    return output_.Write(text_);
  }

 private:
  static bool IsCoordinate(const DelimitedRow& row, std::size_t k) {
    for (const int index : row.coordinateField) {
      if (index == static_cast<int>(k)) return true;
    }
    return false;
  }

  const ConversionJob& job_;
  const DelimitedLayout& layout_;
  TextFile& output_;
  DelimitedLineWriter lines_;
  MapWriter map_;
  DelimitedWriting writing_;
  std::string text_;
  std::vector<std::string> names_;
  std::vector<std::pair<std::string, std::string>> properties_;
};

// A delimited file (or a strict list written as another kind): the layout
// detected or chosen, then one line at a time as in the list loop. A bad
// line does not end the reading: every bad line is named (nothing more is
// written after the first), and the run fails at the end.
bool ConvertDelimited(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                      ProgressSink& progress, RunResult& result) {
  progress.SetStage(kStageProcessing);
  DelimitedSource source(input);
  if (!source.Error().empty()) {
    SetFailure(result, {Interrupt("O arquivo de entrada não pôde ser lido: " + source.Error() + "!")}, 0);
    return false;
  }
  DelimitedOptions options = job.delimited;
  if (IsStrictList(job.inputKind)) {
    // The strict grammar: blank separated, no header, ID and coordinates.
    options.separator = kBlankSeparator;
    options.header = false;
  }
  const LayoutDetection detection = DetectLayout(source.Sample(), source.Format(), job.input.system, options);
  if (!detection.layout) {
    SetFailure(result, {Interrupt("O arquivo de entrada não pôde ser lido como texto delimitado: " +
                                  detection.reason + "!")},
               0);
    return false;
  }
  const DelimitedLayout& layout = *detection.layout;
  TextFile& lines = source.Lines();
  PointOutput out(job, layout, output);
  PlausibilityCheck plausibility(job);
  BadLines bad(layout.encoding, true);
  const bool geographicInput = job.input.system == CoordinateSystemKind::Geographic;
  bool writing = out.Begin();
  bool headerPending = layout.header;
  DelimitedRow row;
  std::string problem, notANumber;
  int lineNumber = 0;
  while (!lines.AtEnd()) {
    std::string_view line;
    const TextFile::LineRead read = lines.ReadLine(line);
    ++lineNumber;
    result.linesRead = lineNumber;
    if (read == TextFile::LineRead::TooLong) {
      bad.Add(lineNumber, {}, "linha longa demais", {Interrupt(BadLineMessage(lineNumber))});
      continue;
    }
    if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    progress.Step(lines.Position());
    if (IsBlankOrComment(line)) {
      if (!bad.Any()) writing = writing && out.Passthrough(line);
      continue;
    }
    if (headerPending) {
      headerPending = false;
      std::vector<Field> fields;
      std::string storage;
      SplitFields(line, layout.separator, fields, storage);
      if (!bad.Any()) writing = writing && out.Header(line, fields);
      continue;
    }
    int expected = 0;
    if (!ReadDelimitedRow(line, layout, job.input.system, row, problem, notANumber, expected)) {
      std::vector<UserMessage> first;
      if (notANumber.empty()) {
        first = {Interrupt(FieldCountMessage(lineNumber, expected))};
      } else {
        first = {{MessageBoxKind::ConversionError, NotANumberMessage(DecodeToUtf8(notANumber, layout.encoding))},
                 Interrupt(BadLineMessage(lineNumber))};
      }
      bad.Add(lineNumber, line, problem, std::move(first));
      continue;
    }
    if (geographicInput) {
      PointRecord point;
      point.c1 = row.values[0];
      point.c2 = row.values[1];
      point.lineNumber = lineNumber;
      if (auto range = CheckGeographicRange(point)) {
        bad.Add(lineNumber, line, RangeProblem(point.c1), {Interrupt(std::move(*range))});
        continue;
      }
    }
    double values[3];
    if (!chain.Transform(row.values[0], row.values[1], row.values[2], values)) {
      AddUntransformable(bad, chain, job, lineNumber, line,
                         row.idField >= 0
                             ? DecodeToUtf8(row.fields[static_cast<std::size_t>(row.idField)].value, layout.encoding)
                             : std::string());
      continue;
    }
    if (bad.Any()) continue;
    plausibility.AddPoint(lineNumber, row.values, values);
    plausibility.AddDecimalMarks(lineNumber, row.commaSeen, row.pointSeen);
    writing = writing && out.Point(line, row, values);
    if (!writing) {
      SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
      return false;
    }
    ++result.pointsWritten;
  }
  if (bad.Any()) {
    bad.Fail(result);
    return false;
  }
  if (!out.End() || !writing) {
    SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
    return false;
  }
  if (lines.HasReadError()) {
    SetFailure(result, {Interrupt(BadLineMessage(lineNumber))}, lineNumber);
    return false;
  }
  result.convertedCount = static_cast<std::size_t>(result.pointsWritten);
  result.warnings = plausibility.Warnings();
  return true;
}

void SetOpenFailure(RunResult& result, const std::string& path, int error, FileRole role) {
  result.status = RunResult::Status::OpenFailed;
  result.messages = {Interrupt(OpenFailureMessage(path, error, role))};
}

}  // namespace

RunResult RunConversion(const ConversionJob& job, ProgressSink& progress, const RunStreams& streams) {
  RunResult result;
  if (auto problem = CheckJob(job, streams)) {
    SetFailure(result, {Interrupt(std::move(*problem))}, 0);
    return result;
  }
  // The grid is read and fitted before any file of the run is opened.
  PreparedGrid grid;
  if (job.model == TransformationModel::Grid) {
    grid = PrepareGrid(job);
    if (!grid.shift) {
      SetFailure(result, {Interrupt(std::move(grid.problem))}, 0);
      return result;
    }
  }
  PointChain chain = BuildJobPointChain(job, grid);

  // The input first: when it cannot be opened the output is not touched.
  int error = 0;
  std::unique_ptr<TextFile> inputFile;
  if (streams.input == nullptr) {
    inputFile = TextFile::Open(job.inputPath.c_str(), TextFile::Mode::Read, &error);
    if (!inputFile) {
      SetOpenFailure(result, job.inputPath, error, FileRole::Input);
      return result;
    }
  }
  TextFile& input = streams.input ? *streams.input : *inputFile;
  // The output: a temporary file that replaces the output on success; it is
  // removed on every other way out of this function.
  std::unique_ptr<ReplacingOutput> outputFile;
  if (streams.output == nullptr) {
    outputFile = ReplacingOutput::Open(job.outputPath, &error);
    if (!outputFile) {
      SetOpenFailure(result, job.outputPath, error, FileRole::Output);
      return result;
    }
  }
  TextFile& output = streams.output ? *streams.output : outputFile->File();

  const std::int64_t total = FileLength(input);
  progress.SetLabel(kProgressLabel);
  progress.SetRemainingTime("");
  progress.Begin(total > 0 ? total : 0);
  progress.Show();

  bool converted;
  if (job.inputKind == FileKind::Dxf) {
    DxfFindings findings;
    converted = ConvertDxf(job, chain, input, output, progress, result, &findings);
    // A drawing written as a drawing counts its entities; as points, its points.
    result.convertedCount = static_cast<std::size_t>(IsDrawing(job.outputKind) ? findings.entities
                                                                               : result.pointsWritten);
    if (const std::optional<std::string> warning = OutsideZoneWarning(findings.outside, findings.outsideLines)) {
      result.warnings.push_back(*warning);
    }
    result.warnings.insert(result.warnings.end(), findings.warnings.begin(), findings.warnings.end());
  } else if (IsStrictList(job.inputKind) && IsStrictList(job.outputKind)) {
    converted = ConvertList(job, chain, input, output, progress, result);
    result.convertedCount = static_cast<std::size_t>(result.pointsWritten);
  } else {
    converted = ConvertDelimited(job, chain, input, output, progress, result);
  }
  const bool readFailed = input.HasReadError();
  inputFile.reset();
  // Closing flushes the last buffer: a full disk may only show here. A
  // failed run's temporary file is removed, never put in place.
  bool closed = false;
  if (!converted || readFailed) {
    outputFile.reset();
  } else {
    closed = outputFile ? outputFile->Commit() : output.Flush();
  }
  progress.End();

  if (converted && readFailed) {
    SetFailure(result, {Interrupt(BadLineMessage(static_cast<int>(result.linesRead)))},
               static_cast<int>(result.linesRead));
  } else if (converted && !closed) {
    SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
  } else if (converted) {
    result.status = RunResult::Status::Success;
  }
  return result;
}

}  // namespace transref
