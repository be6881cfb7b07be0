#include "ConvertProgram.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "CommandLine.h"
#include "JobBuilder.h"
#include "TerminalProgress.h"
#include "conversion/Driver.h"
#include "conversion/lists/DelimitedList.h"
#include "conversion/lists/InputKind.h"
#include "conversion/model/JobModel.h"
#include "support/TextFile.h"

namespace transref::convert {
namespace {

constexpr std::string_view kProgramName = "transref-convert";

int ReportUsageError(std::ostream& err, const std::string& message) {
  err << kProgramName << ": " << message << "\n"
      << "Use \"" << kProgramName << " --help\" para ver as opções.\n";
  return kExitUsage;
}

// Survey data is not overwritten by accident: an existing output needs --force.
void RefuseExistingOutput(const ConvertOptions& options) {
  std::error_code error;
  if (!options.force && std::filesystem::exists(options.outputPath, error)) {
    throw UsageError("o arquivo de saída \"" + options.outputPath +
                     "\" já existe (use --force para substituí-lo)");
  }
}

// What the input's first lines say it is. A file that cannot be opened
// says nothing here; the run reports it.
std::optional<FileKind> DetectKind(const ConvertOptions& options, TextFile* standardInput) {
  // Standard input may deliver its lines late: its first line decides.
  if (standardInput != nullptr) return DetectInputKind(*standardInput, 1);
  std::unique_ptr<TextFile> file = TextFile::Open(options.inputPath.c_str(), TextFile::Mode::Read);
  if (!file) return std::nullopt;
  return DetectInputKind(*file);
}

}  // namespace

int RunConverter(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const ProgramContext& context) {
  ConvertOptions options;
  try {
    const ParsedCommand command = ParseCommandLine(arguments);
    if (command.action == ParsedCommand::Action::Help) {
      out << UsageText();
      return kExitSuccess;
    }
    if (command.action == ParsedCommand::Action::Version) {
      out << VersionText();
      return kExitSuccess;
    }
    options = command.options;
  } catch (const UsageError& error) {
    return ReportUsageError(err, error.what());
  }

  const bool outputIsStream = options.outputPath == kStandardStream;
  std::unique_ptr<TextFile> standardInput;
  if (options.inputPath == kStandardStream) {
    standardInput = TextFile::FromDescriptor(context.inputDescriptor, TextFile::Mode::Read, false);
  }
  std::unique_ptr<TextFile> standardOutput;
  if (outputIsStream) {
    standardOutput = TextFile::FromDescriptor(context.outputDescriptor, TextFile::Mode::Write, false);
  }
  const RunStreams streams{standardInput.get(), standardOutput.get()};

  ConversionJob job;
  try {
    std::optional<FileKind> detected;
    if (!options.fromKind) {
      detected = DetectKind(options, standardInput.get());
      if (standardInput && !detected) {
        err << kProgramName << ": o início da entrada padrão não pôde ser lido de novo; "
            << "indique o tipo com --from-kind\n";
        return kExitRunFailed;
      }
    }
    job = BuildConversionJob(options, detected);
    // The engine's own refusals (ellipsoid, scale factor, central meridian,
    // output = input) come before the existence test: a file never replaces itself.
    if (const std::optional<std::string> refusal = CheckJob(job, streams)) {
      err << *refusal << "\n";
      return kExitRunFailed;
    }
    if (!outputIsStream) RefuseExistingOutput(options);
  } catch (const UsageError& error) {
    return ReportUsageError(err, error.what());
  }

  // A forgotten --from is seen before the run, not in the numbers after it.
  if (!options.quiet && UsesDefaults(options, job)) err << kProgramName << ": " << JobSummary(job) << "\n";
  if (!options.quiet && !standardInput && job.inputKind == FileKind::Delimited) {
    // The layout as the run will detect it.
    const DelimitedPreview preview = PreviewDelimitedFile(job.inputPath, job.input.system, job.delimited);
    if (preview.layout) err << kProgramName << ": " << LayoutSummary(*preview.layout, job.input.system) << "\n";
  }

  NullProgressSink silent;
  TerminalProgress bar(err);
  // Standard input has no size to measure progress against.
  const bool showBar = !options.quiet && context.stderrIsTerminal && !standardInput;
  ProgressSink& progress = showBar ? static_cast<ProgressSink&>(bar) : silent;
  RunResult result;
  try {
    result = RunConversion(job, progress, streams);
  } catch (const std::exception& error) {
    // Nothing of the engine should escape; if it does, the run has failed.
    err << error.what() << "\n";
    return kExitRunFailed;
  }
  switch (result.status) {
    case RunResult::Status::Success:
      // With the output "-", standard output holds the converted lines only.
      if (!options.quiet) (outputIsStream ? err : out) << kSuccessMessage << "\n";
      // Warnings are never silenced: a point in the wrong place is no detail.
      for (const std::string& warning : result.warnings) err << kProgramName << ": " << warning << "\n";
      return options.strict && !result.warnings.empty() ? kExitWarnings : kExitSuccess;
    case RunResult::Status::OpenFailed:
      for (const UserMessage& message : result.messages) err << kProgramName << ": " << message.text << "\n";
      return kExitRunFailed;
    case RunResult::Status::Failed:
      break;
  }
  for (const UserMessage& message : result.messages) err << message.text << "\n";
  return kExitRunFailed;
}

}  // namespace transref::convert
