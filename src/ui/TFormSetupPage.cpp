#include "ui/TFormSetupPage.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/MainWindowLink.h"

namespace transref {

QFont SummaryFont() {
  QFont font(QStringLiteral("Courier New"), 10);
  // Courier New is rarely installed outside Windows: ask for any typewriter
  // face next, so the summary keeps its fixed pitch.
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Nimbus Mono PS")});
  font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
  font.setFixedPitch(true);
  return font;
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
}

TFormSetupPage::TFormSetupPage(const QString& name, MainWindowLink& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setObjectName(name);
  setWindowTitle(kProgramCaption);
  setFixedSize(kWizardPageWidth, kWizardPageHeight);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  auto* root = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  root->addLayout(columns, 1);

  auto* question = new QFrame(this);
  question->setObjectName(QStringLiteral("PQuestion"));
  questionArea_ = new QVBoxLayout(question);
  questionArea_->setContentsMargins(24, 24, 24, 24);
  questionArea_->setSpacing(14);
  columns->addWidget(question, 1);

  auto* summaryColumn = new QVBoxLayout;
  LabelSummary = new QLabel(QStringLiteral("Resumo:"), this);
  LabelSummary->setObjectName(QStringLiteral("LabelSummary"));
  QFont heading = LabelSummary->font();
  heading.setBold(true);
  LabelSummary->setFont(heading);
  RESummary = new QTextEdit(this);
  RESummary->setObjectName(QStringLiteral("RESummary"));
  RESummary->setReadOnly(true);
  RESummary->setTabChangesFocus(true);
  RESummary->setLineWrapMode(QTextEdit::NoWrap);
  RESummary->setAccessibleName(QStringLiteral("Resumo"));
  LabelSummary->setBuddy(RESummary);
  summaryColumn->addWidget(LabelSummary);
  summaryColumn->addWidget(RESummary, 1);
  columns->addLayout(summaryColumn, 1);

  auto* bar = new QFrame(this);
  bar->setObjectName(QStringLiteral("PButtons"));
  bar->setFrameShape(QFrame::StyledPanel);
  buttonBar_ = new QHBoxLayout(bar);
  buttonBar_->addStretch(1);
  BBBackward = new QPushButton(QStringLiteral("<< Retornar"), bar);
  BBBackward->setObjectName(QStringLiteral("BBBackward"));
  BBBackward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  BBBackward->setToolTip(QStringLiteral("Voltar à página anterior (Alt+Seta para a esquerda)"));
  BBForward = new QPushButton(QStringLiteral("Avançar >>"), bar);
  BBForward->setObjectName(QStringLiteral("BBForward"));
  BBForward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  BBForward->setToolTip(QStringLiteral("Seguir para a próxima página (Enter ou Alt+Seta para a direita)"));
  BBForward->setEnabled(false);
  BBClose = new QPushButton(QStringLiteral("&Fechar"), bar);
  BBClose->setObjectName(QStringLiteral("BBClose"));
  BBClose->setAccessibleName(QStringLiteral("Fechar"));
  for (QPushButton* button : {BBBackward, BBForward, BBClose}) {
    button->setAutoDefault(false);
    button->setMinimumWidth(120);
    buttonBar_->addWidget(button);
  }
  root->addWidget(bar);

  connect(BBBackward, &QPushButton::clicked, this, &TFormSetupPage::BBBackwardClick);
  connect(BBForward, &QPushButton::clicked, this, &TFormSetupPage::BBForwardClick);
  connect(BBClose, &QPushButton::clicked, this, &TFormSetupPage::BBCloseClick);
  CentreOnScreen(this);
}

QLabel* TFormSetupPage::AddQuestion(const QString& name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setWordWrap(true);
  QFont font = label->font();
  font.setPointSize(font.pointSize() + 2);
  font.setBold(true);
  label->setFont(font);
  questionArea_->addWidget(label);
  return label;
}

void TFormSetupPage::SetBackLink(QWidget* page, QTextEdit* summary) {
  backPage_ = page;
  backSummary_ = summary;
}

void TFormSetupPage::BBBackwardClick() {
  if (backPage_) backPage_->show();
  hide();
}

void TFormSetupPage::CloseMainForm() {
  if (mainForm_) mainForm_->close();
}

void TFormSetupPage::BBCloseClick() { CloseMainForm(); }

void TFormSetupPage::FormClose() { BBBackwardClick(); }

void TFormSetupPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormSetupPage::closeEvent(QCloseEvent* event) {
  // The frame's close never destroys a page: every page lives as long as the
  // program. FormClose decides where the user goes instead.
  event->ignore();
  FormClose();
}

void TFormSetupPage::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier && BBForward->isVisible() && BBForward->isEnabled()) {
    BBForward->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TFormSetupPage::HandOverTo(TFormSetupPage* next) {
  next->RESummary->clear();
  next->RESummary->setFont(RESummary->font());
  next->handedOver_ = RESummary->toPlainText().split(QLatin1Char('\n'));
  next->RESummary->setPlainText(RESummary->toPlainText());
  next->SetBackLink(this, RESummary);
  next->show();
  hide();
}

void TFormSetupPage::WriteSummary(const QStringList& additions) {
  RESummary->setPlainText((handedOver_ + additions).join(QLatin1Char('\n')));
}

void TFormSetupPage::StartSummary() {
  handedOver_.clear();
  RESummary->clear();
  RESummary->setFont(SummaryFont());
}

}  // namespace transref
