#include "ui/TFormSetupPage.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/MainWindowLink.h"
#include "ui/ScreenPlacement.h"

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

bool IsPlainEnter(const QKeyEvent* key) {
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier;
}

TFormSetupPage::TFormSetupPage(const QString& name, MainWindowLink& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setObjectName(name);
  setWindowTitle(kMainCaption);
  setFixedSize(kWizardPageWidth, kWizardPageHeight);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  // An option that cannot be chosen on this page is still read.
  UseReadableLockedText(this);

  auto* root = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  root->addLayout(columns, 1);

  auto* question = new QFrame(this);
  question->setObjectName(QStringLiteral("PQuestion"));
  questionFrame_ = question;
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
  BBBackward->setToolTip(QStringLiteral("Voltar à página anterior (Alt+Seta para a esquerda)"));
  BBForward = new QPushButton(QStringLiteral("Avançar >>"), bar);
  BBForward->setObjectName(QStringLiteral("BBForward"));
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
  KeepInsideScreenWhenShown(this);
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
  if (event->spontaneous()) return;
  FormShow();
  ArrangeKeyboardOrder();
}

void TFormSetupPage::ArrangeKeyboardOrder() {
  QList<QWidget*> chain;
  for (QWidget* control : questionFrame_->findChildren<QWidget*>()) {
    if (control->focusPolicy() & Qt::TabFocus) chain << control;
  }
  const int questionControls = static_cast<int>(chain.size());
  for (int item = 0; item < buttonBar_->count(); ++item) {
    if (QWidget* button = buttonBar_->itemAt(item)->widget()) chain << button;
  }
  chain << RESummary;
  for (int link = 1; link < chain.size(); ++link) setTabOrder(chain[link - 1], chain[link]);
  for (QWidget* control : chain) control->installEventFilter(this);

  QWidget* first = nullptr;
  for (int item = 0; item < questionControls; ++item) {
    auto* option = qobject_cast<QAbstractButton*>(chain[item]);
    if (option && option->isCheckable() && option->isChecked()) first = option;
  }
  for (int item = 0; item < chain.size() && !first; ++item) {
    if (chain[item]->isEnabled() && chain[item]->isVisibleTo(this)) first = chain[item];
  }
  if (first) first->setFocus(Qt::TabFocusReason);
}

// Keys of the page, whichever control has the focus: Alt+Left goes back,
// Alt+Right and Enter go forward (when the question is answered), and Enter
// on a button presses that button. Without this the options would use the
// arrows to move between themselves and the summary would keep them.
bool TFormSetupPage::HandleNavigationKey(QObject* target, const QKeyEvent* key) {
  const bool enter = IsPlainEnter(key);
  if (enter) {
    if (auto* pressed = qobject_cast<QPushButton*>(target)) {
      if (pressed->isEnabled()) pressed->click();
      return true;
    }
  }
  QPushButton* button = nullptr;
  if (key->modifiers() == Qt::AltModifier && key->key() == Qt::Key_Left) button = BBBackward;
  if (key->modifiers() == Qt::AltModifier && key->key() == Qt::Key_Right) button = BBForward;
  if (enter) button = BBForward;
  if (!button || !button->isVisible()) return false;
  if (button->isEnabled()) button->click();
  return true;
}

bool TFormSetupPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleNavigationKey(watched, static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

void TFormSetupPage::closeEvent(QCloseEvent* event) {
  // The frame's close never destroys a page: every page lives as long as the
  // program. FormClose decides where the user goes instead.
  event->ignore();
  FormClose();
}

void TFormSetupPage::keyPressEvent(QKeyEvent* event) {
  if (!HandleNavigationKey(this, event)) QWidget::keyPressEvent(event);
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
