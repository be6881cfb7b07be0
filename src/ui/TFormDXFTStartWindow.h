#pragma once
// The start window and the application's main form: closing it ends the
// program. It shows the logo, an illustration and the names of the
// organisations for about one second, then hands over to the main working
// window and the introduction window and stays hidden.

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;
class QTimer;

namespace transref {

class TFormDXFTStartWindow final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 884;
  static constexpr int kHeight = 667;
  static constexpr int kPictureSize = 354;
  static constexpr int kTimerPeriodMs = 1000;

  explicit TFormDXFTStartWindow(QWidget* parent = nullptr);

  // The two windows the hand-over shows.
  void SetHandOverWindows(QWidget* mainWindow, QWidget* introduction);

  QProgressBar* ProgressBar() const { return ProgressBar_; }
  QTimer* Timer() const { return Timer_; }
  QLabel* Image2() const { return Image2_; }
  int ProgressMinimum() const { return progressMinimum_; }
  int ProgressMaximum() const { return progressMaximum_; }

 signals:
  // The main form was closed: the program ends.
  void Closed();

 public slots:
  void TimerTimer();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QFrame* Panel1;
  QLabel* ImageLogoOBRU;
  QLabel* Image1;
  QLabel* Image2_;
  QLabel* LabelTitle;
  QProgressBar* ProgressBar_;
  QTimer* Timer_;
  int progressMinimum_ = 0;
  int progressMaximum_ = 6;
  int progressStep_ = 1;
  QPointer<QWidget> mainWindow_;
  QPointer<QWidget> introduction_;
};

}  // namespace transref
