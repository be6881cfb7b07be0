#include "ui/TFormProcessBar1.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/ScreenPlacement.h"

namespace transref {

namespace {
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);  // the gauge's control colour

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

TFormProcessBar1::TFormProcessBar1(QWidget* parent) : QWidget(parent) { Build(); }

TFormProcessBar1::TFormProcessBar1(ProgressTracker::Clock clock, QWidget* parent)
    : QWidget(parent), tracker_(std::move(clock)) {
  Build();
}

void TFormProcessBar1::Build() {
  setObjectName(QStringLiteral("FormProcessBar1"));
  // Tool window without title-bar buttons, kept above the other windows.
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Barra de Progesso"));
  resize(kWidth, kHeight);
  setCursor(Qt::WaitCursor);  // children inherit the busy cursor
  KeepInsideScreenWhenShown(this);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  pBase_ = new QFrame(this);
  pBase_->setObjectName(QStringLiteral("PBase"));
  pBase_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(pBase_);

  auto* column = new QVBoxLayout(pBase_);
  column->setContentsMargins(8, 6, 8, 6);
  auto* labels = new QHBoxLayout;
  QFont bold = font();
  bold.setBold(true);
  lProgress_ = new QLabel(QStringLiteral("Processo1:"), pBase_);
  lProgress_->setObjectName(QStringLiteral("LProgress"));
  lProgress_->setFont(bold);
  lRestTime_ = new QLabel(QStringLiteral("Tempo restante: 000h 00m 00s"), pBase_);
  lRestTime_->setObjectName(QStringLiteral("LRestTime"));
  lRestTime_->setFont(bold);
  lRestTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  labels->addWidget(lProgress_);
  labels->addStretch(1);
  labels->addWidget(lRestTime_);
  column->addLayout(labels);

  pProgressBar1_ = new QFrame(pBase_);
  pProgressBar1_->setObjectName(QStringLiteral("PProgressBar1"));
  pProgressBar1_->setFrameShape(QFrame::NoFrame);
  auto* gaugeFrame = new QVBoxLayout(pProgressBar1_);
  gaugeFrame->setContentsMargins(4, 4, 4, 4);  // border width 4
  progressBar_ = new QProgressBar(pProgressBar1_);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setOrientation(Qt::Horizontal);
  progressBar_->setRange(0, 100);  // the gauge shows whole percentages
  progressBar_->setValue(0);
  progressBar_->setFormat(QStringLiteral("%p%"));
  progressBar_->setTextVisible(true);
  progressBar_->setAlignment(Qt::AlignCenter);
  progressBar_->setFont(bold);
  progressBar_->setAccessibleName(QStringLiteral("Progresso"));
  QPalette gauge = progressBar_->palette();
  gauge.setColor(QPalette::Button, kSkyBlue);
  gauge.setColor(QPalette::Highlight, gauge.color(QPalette::ButtonText));  // filled part
  gauge.setColor(QPalette::Base, gauge.color(QPalette::Window));          // empty part
  progressBar_->setPalette(gauge);
  gaugeFrame->addWidget(progressBar_);
  column->addWidget(pProgressBar1_);
}

void TFormProcessBar1::SetStage(std::string_view caption) { setWindowTitle(FromUtf8(caption)); }

void TFormProcessBar1::SetLabel(std::string_view text) { lProgress_->setText(FromUtf8(text)); }

void TFormProcessBar1::SetRemainingTime(std::string_view text) { lRestTime_->setText(FromUtf8(text)); }

void TFormProcessBar1::Begin(std::int64_t totalBytes) {
  tracker_.Begin(totalBytes);
  progressBar_->setValue(tracker_.Percent());
  repaints_ = 0;
}

void TFormProcessBar1::Show() {
  CentreOnScreen(this);
  show();
  raise();
  Refresh();
}

void TFormProcessBar1::Step(std::int64_t positionBytes) {
  // Only a change of the whole percentage is worth a trip to the screen.
  if (!tracker_.Step(positionBytes)) return;
  progressBar_->setValue(tracker_.Percent());
  lRestTime_->setText(QString::fromStdString(tracker_.RemainingTimeText()));
  Refresh();
}

void TFormProcessBar1::End() {
  tracker_.End();
  hide();
}

void TFormProcessBar1::Refresh() {
  // The run is synchronous: paint now, but let no user input through.
  ++repaints_;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace transref
