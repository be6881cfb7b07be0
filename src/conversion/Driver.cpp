#include "conversion/Driver.h"

#include <string>

#include "conversion/lists/AsciiList.h"
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

// The list loop: one line read, parsed, carried and written at a time.
// Lines that are empty or hold only blanks and tabs are skipped wherever
// they stand; messages name the physical line.
bool ConvertList(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                 ProgressSink& progress, RunResult& result) {
  progress.SetStage(kStageProcessing);
  const bool geographicInput = job.input.system == CoordinateSystemKind::Geographic;
  std::string outputLine;
  int lineNumber = 0;
  // Points outside the grid are gathered so that one message names them
  // all; the run then fails and nothing is kept.
  OutsideGridPoints outside;
  while (!input.AtEnd()) {
    std::string_view line;
    const TextFile::LineRead read = input.ReadLine(line);
    ++lineNumber;
    result.linesRead = lineNumber;
    if (read == TextFile::LineRead::TooLong) {
      SetFailure(result, {Interrupt(BadLineMessage(lineNumber))}, lineNumber);
      return false;
    }
    if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (IsBlankLine(line)) continue;
    ParsedLine parsed = ParsePointLine(line, job.inputKind, lineNumber);
    if (!parsed.record) {
      SetFailure(result, std::move(parsed.messages), lineNumber);
      return false;
    }
    progress.Step(input.Position());
    const PointRecord& point = *parsed.record;
    if (geographicInput) {
      if (auto problem = CheckGeographicRange(point)) {
        SetFailure(result, {Interrupt(std::move(*problem))}, lineNumber);
        return false;
      }
    }
    double values[3];
    if (!chain.Transform(point.c1, point.c2, point.c3, values)) {
      if (chain.LastFailure() == PointChain::Failure::OutsideGrid) {
        outside.Add(lineNumber, point.id);
        continue;
      }
      SetFailure(result, {Interrupt(OutOfDomainMessage(lineNumber))}, lineNumber);
      return false;
    }
    if (outside.Any()) continue;  // the output is dropped anyway
    outputLine.clear();
    AppendPointLine(outputLine, point.id, values, job.output.system, job.outputKind);
    if (!output.Write(outputLine)) {
      SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
      return false;
    }
    ++result.pointsWritten;
  }
  if (outside.Any()) {
    SetFailure(result, {Interrupt(outside.Message(job.grid.path))}, 0);
    return false;
  }
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

  const bool converted = job.inputKind == FileKind::Dxf
                             ? ConvertDxf(job, chain, input, output, progress, result)
                             : ConvertList(job, chain, input, output, progress, result);
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
