#include "support/ErrorLayer.h"

#include <array>
#include <cstdio>
#include <utility>

namespace ZRTPrimitiveSys {
namespace {

constexpr std::array<const char*, 8> kCategoryTexts = {
    "Erro Lógico",         "Erro de Domínio",  "Argumento Inválido",
    "Erro de Comprimento", "Fora da Dimensão", "Erro de Execução",
    "Erro de Dimensão",    "Erro de Estravasamento",
};

void WriteToStandardError(std::string_view written) {
  std::fwrite(written.data(), 1, written.size(), stderr);
  std::fflush(stderr);
}

// Layer state: single-threaded by design (everything runs on the UI thread).
struct ReportState {
  AcknowledgeHook hook;
  ReportSink sink;
  std::string lastReport;
};

ReportState& State() {
  static ReportState state;
  return state;
}

// Writes "<heading>\n<report>\n" to the sink, remembers the report for the
// acknowledgement and waits for it.
void WriteReportAndPause(const char* heading, std::string report) {
  std::string written;
  written.reserve(report.size() + 16);
  written.append(heading).append("\n").append(report).append("\n");
  ReportState& state = State();
  if (state.sink)
    state.sink(written);
  else
    WriteToStandardError(written);
  state.lastReport = std::move(report);
  PauseForKey();
}

}  // namespace

const char* CategoryText(ErrorCategory category) noexcept {
  const auto code = static_cast<int>(category);
  if (code < 0 || code >= static_cast<int>(kCategoryTexts.size())) return nullptr;
  return kCategoryTexts[static_cast<std::size_t>(code)];
}

std::string ComposeErrorText(const char* label, const char* message,
                             ErrorCategory category) {
  const char* categoryText = CategoryText(category);
  if (categoryText == nullptr) return {};
  // snprintf truncates to the buffer and always terminates it.
  char buffer[kErrorTextBufferSize];
  std::snprintf(buffer, sizeof buffer, "Objeto %s:\n%s: %s",
                label ? label : "", categoryText, message ? message : "");
  return buffer;
}

void RaiseError(const char* label, const char* message, ErrorCategory category) {
  if (CategoryText(category) == nullptr) return;
  throw ZRTException(ComposeErrorText(label, message, category));
}

void ReportError(const std::exception& error) {
  WriteReportAndPause("Erro: ", error.what());
}

void ReportError(const char* objectLabel, const std::exception& error) {
  std::string report = objectLabel ? objectLabel : "";
  report.append(": ").append(error.what());
  WriteReportAndPause("Erro: ", std::move(report));
}

void ReportAllocationFailure(const char* typeName) {
  std::string report = "Memory allocation:\nObject: ";
  report.append(typeName ? typeName : "");
  WriteReportAndPause("Erro Fatal: ", std::move(report));
}

void PauseForKey() {
  ReportState& state = State();
  if (state.hook) state.hook(state.lastReport);
}

AcknowledgeHook SetAcknowledgeHook(AcknowledgeHook hook) {
  return std::exchange(State().hook, std::move(hook));
}

ReportSink SetReportSink(ReportSink sink) {
  return std::exchange(State().sink, std::move(sink));
}

ScopedReportCapture::ScopedReportCapture() {
  previousHook_ = SetAcknowledgeHook(
      [this](const std::string& report) { acknowledged_.push_back(report); });
  previousSink_ = SetReportSink(
      [this](std::string_view written) { written_.emplace_back(written); });
}

ScopedReportCapture::~ScopedReportCapture() {
  SetAcknowledgeHook(std::move(previousHook_));
  SetReportSink(std::move(previousSink_));
}

}  // namespace ZRTPrimitiveSys
