#include "ui/TFormSetup07.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/ClickPanel.h"
#include "ui/MainWindowLink.h"

namespace transref {

namespace {

// Checks the radio button captioned `caption` inside `group` (its own signals
// blocked: the caller runs the group's handler once itself).
bool CheckRadioEntry(QWidget* group, const QString& caption) {
  if (!group) return false;
  for (QRadioButton* button : group->findChildren<QRadioButton*>()) {
    if (button->text().remove(QLatin1Char('&')) != caption) continue;
    const QSignalBlocker quiet(button);
    button->setChecked(true);
    return true;
  }
  return false;
}

// A file panel: a flat button showing a path. It takes the width its column
// gives it, whatever the path (a long one must not widen the question column
// and squeeze the summary), and draws a path wider than itself with the file
// name whole and the middle of the folder part left out.
class PathButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

  QSize sizeHint() const override { return Narrowed(QPushButton::sizeHint()); }
  QSize minimumSizeHint() const override { return Narrowed(QPushButton::minimumSizeHint()); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int room = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
    option.text = ElidePathKeepingName(text(), fontMetrics(), room - 2 * kTextPadding);
    painter.drawControl(QStyle::CE_PushButton, option);
  }

 private:
  static constexpr int kTextPadding = 4;
  QSize Narrowed(QSize size) const {
    size.setWidth(std::min(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("W…W/W")) + 4 * kTextPadding));
    return size;
  }
};

void CheckBox(QAbstractButton* box) {
  if (!box) return;
  const QSignalBlocker quiet(box);
  box->setChecked(true);
}

}  // namespace

TFormSetup07::TFormSetup07(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupPage(QStringLiteral("FormSetup07"), mainWindow, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"),
              QStringLiteral("Resumo das opções de Transformação de Coordenadas que serão executadas"));

  GBFiles = new QGroupBox(QStringLiteral(" Arquivos: "), this);
  GBFiles->setObjectName(QStringLiteral("GBFiles"));
  new QVBoxLayout(GBFiles);
  EditFileNameIn = AddFilePanel(GBFiles, QStringLiteral("EditFileNameIn"), QStringLiteral("Nome do Arquivo de Entrada: "));
  EditFileNameOut = AddFilePanel(GBFiles, QStringLiteral("EditFileNameOut"), QStringLiteral("Nome do Arquivo de Saída: "));
  QuestionArea()->addWidget(GBFiles);
  QuestionArea()->addStretch(1);

  BBForward->hide();
  BBProcess = new QPushButton(QStringLiteral("Executar"), this);
  BBProcess->setObjectName(QStringLiteral("BBProcess"));
  BBProcess->setAutoDefault(false);
  BBProcess->setMinimumWidth(120);
  BBProcess->setEnabled(false);
  BBProcess->setToolTip(QStringLiteral("Executa a transformação (disponível depois de escolhidos os dois arquivos)"));
  ButtonBar()->insertWidget(ButtonBar()->indexOf(BBForward), BBProcess);

  connect(EditFileNameIn, &QPushButton::clicked, this, &TFormSetup07::EditFileNameInClick);
  connect(EditFileNameOut, &QPushButton::clicked, this, &TFormSetup07::EditFileNameOutClick);
  connect(BBProcess, &QPushButton::clicked, this, &TFormSetup07::BBProcessClick);
  setTabOrder(EditFileNameIn, EditFileNameOut);
  setTabOrder(EditFileNameOut, BBBackward);
  setTabOrder(BBBackward, BBProcess);
  setTabOrder(BBProcess, BBClose);
}

// A file panel is a flat button: clickable with the mouse and reachable and
// pressable with the keyboard; its text is the chosen file.
QPushButton* TFormSetup07::AddFilePanel(QGroupBox* group, const QString& name, const QString& caption) {
  auto* label = new QLabel(caption, group);
  auto* panel = new PathButton(group);
  panel->setObjectName(name);
  panel->setAutoDefault(false);
  panel->setStyleSheet(QStringLiteral("text-align: left; padding: 4px;"));
  panel->setAccessibleName(caption.trimmed().remove(QLatin1Char(':')));
  label->setBuddy(panel);
  group->layout()->addWidget(label);
  group->layout()->addWidget(panel);
  return panel;
}

void TFormSetup07::FormShow() {
  BBProcess->setEnabled(mainWindow_.ProcessEnabled());
  EditFileNameIn->setText(mainWindow_.FilePanelText(WizardSide::Input));
  EditFileNameOut->setText(mainWindow_.FilePanelText(WizardSide::Output));
  EditFileNameIn->setToolTip(EditFileNameIn->text());
  EditFileNameOut->setToolTip(EditFileNameOut->text());
}

void TFormSetup07::EditFileNameInClick() {
  mainWindow_.PickFile(WizardSide::Input);
  FormShow();
}

void TFormSetup07::EditFileNameOutClick() {
  mainWindow_.PickFile(WizardSide::Output);
  FormShow();
}

// The wizard's conversions take orthometric input heights and carry them to
// the output: the altimetry dialog is set so and its OK steps are run without
// showing it, which stores the settings in the main window.
void TFormSetup07::SetHeightsForWizard() {
  if (!altimetry_) return;
  if (CheckRadioEntry(FindNamed<QWidget>(altimetry_.data(), QStringLiteral("RGHeightIn")),
                      QStringLiteral("Ortométricas"))) {
    QMetaObject::invokeMethod(altimetry_.data(), "RGHeightInClick", Qt::DirectConnection);
  }
  CheckBox(FindNamed<QAbstractButton>(altimetry_.data(), QStringLiteral("CBImportHeight")));
  QMetaObject::invokeMethod(altimetry_.data(), "CBImportHeightClick", Qt::DirectConnection);
  QMetaObject::invokeMethod(altimetry_.data(), "BBOkClick", Qt::DirectConnection);
}

void TFormSetup07::BBProcessClick() {
  if (!mainWindow_.ProcessEnabled()) {
    FormShow();
    return;
  }
  SetHeightsForWizard();
  mainWindow_.Process();
  FormShow();
}

}  // namespace transref
