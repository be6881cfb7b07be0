#include "ui/TFormSetupChoicePages.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/MainWindowLink.h"
#include "ui/TFormSetupSystemPages.h"
#include "ui/TFormSetup07.h"

namespace transref {

namespace {

const QString kVectorFile = QStringLiteral("Arquivo vetorial");
const QString kTextFile = QStringLiteral("Arquivo texto");
const QString kTwoDimensional = QStringLiteral("Bidimensional (Coordenadas Planas)");
const QString kThreeDimensional = QStringLiteral("Tridimensional (Coordenadas Planialtimétricas)");
const QString kInputQuestion = QStringLiteral("Escolha uma das seguintes opções para o arquivo de ENTRADA:");
const QString kOutputQuestion = QStringLiteral("Escolha uma das seguintes opções para o arquivo de SAÍDA:");
const QString kListQuestion = QStringLiteral("A lista de coordenadas é:");

// Summary line of a file kind: first option a drawing, second a list.
QString FileKindLine(int answer) {
  return answer == 0 ? QStringLiteral("    DXF - Drawing Exchange Format")
                     : QStringLiteral("    Lista de Coordenadas (TXT ou DAT)");
}

QString DimensionLine(int answer) {
  return answer == 0 ? QStringLiteral("    Bidimensionais") : QStringLiteral("    Tridimensionais");
}

// Positions of the two list kinds in the file-kind lists of the main window
// (the first two entries; their texts change with the system, their places
// do not).
constexpr int kThreeDimensionalKind = 0;
constexpr int kTwoDimensionalKind = 1;

int ListKind(int dimensionAnswer) { return dimensionAnswer == 0 ? kTwoDimensionalKind : kThreeDimensionalKind; }

}  // namespace

bool WizardPages::InputIsText() const { return page01 && page01->IsText(); }
bool WizardPages::InputIsTwoDimensional() const { return InputIsText() && page02 && page02->IsTwoDimensional(); }
bool WizardPages::OutputIsText() const { return page04 && page04->IsText(); }
bool WizardPages::OutputIsTwoDimensional() const {
  return OutputIsText() && page05 && page05->IsTwoDimensional();
}

TFormSetupChoicePage::TFormSetupChoicePage(const QString& name, MainWindowLink& mainWindow, const QString& option1,
                                           const QString& option2, QWidget* parent)
    : TFormSetupPage(name, mainWindow, parent) {
  RBOption1 = new QRadioButton(option1, this);
  RBOption1->setObjectName(QStringLiteral("RBOption1"));
  RBOption2 = new QRadioButton(option2, this);
  RBOption2->setObjectName(QStringLiteral("RBOption2"));
  options_ = new QButtonGroup(this);
  options_->addButton(RBOption1, 0);
  options_->addButton(RBOption2, 1);
  connect(RBOption1, &QRadioButton::clicked, this, &TFormSetupChoicePage::RBOption1Click);
  connect(RBOption2, &QRadioButton::clicked, this, &TFormSetupChoicePage::RBOption1Click);
}

void TFormSetupChoicePage::AddOptions() {
  QuestionArea()->addSpacing(12);
  QuestionArea()->addWidget(RBOption1);
  QuestionArea()->addWidget(RBOption2);
  QuestionArea()->addStretch(1);
  setTabOrder(RBOption1, RBOption2);
}

int TFormSetupChoicePage::Answer() const { return options_->checkedId(); }

void TFormSetupChoicePage::SelectOption(int option) {
  QRadioButton* button = option == 0 ? RBOption1 : RBOption2;
  button->setChecked(true);
  RBOption1Click();
}

void TFormSetupChoicePage::RefreshSummary() {
  WriteSummary(Answer() < 0 ? QStringList() : SummaryAdditions());
}

void TFormSetupChoicePage::RBOption1Click() {
  if (Answer() < 0) return;
  BBForward->setEnabled(true);
  RefreshSummary();
  WriteMainWindow();
}

// ---- Page 1 ---------------------------------------------------------------

TFormSetup01::TFormSetup01(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupChoicePage(QStringLiteral("FormSetup01"), mainWindow, kVectorFile, kTextFile, parent) {
  // The double blank before ENTRADA is the program's own wording.
  AddQuestion(QStringLiteral("LabelQuestion"),
              QStringLiteral("Escolha uma das seguintes opções para o arquivo de  ENTRADA:"));
  AddOptions();
  StartSummary();
}

QStringList TFormSetup01::SummaryAdditions() const {
  return {QStringLiteral("Dados do Arquivo de Entrada:"), QString(), QStringLiteral("  Tipo de Arquivo:"),
          FileKindLine(Answer())};
}

void TFormSetup01::WriteMainWindow() {
  if (Answer() == 0) {
    mainWindow_.SelectDxfKind(WizardSide::Input);
  } else {
    mainWindow_.SelectFileKind(WizardSide::Input, kThreeDimensionalKind);
  }
}

void TFormSetup01::BBForwardClick() {
  if (Answer() < 0 || !pages_) return;
  RBOption1Click();
  if (Answer() == 0) {
    HandOverTo(pages_->page03B);
  } else {
    HandOverTo(pages_->page02);
  }
}

// The first page has nothing to go back to: its frame ends the program.
void TFormSetup01::FormClose() { CloseMainForm(); }

// ---- Page 2 ---------------------------------------------------------------

TFormSetup02::TFormSetup02(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupChoicePage(QStringLiteral("FormSetup02"), mainWindow, kTwoDimensional, kThreeDimensional, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"), kInputQuestion);
  AddQuestion(QStringLiteral("LabelList"), kListQuestion);
  AddOptions();
}

QStringList TFormSetup02::SummaryAdditions() const { return {DimensionLine(Answer())}; }

void TFormSetup02::WriteMainWindow() { mainWindow_.SelectFileKind(WizardSide::Input, ListKind(Answer())); }

void TFormSetup02::FormShow() { RefreshSummary(); }

void TFormSetup02::BBForwardClick() {
  if (Answer() < 0 || !pages_) return;
  RBOption1Click();
  HandOverTo(pages_->page03B);
}

// ---- Page 4 ---------------------------------------------------------------

TFormSetup04::TFormSetup04(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupChoicePage(QStringLiteral("FormSetup04"), mainWindow, kVectorFile, kTextFile, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"), kOutputQuestion);
  AddOptions();
}

QStringList TFormSetup04::SummaryAdditions() const {
  return {QString(), QStringLiteral("Dados do Arquivo de Saída:"), QString(), QStringLiteral("  Tipo de Arquivo:"),
          FileKindLine(Answer())};
}

void TFormSetup04::WriteMainWindow() {
  if (Answer() == 0) {
    mainWindow_.SelectDxfKind(WizardSide::Output);
  } else {
    mainWindow_.SelectFileKind(WizardSide::Output, kThreeDimensionalKind);
  }
}

// A list cannot become a drawing: after a text input only "Arquivo texto"
// is offered, and it is chosen.
void TFormSetup04::FormShow() {
  const bool textInput = pages_ && pages_->InputIsText();
  RBOption1->setEnabled(!textInput);
  if (textInput) {
    SelectOption(1);
  } else {
    RefreshSummary();
  }
}

void TFormSetup04::BBForwardClick() {
  if (Answer() < 0 || !pages_) return;
  RBOption1Click();
  if (Answer() == 0) {
    HandOverTo(pages_->page06);
  } else {
    HandOverTo(pages_->page05);
  }
}

// ---- Page 5 ---------------------------------------------------------------

TFormSetup05::TFormSetup05(MainWindowLink& mainWindow, QWidget* parent)
    : TFormSetupChoicePage(QStringLiteral("FormSetup05"), mainWindow, kTwoDimensional, kThreeDimensional, parent) {
  AddQuestion(QStringLiteral("LabelQuestion"), kOutputQuestion);
  AddQuestion(QStringLiteral("LabelList"), kListQuestion);
  AddOptions();
}

QStringList TFormSetup05::SummaryAdditions() const { return {DimensionLine(Answer())}; }

void TFormSetup05::WriteMainWindow() { mainWindow_.SelectFileKind(WizardSide::Output, ListKind(Answer())); }

// A two-dimensional input has no heights to give: only "Bidimensional" is
// offered for the output, and it is chosen.
void TFormSetup05::FormShow() {
  const bool flatInput = pages_ && pages_->InputIsTwoDimensional();
  RBOption2->setEnabled(!flatInput);
  if (flatInput) {
    SelectOption(0);
  } else {
    RefreshSummary();
  }
}

void TFormSetup05::BBForwardClick() {
  if (Answer() < 0 || !pages_) return;
  RBOption1Click();
  HandOverTo(pages_->page06);
}

}  // namespace transref
