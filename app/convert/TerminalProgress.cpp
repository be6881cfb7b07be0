#include "TerminalProgress.h"

#include <string>
#include <utility>

namespace transref::convert {
namespace {

// Back to the start of the line, then erase to its end (ANSI "EL").
constexpr std::string_view kReturnAndErase = "\r\x1b[K";

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& terminal) : terminal_(terminal) {}

TerminalProgress::TerminalProgress(std::ostream& terminal, ProgressTracker::Clock clock)
    : terminal_(terminal), tracker_(std::move(clock)) {}

void TerminalProgress::SetStage(std::string_view caption) {
  stage_ = caption;
  if (shown_) Draw();
}

// The label ("Convertendo Arquivo") stands in until the first stage is set.
void TerminalProgress::SetLabel(std::string_view text) {
  label_ = text;
  if (shown_) Draw();
}

void TerminalProgress::SetRemainingTime(std::string_view text) { remainingFromDriver_ = text; }

void TerminalProgress::Begin(std::int64_t totalBytes) { tracker_.Begin(totalBytes); }

void TerminalProgress::Show() {
  shown_ = true;
  Draw();
}

void TerminalProgress::Step(std::int64_t positionBytes) {
  if (tracker_.Step(positionBytes) && shown_) Draw();
}

void TerminalProgress::End() {
  tracker_.End();
  if (shown_) terminal_ << kReturnAndErase << std::flush;
  shown_ = false;
}

std::string TerminalProgress::Line() const {
  const int percent = tracker_.Percent();
  const int filled = percent * kGaugeWidth / 100;
  std::string line = stage_.empty() ? label_ : stage_;
  line += " [";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kGaugeWidth - filled), '-');
  line += "] ";
  if (percent < 100) line += ' ';
  if (percent < 10) line += ' ';
  line += std::to_string(percent);
  line += '%';
  std::string remaining = tracker_.RemainingTimeText();
  if (remaining.empty()) remaining = remainingFromDriver_;
  if (!remaining.empty()) line += ' ' + remaining;
  return line;
}

void TerminalProgress::Draw() { terminal_ << kReturnAndErase << Line() << std::flush; }

}  // namespace transref::convert
