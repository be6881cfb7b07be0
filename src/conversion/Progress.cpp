#include "conversion/Progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

namespace transref {
namespace {

constexpr double kMaxDisplayedSeconds = 999.0 * 3600.0 + 59.0 * 60.0 + 59.0;  // "999h 59m 59s"

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ProgressTracker::ProgressTracker() : ProgressTracker(Clock(SteadySeconds)) {}

ProgressTracker::ProgressTracker(Clock clock) : clock_(std::move(clock)) {}

int ProgressTracker::PercentOf(std::int64_t position, std::int64_t total) {
  if (total <= 0) return 0;
  position = std::clamp<std::int64_t>(position, 0, total);
  // position * 100 cannot overflow for any file size below 92 petabytes.
  return static_cast<int>(position * 100 / total);
}

void ProgressTracker::Begin(std::int64_t total) {
  total_ = std::max<std::int64_t>(total, 0);
  position_ = 0;
  percent_ = 0;
  active_ = true;
  startSeconds_ = lastSeconds_ = clock_();
}

bool ProgressTracker::Step(std::int64_t position) {
  position_ = total_ > 0 ? std::clamp<std::int64_t>(position, 0, total_) : 0;
  const int percent = PercentOf(position_, total_);
  if (percent == percent_) return false;
  percent_ = percent;
  // The clock is read only when the gauge is redrawn, not once per line.
  lastSeconds_ = clock_();
  return true;
}

void ProgressTracker::End() { active_ = false; }

double ProgressTracker::RemainingSeconds() const {
  if (!active_ || total_ <= 0 || position_ <= 0) return -1.0;
  const double elapsed = lastSeconds_ - startSeconds_;
  if (elapsed <= 0.0) return -1.0;
  // Constant pace: the bytes still to read take as long per byte as those read.
  const double bytesLeft = static_cast<double>(total_ - position_);
  return elapsed * bytesLeft / static_cast<double>(position_);
}

std::string ProgressTracker::RemainingTimeText() const {
  const double seconds = RemainingSeconds();
  return seconds < 0.0 ? std::string() : FormatRemainingTime(seconds);
}

std::string ProgressTracker::FormatRemainingTime(double seconds) {
  if (!(seconds >= 0.0)) seconds = 0.0;
  seconds = std::min(std::ceil(seconds), kMaxDisplayedSeconds);
  const long whole = static_cast<long>(seconds);
  char text[48];
  std::snprintf(text, sizeof text, "Tempo restante: %03ldh %02ldm %02lds", whole / 3600, whole / 60 % 60,
                whole % 60);
  return text;
}

}  // namespace transref
