#include "ui/TFormSetupSystemPages.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/TFormSetupChoicePages.h"
#include "ui/TFormSetup07.h"

namespace transref {

namespace {

const QString kGrs80 = QStringLiteral("GRS80 (WGS84; SIRGAS)");
const QString kHayford = QStringLiteral("Hayford 1924 (Comissão da Carta Geral)");
const QString kSirgasLine = QStringLiteral("    SIRGAS 2000 (GRS80)");
const QString kCartaGeralLine = QStringLiteral("    Carta Geral (Hayford 1924)");

// The first three options are the grids; a drawing offers only these.
constexpr int kProjectedOptions = 3;

}  // namespace

const QList<WizardSystemOption>& WizardSystemOptions() {
  static const QList<WizardSystemOption> options = {
      {QStringLiteral("TM-ORU e SIRGAS 2000 (GRS80)"), QStringLiteral("LTM (Oru)"), QString(),
       QStringLiteral("    TM-ORU"), kSirgasLine, true, false},
      {QStringLiteral("Gauß-Krüger (ORU)"), QStringLiteral("Gauß-Krüger (Oru)"), QString(),
       QStringLiteral("    Gauß-Krüger (ORU)"), kCartaGeralLine, true, false},
      {QStringLiteral("UTM (SIRGAS 2000 - GRS80)"), QStringLiteral("UTM"), kGrs80,
       QStringLiteral("    UTM (MC: 51°)"), kSirgasLine, true, false},
      {QStringLiteral("Geográficas (Carta Geral - Hayford 1924)"), QStringLiteral("Geográficas"), kHayford,
       QStringLiteral("    Geográficas"), kCartaGeralLine, false, false},
      {QStringLiteral("Geográficas (SIRGAS 2000 - GRS80)"), QStringLiteral("Geográficas"), kGrs80,
       QStringLiteral("    Geográficas"), kSirgasLine, false, false},
      {QStringLiteral("Cartesianas (Carta Geral - Hayford 1924)"), QStringLiteral("Cartesianas"), kHayford,
       QStringLiteral("    Cartesianas"), kCartaGeralLine, false, true},
      {QStringLiteral("Cartesianas (SIRGAS 2000 - GRS80)"), QStringLiteral("Cartesianas"), kGrs80,
       QStringLiteral("    Cartesianas"), kSirgasLine, false, true},
  };
  return options;
}

TFormSetupSystemPage::TFormSetupSystemPage(const QString& name, WizardSide side, MainWindowLink& mainWindow,
                                           QWidget* parent)
    : TFormSetupPage(name, mainWindow, parent), side_(side) {
  RGOptions = new QGroupBox(QStringLiteral(" Sistema de Coordenadas: "), this);
  RGOptions->setObjectName(QStringLiteral("RGOptions"));
  RGOptions->setAccessibleName(QStringLiteral("Sistema de Coordenadas"));
  new QVBoxLayout(RGOptions);
  buttons_ = new QButtonGroup(this);
  connect(buttons_, &QButtonGroup::idClicked, this, &TFormSetupSystemPage::RGOptionsClick);
}

QStringList TFormSetupSystemPage::OfferedTexts() const {
  QStringList texts;
  for (const WizardSystemOption& option : offered_) texts << option.option;
  return texts;
}

void TFormSetupSystemPage::RebuildOptions() {
  for (QAbstractButton* button : buttons_->buttons()) {
    buttons_->removeButton(button);
    delete button;
  }
  offered_ = OfferedOptions();
  QWidget* previous = nullptr;
  for (int position = 0; position < offered_.size(); ++position) {
    auto* button = new QRadioButton(offered_[position].option, RGOptions);
    button->setObjectName(QStringLiteral("RGOptionsItem%1").arg(position));
    RGOptions->layout()->addWidget(button);
    button->show();  // built while the page is being shown: show it now, not later
    buttons_->addButton(button, position);
    if (previous) setTabOrder(previous, button);
    previous = button;
  }
  if (previous) setTabOrder(previous, BBBackward);
}

QStringList TFormSetupSystemPage::SummaryAdditions() const {
  if (chosenIndex_ < 0) return {};
  for (const WizardSystemOption& option : WizardSystemOptions()) {
    if (option.option != chosenText_) continue;
    return {QString(),
            QStringLiteral("  Sistema de coordenadas:"),
            option.summarySystem,
            QString(),
            QStringLiteral("  Referencial Geodésico (Elipsóide):"),
            option.summaryEllipsoid};
  }
  return {};
}

void TFormSetupSystemPage::SelectOption(int position) {
  QAbstractButton* button = buttons_->button(position);
  if (!button) return;
  button->setChecked(true);
  RGOptionsClick();
}

void TFormSetupSystemPage::RGOptionsClick() {
  const int position = buttons_->checkedId();
  if (position < 0 || position >= offered_.size()) return;
  const WizardSystemOption& option = offered_[position];
  chosenIndex_ = position;
  chosenText_ = option.option;
  BBForward->setEnabled(true);
  WriteSummary(SummaryAdditions());
  mainWindow_.SelectSystem(side_, option.system);
  if (!option.ellipsoid.isEmpty()) mainWindow_.SelectEllipsoid(side_, option.ellipsoid);
}

// The remembered position is reselected in the fresh list and its option is
// applied again, so the selection, the summary and the main window agree even
// when the list has changed under the position. A position the fresh list no
// longer has leaves the page unanswered.
void TFormSetupSystemPage::FormShow() {
  RebuildOptions();
  if (chosenIndex_ >= 0 && chosenIndex_ < offered_.size()) {
    SelectOption(chosenIndex_);
  } else {
    BBForward->setEnabled(false);
    WriteSummary({});
  }
}

void TFormSetupSystemPage::ForwardTo(TFormSetupPage* next) {
  if (buttons_->checkedId() < 0 || !next) return;
  RGOptionsClick();
  HandOverTo(next);
}

// ---- Page 3B --------------------------------------------------------------

TFormSetup03B::TFormSetup03B(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupSystemPage(QStringLiteral("FormSetup03B"), WizardSide::Input, mainWindow, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"),
              QStringLiteral("Escolha uma das seguintes opções para o arquivo de ENTRADA:"));
  AddQuestion(QStringLiteral("LabelSystem"),
              QStringLiteral("O Sistema de Projeção e Referencial Geodésico das Coordenadas são:"));
  QuestionArea()->addWidget(OptionsGroup());
  QuestionArea()->addStretch(1);
}

// A drawing holds grid coordinates only. A two-dimensional list has no
// cartesian system in the main window, so the cartesian options are left out
// for it as well.
QList<WizardSystemOption> TFormSetup03B::OfferedOptions() const {
  const bool textInput = pages_ && pages_->InputIsText();
  const bool flatInput = pages_ && pages_->InputIsTwoDimensional();
  QList<WizardSystemOption> offered;
  for (const WizardSystemOption& option : WizardSystemOptions()) {
    if (!option.projected && !textInput) continue;
    if (option.cartesian && flatInput) continue;
    offered << option;
  }
  return offered;
}

void TFormSetup03B::BBForwardClick() {
  if (pages_) ForwardTo(pages_->page04);
}

// ---- Page 6 ---------------------------------------------------------------

TFormSetup06::TFormSetup06(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupSystemPage(QStringLiteral("FormSetup06"), WizardSide::Output, mainWindow, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"),
              QStringLiteral("Escolha uma das seguintes opções para o arquivo de SAÍDA:"));
  QuestionArea()->addWidget(OptionsGroup());
  QuestionArea()->addStretch(1);
}

// The grids other than the input's; a list output adds the geographic and
// cartesian options (even the input's own), except the cartesian ones for a
// two-dimensional list.
QList<WizardSystemOption> TFormSetup06::OfferedOptions() const {
  const QString inputChoice = pages_ && pages_->page03B ? pages_->page03B->ChosenText() : QString();
  const bool textOutput = pages_ && pages_->OutputIsText();
  const bool flatOutput = pages_ && pages_->OutputIsTwoDimensional();
  QList<WizardSystemOption> offered;
  const QList<WizardSystemOption>& all = WizardSystemOptions();
  for (int position = 0; position < all.size(); ++position) {
    const WizardSystemOption& option = all[position];
    if (position < kProjectedOptions) {
      if (option.option != inputChoice) offered << option;
    } else if (textOutput && !(option.cartesian && flatOutput)) {
      offered << option;
    }
  }
  return offered;
}

void TFormSetup06::BBForwardClick() {
  if (pages_) ForwardTo(pages_->page07);
}

}  // namespace transref
