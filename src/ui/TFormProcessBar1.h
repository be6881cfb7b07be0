#pragma once
// The progress window: a small always-on-top tool window that shows the stage
// of a run (its caption), what is being done (LProgress), the remaining-time
// estimate (LRestTime) and a gauge with the whole percentage of the input
// consumed. It is the desktop program's ProgressSink.

#include <QWidget>

#include "conversion/Progress.h"

class QLabel;
class QProgressBar;
class QFrame;

namespace transref {

class TFormProcessBar1 : public QWidget, public ProgressSink {
  Q_OBJECT

 public:
  static constexpr int kWidth = 437;
  static constexpr int kHeight = 87;

  explicit TFormProcessBar1(QWidget* parent = nullptr);
  // For tests: the tracker's clock (seconds, monotonic).
  TFormProcessBar1(ProgressTracker::Clock clock, QWidget* parent = nullptr);

  // ProgressSink
  void SetStage(std::string_view caption) override;
  void SetLabel(std::string_view text) override;
  void SetRemainingTime(std::string_view text) override;
  void Begin(std::int64_t totalBytes) override;
  void Show() override;
  void Step(std::int64_t positionBytes) override;
  void End() override;

  QLabel* LProgress() const { return lProgress_; }
  QLabel* LRestTime() const { return lRestTime_; }
  QProgressBar* ProgressBar() const { return progressBar_; }
  const ProgressTracker& Tracker() const { return tracker_; }
  // How often the window was brought up to date on screen during this run.
  int RepaintCount() const { return repaints_; }

 private:
  void Build();
  void Refresh();

  ProgressTracker tracker_;
  QFrame* pBase_ = nullptr;
  QLabel* lProgress_ = nullptr;
  QLabel* lRestTime_ = nullptr;
  QFrame* pProgressBar1_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  int repaints_ = 0;
};

}  // namespace transref
