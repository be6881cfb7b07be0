#include "ConvertProgram.h"

#include <filesystem>
#include <system_error>

#include "CommandLine.h"
#include "JobBuilder.h"
#include "TerminalProgress.h"
#include "conversion/Driver.h"

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

}  // namespace

int RunConverter(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const ProgramContext& context) {
  ConversionJob job;
  bool quiet = false;
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
    quiet = command.options.quiet;
    job = BuildConversionJob(command.options, DecimalSeparatorFromEnvironment(context.environment));
    // The engine's own refusals (ellipsoid, scale factor, central meridian,
    // output = input) come before the existence test: a file never replaces itself.
    if (const std::optional<std::string> refusal = CheckJob(job)) {
      err << *refusal << "\n";
      return kExitRunFailed;
    }
    RefuseExistingOutput(command.options);
  } catch (const UsageError& error) {
    return ReportUsageError(err, error.what());
  }

  NullProgressSink silent;
  TerminalProgress bar(err);
  ProgressSink& progress =
      (!quiet && context.stderrIsTerminal) ? static_cast<ProgressSink&>(bar) : silent;
  RunResult result;
  try {
    result = RunConversion(job, progress);
  } catch (const std::exception& error) {
    // Nothing of the engine should escape; if it does, the run has failed.
    err << error.what() << "\n";
    return kExitRunFailed;
  }
  if (!result.Succeeded()) {
    for (const UserMessage& message : result.messages) err << message.text << "\n";
    return kExitRunFailed;
  }
  if (!quiet) out << kSuccessMessage << "\n";
  return kExitSuccess;
}

}  // namespace transref::convert
