#include "conversion/Driver.h"

#include <algorithm>
#include <string>
#include <thread>

#include "conversion/Plausibility.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/lists/DelimitedList.h"
#include "conversion/maps/MapOutput.h"
#include "conversion/dxf/DxfTransform.h"
#include "geodesy/PointChain.h"
#include "support/ReplacingOutput.h"
#include "support/SliceRunner.h"
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

// Why a line is bad: the detail for the list of bad lines, and the messages
// told when it is the first.
struct LineFault {
  std::string detail;
  std::vector<UserMessage> messages;
};

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

  void Add(int lineNumber, std::string_view line, LineFault fault) {
    if (count_++ == 0) {
      messages_ = std::move(fault.messages);
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
    list_ += "\nlinha " + std::to_string(lineNumber) + ": " + fault.detail + ": \"" + text + "\"";
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
LineFault UntransformableFault(PointChain::Failure failure, const ConversionJob& job, int lineNumber,
                               std::string_view id) {
  if (failure == PointChain::Failure::OutsideGrid) {
    return {OutsideGridProblem(job.grid.path, id), {Interrupt(OutsideGridMessage(job.grid.path, lineNumber, id))}};
  }
  return {std::string(kOutOfDomainProblem), {Interrupt(OutOfDomainMessage(lineNumber))}};
}

LineFault TooLongFault(int lineNumber) { return {"linha longa demais", {Interrupt(BadLineMessage(lineNumber))}}; }

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
      bad.Add(lineNumber, {}, TooLongFault(lineNumber));
      continue;
    }
    if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (IsBlankLine(line)) continue;
    ParsedLine parsed = ParsePointLine(line, job.inputKind, lineNumber);
    if (!parsed.record) {
      bad.Add(lineNumber, line, {StrictLineProblem(line, job.inputKind), std::move(parsed.messages)});
      continue;
    }
    progress.Step(input.Position());
    const PointRecord& point = *parsed.record;
    if (geographicInput) {
      if (auto problem = CheckGeographicRange(point)) {
        bad.Add(lineNumber, line, {RangeProblem(point.c1), {Interrupt(std::move(*problem))}});
        continue;
      }
    }
    double values[3];
    if (!chain.Transform(point.c1, point.c2, point.c3, values)) {
      bad.Add(lineNumber, line, UntransformableFault(chain.LastFailure(), job, lineNumber, point.idText));
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
// strict list, or a map. A point's text is made by FormatPoint, which only
// reads the settings (several threads may call it at once), and written by
// WritePoint in file order.
class PointOutput {
 public:
  // One thread's scratch space for FormatPoint.
  struct Scratch {
    std::vector<std::pair<std::string, std::string>> properties;
  };

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

  // The header's column names, which name a map's properties: set before
  // any point is formatted.
  void SetColumnNames(const std::vector<Field>& fields) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (k >= names_.size()) names_.push_back({});
      names_[k] = DecodeToUtf8(fields[k].value, layout_.encoding);
    }
  }

  bool Header(std::string_view line) {
    if (job_.outputKind != FileKind::Delimited) return true;
    text_.clear();
    AppendDelimitedHeader(text_, line, writing_);
    return lines_.WriteLine(text_);
  }

  void FormatPoint(std::string& out, std::string_view line, const DelimitedRow& row, const double values[3],
                   Scratch& scratch) const {
    const std::string_view id = row.idField >= 0 ? row.fields[static_cast<std::size_t>(row.idField)].value
                                                 : std::string_view{};
    if (job_.outputKind == FileKind::Delimited) {
      AppendDelimitedRow(out, line, row, values, writing_);
      return;
    }
    if (IsMap(job_.outputKind)) {
      scratch.properties.clear();
      for (std::size_t k = 0; k < row.fields.size(); ++k) {
        if (static_cast<int>(k) == row.idField || IsCoordinate(row, k)) continue;
        std::string name = k < names_.size() && !names_[k].empty() ? names_[k] : "coluna " + std::to_string(k + 1);
        scratch.properties.emplace_back(std::move(name), DecodeToUtf8(row.fields[k].value, layout_.encoding));
      }
      const std::string name = DecodeToUtf8(id, layout_.encoding);
      map_.AppendFeature(out, MapPoint{name, values[0], values[1], values[2], row.hasHeight, &scratch.properties});
      return;
    }
    const std::string_view rawId =
        row.idField >= 0 ? line.substr(row.fields[static_cast<std::size_t>(row.idField)].begin,
                                       row.fields[static_cast<std::size_t>(row.idField)].end -
                                           row.fields[static_cast<std::size_t>(row.idField)].begin)
                         : std::string_view("0");
    AppendPointLine(out, rawId, values, job_.output.system, job_.outputKind);
  }

  // A text FormatPoint made, as the next point of the output.
  bool WritePoint(std::string_view text) {
    if (job_.outputKind == FileKind::Delimited) return lines_.WriteLine(text);
    if (IsMap(job_.outputKind)) {
      text_.clear();
      map_.AppendSeparator(text_);
      text_.append(text);
      return output_.Write(text_);
    }
    return output_.Write(text);
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
};

// A delimited run reads its lines in batches. The points of a batch are
// read, carried and written out as text on several threads at once; then
// the batch's lines are told (bad lines) or written in file order.
constexpr std::size_t kBatchLines = 4096;
constexpr std::size_t kBatchBytes = std::size_t{1} << 18;  // a batch ends after the line that reaches this
// A batch with fewer points is carried on the calling thread alone, so that
// a small file starts no thread.
constexpr std::size_t kMinParallelPoints = 512;
constexpr int kMaxWorkers = 4;

struct BatchLine {
  enum class Kind : std::uint8_t { TooLong, Passthrough, Header, Point };
  Kind kind = Kind::Point;
  int lineNumber = 0;
  std::size_t begin = 0, size = 0;  // the line's bytes in the batch's text
  // A point line, once carried:
  bool converted = false;
  bool commaSeen = false, pointSeen = false;
  double input[3] = {0.0, 0.0, 0.0};
  double output[3] = {0.0, 0.0, 0.0};
  int worker = 0;                           // whose text holds its output line
  std::size_t textBegin = 0, textSize = 0;  // the output line in that text
  LineFault fault;                          // why it was not converted
};

// One thread's share of the work: its own chain (the chain keeps the
// records of the point it carries), row and output texts.
struct BatchWorker {
  explicit BatchWorker(const PointChain& jobChain) : chain(jobChain) {}
  PointChain chain;
  DelimitedRow row;
  std::string problem, notANumber;
  std::string text;  // the output lines of its points, one after the other
  PointOutput::Scratch scratch;
};

// Threads that carry a delimited run's points: as asked, or one for each
// core up to kMaxWorkers. The grid's PROJ object serves one thread only.
int WorkerCount(const ConversionJob& job, int requested) {
  if (job.model == TransformationModel::Grid) return 1;
  if (requested > 0) return requested;
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMaxWorkers);
}

// Reads one point line, checks it, carries it and (with `format`) makes its
// output line; or says why the line is bad.
void CarryLine(BatchLine& entry, std::string_view line, BatchWorker& worker, int workerIndex, bool format,
               const ConversionJob& job, const DelimitedLayout& layout, const PointOutput& out) {
  const int lineNumber = entry.lineNumber;
  DelimitedRow& row = worker.row;
  entry.converted = false;
  int expected = 0;
  if (!ReadDelimitedRow(line, layout, job.input.system, row, worker.problem, worker.notANumber, expected)) {
    std::vector<UserMessage> first;
    if (worker.notANumber.empty()) {
      first = {Interrupt(FieldCountMessage(lineNumber, expected))};
    } else {
      first = {{MessageBoxKind::ConversionError, NotANumberMessage(DecodeToUtf8(worker.notANumber, layout.encoding))},
               Interrupt(BadLineMessage(lineNumber))};
    }
    entry.fault = {worker.problem, std::move(first)};
    return;
  }
  if (job.input.system == CoordinateSystemKind::Geographic) {
    PointRecord point;
    point.c1 = row.values[0];
    point.c2 = row.values[1];
    point.lineNumber = lineNumber;
    if (auto range = CheckGeographicRange(point)) {
      entry.fault = {RangeProblem(point.c1), {Interrupt(std::move(*range))}};
      return;
    }
  }
  if (!worker.chain.Transform(row.values[0], row.values[1], row.values[2], entry.output)) {
    const std::string id =
        row.idField >= 0 ? DecodeToUtf8(row.fields[static_cast<std::size_t>(row.idField)].value, layout.encoding)
                         : std::string();
    entry.fault = UntransformableFault(worker.chain.LastFailure(), job, lineNumber, id);
    return;
  }
  entry.converted = true;
  std::copy_n(row.values, 3, entry.input);
  entry.commaSeen = row.commaSeen;
  entry.pointSeen = row.pointSeen;
  entry.worker = workerIndex;
  entry.textBegin = worker.text.size();
  if (format) out.FormatPoint(worker.text, line, row, entry.output, worker.scratch);
  entry.textSize = worker.text.size() - entry.textBegin;
}

// A delimited file (or a strict list written as another kind): the layout
// detected or chosen, then the lines in batches. A bad line does not end
// the reading: every bad line is named (nothing more is written after the
// first), and the run fails at the end.
bool ConvertDelimited(const ConversionJob& job, const PointChain& chain, TextFile& input, TextFile& output,
                      ProgressSink& progress, RunResult& result, int workers) {
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
  bool writing = out.Begin();
  bool headerPending = layout.header;

  std::vector<BatchWorker> team;
  const int count = WorkerCount(job, workers);
  team.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) team.emplace_back(chain);
  SliceRunner runner(count);
  std::vector<BatchLine> batch(kBatchLines);
  std::string batchText;
  std::vector<Field> headerFields;
  std::string headerStorage;
  int lineNumber = 0;
  while (!lines.AtEnd()) {
    // The batch read: each line's bytes kept, its kind told.
    std::size_t size = 0, points = 0;
    batchText.clear();
    while (size < kBatchLines && batchText.size() < kBatchBytes && !lines.AtEnd()) {
      std::string_view line;
      const TextFile::LineRead read = lines.ReadLine(line);
      BatchLine& entry = batch[size++];
      entry.lineNumber = ++lineNumber;
      entry.begin = batchText.size();
      entry.size = 0;
      if (read == TextFile::LineRead::TooLong) {
        entry.kind = BatchLine::Kind::TooLong;
        continue;
      }
      if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
      progress.Step(lines.Position());
      if (IsBlankOrComment(line)) {
        entry.kind = BatchLine::Kind::Passthrough;
      } else if (headerPending) {
        headerPending = false;
        entry.kind = BatchLine::Kind::Header;
        SplitFields(line, layout.separator, headerFields, headerStorage);
        out.SetColumnNames(headerFields);
      } else {
        entry.kind = BatchLine::Kind::Point;
        ++points;
      }
      batchText.append(line);
      entry.size = line.size();
    }
    const auto text = [&batchText](const BatchLine& entry) {
      return std::string_view(batchText).substr(entry.begin, entry.size);
    };

    // Its points carried, each thread a share of its lines. After a bad
    // line nothing more is written, so no output line is made.
    const bool format = !bad.Any();
    const auto carry = [&](int slice, int slices) {
      BatchWorker& worker = team[static_cast<std::size_t>(slice)];
      worker.text.clear();
      const std::size_t from = size * static_cast<std::size_t>(slice) / static_cast<std::size_t>(slices);
      const std::size_t to = size * static_cast<std::size_t>(slice + 1) / static_cast<std::size_t>(slices);
      for (std::size_t k = from; k < to; ++k) {
        BatchLine& entry = batch[k];
        if (entry.kind == BatchLine::Kind::Point) CarryLine(entry, text(entry), worker, slice, format, job, layout, out);
      }
    };
    if (points < kMinParallelPoints) {
      carry(0, 1);
    } else {
      runner.Run(carry);
    }

    // The batch told and written in file order.
    for (std::size_t k = 0; k < size; ++k) {
      BatchLine& entry = batch[k];
      result.linesRead = entry.lineNumber;
      const std::string_view line = text(entry);
      switch (entry.kind) {
        case BatchLine::Kind::TooLong:
          bad.Add(entry.lineNumber, {}, TooLongFault(entry.lineNumber));
          continue;
        case BatchLine::Kind::Passthrough:
          if (!bad.Any()) writing = writing && out.Passthrough(line);
          continue;
        case BatchLine::Kind::Header:
          if (!bad.Any()) writing = writing && out.Header(line);
          continue;
        case BatchLine::Kind::Point:
          break;
      }
      if (!entry.converted) {
        bad.Add(entry.lineNumber, line, std::move(entry.fault));
        continue;
      }
      if (bad.Any()) continue;
      plausibility.AddPoint(entry.lineNumber, entry.input, entry.output);
      plausibility.AddDecimalMarks(entry.lineNumber, entry.commaSeen, entry.pointSeen);
      const std::string& written = team[static_cast<std::size_t>(entry.worker)].text;
      writing = writing && out.WritePoint(std::string_view(written).substr(entry.textBegin, entry.textSize));
      if (!writing) {
        SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
        return false;
      }
      ++result.pointsWritten;
    }
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

RunResult RunConversion(const ConversionJob& job, ProgressSink& progress, const RunStreams& streams, int workers) {
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
    converted = ConvertDelimited(job, chain, input, output, progress, result, workers);
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
