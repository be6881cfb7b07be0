#include "ui/TFormDXFTStartWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/ScreenPlacement.h"
#include "ui/StartArt.h"
#include "ui/UiTexts.h"

namespace transref {

namespace {

QLabel* Picture(QWidget* parent, const QString& name, const QPixmap& pixmap, const QString& description) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setFixedSize(TFormDXFTStartWindow::kPictureSize, TFormDXFTStartWindow::kPictureSize);
  picture->setPixmap(pixmap);
  picture->setAlignment(Qt::AlignCenter);
  picture->setAccessibleName(description);
  return picture;
}

}  // namespace

TFormDXFTStartWindow::TFormDXFTStartWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("FormDXFTStartWindow"));
  setWindowTitle(kMainCaption);
  setWindowIcon(ProgramIcon());
  setFixedSize(kWidth, kHeight);
  setWindowOpacity(1.0);  // alpha blending on, at full opacity

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  Panel1->setAutoFillBackground(true);
  QPalette white = Panel1->palette();
  white.setColor(QPalette::Window, Qt::white);
  Panel1->setPalette(white);
  outer->addWidget(Panel1);

  const int picture = kPictureSize;
  ImageLogoOBRU = Picture(Panel1, QStringLiteral("ImageLogoOBRU"), PaintLogo(picture - 20),
                          QStringLiteral("Logotipo da OBRU"));
  Image1 = Picture(Panel1, QStringLiteral("Image1"), PaintFramesIllustration(picture - 20),
                   QStringLiteral("Ilustração: transformação entre referenciais"));
  Image2_ = Picture(Panel1, QStringLiteral("Image2"), PaintReadyIllustration(picture / 2),
                    QStringLiteral("Programa pronto"));
  Image2_->hide();

  LabelTitle = new QLabel(Panel1);
  LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
  LabelTitle->setAlignment(Qt::AlignCenter);
  LabelTitle->setWordWrap(true);
  LabelTitle->setText(QStringLiteral(
      "Organização Brasileira de Referenciais Unificados – OBRU\n"
      "Núcleo de Geodésia e Cartografia\n"
      "Transformação de Parâmetros entre Referenciais Geodésicos"));
  QFont title = LabelTitle->font();
  title.setPixelSize(20);
  title.setBold(true);
  LabelTitle->setFont(title);
  QPalette teal = LabelTitle->palette();
  teal.setColor(QPalette::WindowText, QColor(0, 77, 77));
  LabelTitle->setPalette(teal);

  ProgressBar_ = new QProgressBar(Panel1);
  ProgressBar_->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar_->setTextVisible(false);
  ProgressBar_->setAccessibleName(QStringLiteral("Carregando o programa"));
  ProgressBar_->setMinimum(progressMinimum_);
  ProgressBar_->setMaximum(progressMaximum_);
  ProgressBar_->setValue(progressMinimum_);

  auto* grid = new QGridLayout(Panel1);
  grid->setContentsMargins(40, 30, 40, 30);
  grid->setHorizontalSpacing(56);
  grid->addWidget(ImageLogoOBRU, 0, 0);
  grid->addWidget(Image1, 0, 1);
  grid->addWidget(Image2_, 0, 1);  // over the illustration when shown
  grid->addWidget(ProgressBar_, 1, 0, 1, 2);
  grid->addWidget(LabelTitle, 2, 0, 1, 2);
  grid->setRowStretch(2, 1);

  Timer_ = new QTimer(this);
  Timer_->setObjectName(QStringLiteral("Timer"));
  Timer_->setInterval(kTimerPeriodMs);
  connect(Timer_, &QTimer::timeout, this, &TFormDXFTStartWindow::TimerTimer);
  Timer_->start();

  CentreOnScreen(this);
  KeepInsideScreenWhenShown(this);
}

void TFormDXFTStartWindow::SetHandOverWindows(QWidget* mainWindow, QWidget* introduction) {
  mainWindow_ = mainWindow;
  introduction_ = introduction;
}

// The first tick fills the bar a second step, shows the ready picture and
// hands over to the working windows.
void TFormDXFTStartWindow::TimerTimer() {
  ProgressBar_->setValue(std::min(ProgressBar_->value() + progressStep_, progressMaximum_));
  ProgressBar_->repaint();
  if (ProgressBar_->value() != progressMinimum_ + progressStep_) return;
  ProgressBar_->setValue(ProgressBar_->value() + progressStep_);
  Image2_->show();
  Image2_->repaint();
  hide();
  if (mainWindow_) mainWindow_->show();
  if (introduction_) introduction_->show();
  Timer_->stop();
}

void TFormDXFTStartWindow::closeEvent(QCloseEvent* event) {
  Timer_->stop();
  event->accept();
  emit Closed();
}

}  // namespace transref
