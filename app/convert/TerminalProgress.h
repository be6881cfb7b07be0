// A progress bar on a terminal line: the stage, a gauge, the whole
// percentage and the remaining time, redrawn in place with a carriage return
// only when the percentage changes.
#pragma once

#include <ostream>
#include <string>

#include "conversion/Progress.h"

namespace transref::convert {

class TerminalProgress final : public ProgressSink {
 public:
  explicit TerminalProgress(std::ostream& terminal);
  TerminalProgress(std::ostream& terminal, ProgressTracker::Clock clock);

  void SetStage(std::string_view caption) override;
  void SetLabel(std::string_view text) override;
  void SetRemainingTime(std::string_view text) override;
  void Begin(std::int64_t totalBytes) override;
  void Show() override;
  void Step(std::int64_t positionBytes) override;
  void End() override;

  // The text of the bar line as it is drawn now (without the carriage
  // return and the erase sequence), for example
  // "Processando transformação [############------------------]  40% Tempo restante: 000h 00m 03s".
  std::string Line() const;

  static constexpr int kGaugeWidth = 30;

 private:
  void Draw();

  std::ostream& terminal_;
  ProgressTracker tracker_;
  std::string stage_;
  std::string label_;
  std::string remainingFromDriver_;
  bool shown_ = false;
};

}  // namespace transref::convert
