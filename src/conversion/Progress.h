// Progress of a run, measured in bytes of the input file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace transref {

// What the driver reports to (the progress window, the batch converter's
// stderr bar, or nothing). Every call happens on the driver's thread.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetStage(std::string_view caption) = 0;        // window caption
  virtual void SetLabel(std::string_view text) = 0;           // what is being done
  virtual void SetRemainingTime(std::string_view text) = 0;   // cleared at the start of a run
  virtual void Begin(std::int64_t totalBytes) = 0;
  virtual void Show() = 0;
  virtual void Step(std::int64_t positionBytes) = 0;          // after each line read
  virtual void End() = 0;                                      // hidden; may be begun again
};

// A sink that ignores everything.
class NullProgressSink final : public ProgressSink {
 public:
  void SetStage(std::string_view) override {}
  void SetLabel(std::string_view) override {}
  void SetRemainingTime(std::string_view) override {}
  void Begin(std::int64_t) override {}
  void Show() override {}
  void Step(std::int64_t) override {}
  void End() override {}
};

// The gauge's arithmetic, shared by every sink that draws one: whole
// percentage = position * 100 / total rounded down (0 when total is 0), the
// position clamped to 0..total, and a redraw only when the whole percentage
// changes. It also estimates the remaining time from the elapsed time and the
// bytes consumed since Begin.
class ProgressTracker {
 public:
  using Clock = std::function<double()>;  // seconds, monotonic

  ProgressTracker();                      // uses the steady clock
  explicit ProgressTracker(Clock clock);

  void Begin(std::int64_t total);
  // Moves the gauge; true when the whole percentage changed (redraw).
  bool Step(std::int64_t position);
  void End();

  std::int64_t Total() const { return total_; }
  std::int64_t Position() const { return position_; }
  int Percent() const { return percent_; }
  bool Active() const { return active_; }

  // Seconds left at the current pace; negative when nothing can be said yet.
  double RemainingSeconds() const;
  // "Tempo restante: 000h 00m 00s" for the current estimate, or the empty
  // text while nothing can be said.
  std::string RemainingTimeText() const;

  // "Tempo restante: %03dh %02dm %02ds" of a number of seconds (rounded up
  // to whole seconds, capped at 999h 59m 59s).
  static std::string FormatRemainingTime(double seconds);
  static int PercentOf(std::int64_t position, std::int64_t total);

 private:
  Clock clock_;
  std::int64_t total_ = 0;
  std::int64_t position_ = 0;
  int percent_ = 0;
  bool active_ = false;
  double startSeconds_ = 0.0;
  double lastSeconds_ = 0.0;  // clock reading at the last percentage change
};

}  // namespace transref
