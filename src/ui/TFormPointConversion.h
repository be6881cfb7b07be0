#pragma once
// "Converter um ponto…": one point typed by hand, carried with the main
// window's current choices (shown read-only at the top) and shown as the
// list writer writes it, updated at every keystroke.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "conversion/ConversionJob.h"
#include "conversion/SinglePoint.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace transref {

class TFormPointConversion : public QDialog {
  Q_OBJECT

 public:
  // Gives the main window's choices as a job, or nothing when they do not
  // form one.
  using JobSource = std::function<std::optional<ConversionJob>()>;

  // The choices are read from `source` when the window is shown, when it
  // becomes active again and on Refresh().
  explicit TFormPointConversion(JobSource source, QWidget* parent = nullptr);
  // A fixed job.
  explicit TFormPointConversion(const ConversionJob& job, QWidget* parent = nullptr);
  ~TFormPointConversion() override;

  QLineEdit* EditPointC(int k) const { return editIn_[k]; }     // EditPointC1..3 (k = 0..2)
  QLineEdit* EditPointOut(int k) const { return editOut_[k]; }  // EditPointOut1..3
  QLineEdit* EditPointOutDms(int k) const { return editDms_[k]; }  // geographic output, k = 0..1
  QLineEdit* EditPointLine() const { return editLine_; }
  QLabel* Reason(int k) const { return reasons_[k]; }
  QLabel* Problem() const { return problem_; }
  QLabel* Choices() const { return choices_; }
  QPushButton* BBPointCopy() const { return bbCopy_; }
  const SinglePointResult& Result() const { return result_; }

 public slots:
  // Reads the choices again (from the source) and converts the typed point.
  void Refresh();
  // Converts the typed point and shows the result or the reasons.
  void Convert();
  // Copies the result line (without its line end) to the clipboard.
  void BBPointCopyClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildLayout();
  void UseJob(const std::optional<ConversionJob>& job);

  JobSource source_;
  std::unique_ptr<SinglePointConverter> converter_;
  SinglePointResult result_;

  QLabel* choices_ = nullptr;
  QGroupBox* gbInput_ = nullptr;
  QGroupBox* gbOutput_ = nullptr;
  std::array<QLabel*, 3> labelsIn_{};
  std::array<QLineEdit*, 3> editIn_{};
  std::array<QLabel*, 3> reasons_{};
  std::array<QLabel*, 3> labelsOut_{};
  std::array<QLineEdit*, 3> editOut_{};
  std::array<QLineEdit*, 2> editDms_{};
  QLineEdit* editLine_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* bbCopy_ = nullptr;
  QPushButton* bbClose_ = nullptr;
};

}  // namespace transref
