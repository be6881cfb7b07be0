#include "conversion/Driver.h"

#include <string>

#include "conversion/AsciiList.h"
#include "conversion/DxfTransform.h"
#include "geodesy/PointChain.h"
#include "support/TextFile.h"

namespace transref {
namespace {

void SetFailure(RunResult& result, std::vector<UserMessage> messages, int lineNumber) {
  result.status = RunResult::Status::Failed;
  result.messages = std::move(messages);
  result.lineNumber = lineNumber;
}

UserMessage Interrupt(std::string text) { return {MessageBoxKind::Interrupt, std::move(text)}; }

// The list loop: one line read, parsed, carried and written at a time. An
// empty line ends the list; the lines after it are ignored.
bool ConvertList(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                 ProgressSink& progress, RunResult& result) {
  progress.SetStage(kStageProcessing);
  const bool geographicInput = job.input.system == CoordinateSystemKind::Geographic;
  std::string outputLine;
  int lineNumber = 0;
  while (!input.AtEnd()) {
    std::string_view line;
    const TextFile::LineRead read = input.ReadLine(line);
    ++lineNumber;
    result.linesRead = lineNumber;
    if (read == TextFile::LineRead::TooLong) {
      SetFailure(result, {Interrupt(BadLineMessage(lineNumber))}, lineNumber);
      return false;
    }
    if (line.empty()) break;
    ParsedLine parsed = ParsePointLine(line, job.inputKind, lineNumber, job.listDecimalSeparator);
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
      SetFailure(result, {Interrupt(OutOfDomainMessage(lineNumber))}, lineNumber);
      return false;
    }
    outputLine.clear();
    AppendPointLine(outputLine, point.id, values, job.output.system, job.outputKind);
    if (!output.Write(outputLine)) {
      SetFailure(result, {Interrupt(std::string(kWriteError))}, 0);
      return false;
    }
    ++result.pointsWritten;
  }
  return true;
}

}  // namespace

RunResult RunConversion(const ConversionJob& job, ProgressSink& progress) {
  RunResult result;
  if (auto problem = CheckJob(job)) {
    SetFailure(result, {Interrupt(std::move(*problem))}, 0);
    return result;
  }
  PointChain chain(ToChainSide(job.input), ToChainSide(job.output), BuildJobDatumStep(job), job.altimetry);

  // The input first: when it cannot be opened the output is not touched.
  std::unique_ptr<TextFile> input = TryOpenFile(job.inputPath.c_str(), 0, "r");
  if (!input) {
    result.status = RunResult::Status::OpenFailed;
    return result;
  }
  std::unique_ptr<TextFile> output = TryOpenFile(job.outputPath.c_str(), 0, "w");
  if (!output) {
    result.status = RunResult::Status::OpenFailed;
    return result;
  }

  const std::int64_t total = FileLength(*input);
  progress.SetLabel(kProgressLabel);
  progress.SetRemainingTime("");
  progress.Begin(total > 0 ? total : 0);
  progress.Show();

  const bool converted = job.inputKind == FileKind::Dxf
                             ? ConvertDxf(job, chain, *input, *output, progress, result)
                             : ConvertList(job, chain, *input, *output, progress, result);
  const bool readFailed = input->HasReadError();
  input.reset();
  // Closing flushes the last buffer: a full disk may only show here.
  const bool closed = output->Close();
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
