// The altimetry dialog: its initial layout, the check boxes and height
// kinds, what OK and closing store, centring, and the link with the main
// window's height radio buttons.

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "UiFixture.h"

using namespace transref;
using namespace transref::testing;

namespace {

bool Shown(const QWidget* w) { return !w->isHidden(); }

// Clicks a check box as the user does.
void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace

class AltimetryDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initialLayout();
  void checkBoxesEnableTheirRows();
  void heightKindShowsItsSymbolAndUndulation();
  void importingCopiesTheInputChoices();
  void uncheckingImportShowsTheOutputControls();
  void withoutImportTheOutputReadsItsOwnEdits();
  void closingByTheFrameStoresLikeOk();
  void meanHeightOffReadsZero();
  void numberThatCannotBeReadKeepsTheDialogOpen();
  void geometricInTheDialogSelectsTheMainWindowRadio();
  void setupButtonsShowTheDialogModally();
  void everyQuestionShowsWholeAtBothWidths();
};

void AltimetryDialogTest::initialLayout() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  QCOMPARE(d.windowTitle(), QStringLiteral("Correção da Altimetria"));
  QVERIFY(d.windowFlags().testFlag(Qt::Tool));
  QCOMPARE(d.width(), 774);
  const auto& in = d.PanelOf(Side::In);
  const auto& out = d.PanelOf(Side::Out);
  QCOMPARE(in.pAlt->title(), QStringLiteral(" Altimetria de Entrada: "));
  QCOMPARE(out.pAlt->title(), QStringLiteral(" Altimetria de Saída: "));
  QCOMPARE(in.rgHeight->title(), QStringLiteral(" As altitudes de entrada são: "));
  QVERIFY(in.orthometric->isChecked());
  QVERIFY(out.orthometric->isChecked());
  QCOMPARE(in.useMeanHeight->text(), QStringLiteral("Usar uma altitude média para todo o arquivo?"));
  QCOMPARE(in.calcOrthometric->text(), QStringLiteral("Calcular altitudes ORTOMÉTRICAS com ondulação média?"));
  QCOMPARE(out.calcOrthometric->text(), QStringLiteral("Calcular altitudes GEOMÉRICAS com ondulação média?"));
  QCOMPARE(in.eHMean->text(), QStringLiteral("40"));
  QCOMPARE(in.eWMean->text(), UserNotation(QStringLiteral("4.95")));
  QCOMPARE(in.lWaveMean->toolTip(), QStringLiteral("Ondulação Geodéial Média"));
  // The hint is on every label of both panels and on both edits.
  for (const auto* panel : {&in, &out}) {
    for (const QLabel* label : panel->pAlt->findChildren<QLabel*>())
      QCOMPARE(label->toolTip(), QStringLiteral("Ondulação Geodéial Média"));
    QCOMPARE(panel->eHMean->toolTip(), QStringLiteral("Ondulação Geodéial Média"));
    QCOMPARE(panel->eWMean->toolTip(), QStringLiteral("Ondulação Geodéial Média"));
  }
  // Input: the mean-height row visible but disabled, undulation hidden.
  QVERIFY(Shown(in.eHMean) && !in.eHMean->isEnabled());
  QVERIFY(Shown(in.lHmedia) && !in.lHmedia->isEnabled());
  QVERIFY(Shown(in.lHH) && !in.lHH->isEnabled());
  QVERIFY(!Shown(in.lhhh));
  QVERIFY(!Shown(in.calcOrthometric) && !Shown(in.eWMean) && !Shown(in.lh));
  // Output: only the import box.
  QVERIFY(d.CBImportHeight()->isChecked());
  QVERIFY(Shown(d.CBImportHeight()));
  QCOMPARE(d.CBImportHeight()->text(), QStringLiteral("Importar altitudes do arquivo de entrada?"));
  for (QWidget* w : {static_cast<QWidget*>(out.rgHeight), static_cast<QWidget*>(out.useMeanHeight),
                     static_cast<QWidget*>(out.eHMean), static_cast<QWidget*>(out.calcOrthometric),
                     static_cast<QWidget*>(out.eWMean), static_cast<QWidget*>(out.lHmedia)}) {
    QVERIFY2(!Shown(w), qPrintable(w->objectName()));
    QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
  }
  QCOMPARE(d.BBOk()->x(), (d.PBottom()->width() - d.BBOk()->width()) / 2);
}

void AltimetryDialogTest::checkBoxesEnableTheirRows() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& in = d.PanelOf(Side::In);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  Click(in.useMeanHeight);
  QVERIFY(in.eHMean->isEnabled() && in.lHmedia->isEnabled() && in.lHH->isEnabled() && in.lhhh->isEnabled());
  QVERIFY(ui->window.AltimetryState().inputUseMeanHeight);
  Click(in.useMeanHeight);
  QVERIFY(!in.eHMean->isEnabled() && !in.lHH->isEnabled());
  QVERIFY(!ui->window.AltimetryState().inputUseMeanHeight);
  Click(in.geometric);
  Click(in.calcOrthometric);
  QVERIFY(in.eWMean->isEnabled() && in.lWaveMean->isEnabled() && in.lh->isEnabled());
  QVERIFY(ui->window.AltimetryState().inputMeanUndulation);
  Click(in.calcOrthometric);
  QVERIFY(!in.eWMean->isEnabled());
  QVERIFY(!ui->window.AltimetryState().inputMeanUndulation);
  d.BBOkClick();
}

void AltimetryDialogTest::heightKindShowsItsSymbolAndUndulation() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& in = d.PanelOf(Side::In);
  d.SetHeightIndex(Side::In, 0);
  QVERIFY(Shown(in.lhhh) && !Shown(in.lHH));
  QVERIFY(Shown(in.calcOrthometric) && Shown(in.lh) && Shown(in.lWaveMean) && Shown(in.eWMean));
  QVERIFY(ui->window.AltimetryState().inputGeometric);
  d.SetHeightIndex(Side::In, 1);
  QVERIFY(!Shown(in.lhhh) && Shown(in.lHH));
  QVERIFY(!Shown(in.calcOrthometric) && !Shown(in.eWMean));
  QVERIFY(!ui->window.AltimetryState().inputGeometric);
}

void AltimetryDialogTest::importingCopiesTheInputChoices() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& in = d.PanelOf(Side::In);
  const auto& out = d.PanelOf(Side::Out);
  // The output panel is given other values first, then importing is ticked.
  d.SetChecked(d.CBImportHeight(), false);
  d.SetChecked(out.useMeanHeight, true);
  out.eHMean->setText(QStringLiteral("77"));
  d.SetChecked(d.CBImportHeight(), true);
  d.SetHeightIndex(Side::In, 0);
  d.SetChecked(in.useMeanHeight, true);
  in.eHMean->setText(UserNotation(QStringLiteral("12.5")));
  d.SetChecked(in.calcOrthometric, true);
  in.eWMean->setText(UserNotation(QStringLiteral("-3.25")));
  QVERIFY(d.BBOkClick());
  const AltimetrySettings& s = ui->window.AltimetryState();
  QVERIFY(s.importHeights);
  QVERIFY(s.inputGeometric && s.outputGeometric);
  QVERIFY(s.inputUseMeanHeight && s.outputUseMeanHeight);
  QCOMPARE(s.inputMeanHeight, 12.5);
  QCOMPARE(s.outputMeanHeight, 12.5);
  QVERIFY(s.inputMeanUndulation && s.outputMeanUndulation);
  QCOMPARE(s.inputUndulation, -3.25);
  QCOMPARE(s.outputUndulation, -3.25);
  QVERIFY(d.ClosedByOk());
  QVERIFY(!out.useMeanHeight->isChecked());  // ticking the import cleared it
}

void AltimetryDialogTest::uncheckingImportShowsTheOutputControls() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& out = d.PanelOf(Side::Out);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  Click(d.CBImportHeight());
  QVERIFY(!ui->window.AltimetryState().importHeights);
  QVERIFY(Shown(out.rgHeight) && out.rgHeight->isEnabled());
  QVERIFY(out.orthometric->isChecked());
  QVERIFY(Shown(out.useMeanHeight) && out.useMeanHeight->isEnabled());
  QVERIFY(Shown(out.lHH) && !Shown(out.lhhh));
  QVERIFY(!Shown(out.calcOrthometric) && !Shown(out.eWMean) && !Shown(out.lh));
  QVERIFY(!out.eHMean->isEnabled());  // enabled only by its box
  // Geometric output: the undulation row appears.
  Click(out.geometric);
  QVERIFY(Shown(out.calcOrthometric) && Shown(out.eWMean) && Shown(out.lhhh));
  QVERIFY(ui->Out().rbGometric->isChecked());
  // Ticking again hides everything but the box and keeps the last choice.
  Click(d.CBImportHeight());
  QVERIFY(!Shown(out.rgHeight) && !Shown(out.calcOrthometric) && !Shown(out.eWMean) && !Shown(out.lhhh));
  // While importing, the main window's output height kind brings back none
  // of the hidden controls (no lone "h", undulation box or row).
  for (QRadioButton* radio : {ui->Out().rbOrthometric, ui->Out().rbGometric}) {
    radio->click();
    for (const QWidget* w : out.pAlt->findChildren<QWidget*>())
      QVERIFY2(w == d.CBImportHeight() || !w->isVisibleTo(out.pAlt), qPrintable(w->objectName()));
  }
  Click(d.CBImportHeight());
  QVERIFY(out.geometric->isChecked());
  QVERIFY(Shown(out.calcOrthometric) && Shown(out.lhhh) && !Shown(out.lHH));
  d.BBOkClick();
}

void AltimetryDialogTest::withoutImportTheOutputReadsItsOwnEdits() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& out = d.PanelOf(Side::Out);
  d.SetChecked(d.CBImportHeight(), false);
  d.SetChecked(out.useMeanHeight, true);
  QVERIFY(d.BBOkClick());
  const AltimetrySettings& s = ui->window.AltimetryState();
  QVERIFY(!s.importHeights);
  QVERIFY(s.outputUseMeanHeight);
  QCOMPARE(s.outputMeanHeight, 40.0);
  QCOMPARE(s.outputUndulation, 0.0);  // its box is off
  QVERIFY(!s.inputUseMeanHeight);
  QCOMPARE(s.inputMeanHeight, 0.0);
}

void AltimetryDialogTest::closingByTheFrameStoresLikeOk() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& in = d.PanelOf(Side::In);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  QVERIFY(!d.ClosedByOk());
  Click(in.useMeanHeight);
  in.eHMean->setText(UserNotation(QStringLiteral("123.5")));
  QVERIFY(d.close());
  QVERIFY(d.isHidden());
  QVERIFY(!d.ClosedByOk());
  QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 123.5);
  QCOMPARE(ui->window.AltimetryState().outputMeanHeight, 123.5);
  // Escape closes the same way.
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  in.eHMean->setText(QStringLiteral("7"));
  QTest::keyClick(&d, Qt::Key_Escape);
  QVERIFY(d.isHidden());
  QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 7.0);
  // Showing clears the OK flag.
  QVERIFY(d.BBOkClick());
  QVERIFY(d.ClosedByOk());
  d.show();
  QVERIFY(!d.ClosedByOk());
  d.BBOkClick();
}

void AltimetryDialogTest::meanHeightOffReadsZero() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  d.PanelOf(Side::In).eHMean->setText(QStringLiteral("999"));
  d.PanelOf(Side::In).eWMean->setText(QStringLiteral("not a number either"));
  QVERIFY(d.BBOkClick());
  QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 0.0);
  QCOMPARE(ui->window.AltimetryState().inputUndulation, 0.0);
  QVERIFY(ui->dialogs.messages.isEmpty());
}

void AltimetryDialogTest::numberThatCannotBeReadKeepsTheDialogOpen() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  const auto& in = d.PanelOf(Side::In);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  Click(in.useMeanHeight);
  in.eHMean->setText(QStringLiteral("40m"));
  QTest::mouseClick(d.BBOk(), Qt::LeftButton);
  QVERIFY(!d.isHidden());
  QVERIFY(!d.ClosedByOk());
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("40m")));
  QCOMPARE(ui->dialogs.messages[0].icon, MessageIcon::Stop);
  QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 0.0);
  QVERIFY(!d.close());  // the frame cannot close it either
  QVERIFY(!d.isHidden());
  in.eHMean->setText(QStringLiteral("40"));
  QTest::mouseClick(d.BBOk(), Qt::LeftButton);
  QVERIFY(d.isHidden());
  QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 40.0);
}

void AltimetryDialogTest::geometricInTheDialogSelectsTheMainWindowRadio() {
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  TFormDXFAltimetry& d = ui->altimetry;
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  Click(d.PanelOf(Side::In).geometric);
  QVERIFY(ui->In().rbGometric->isChecked());
  QCOMPARE(ui->In().cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, h)"));
  Click(d.PanelOf(Side::In).orthometric);
  QVERIFY(ui->In().rbOrthometric->isChecked());
  QCOMPARE(ui->In().cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, H)"));
  d.BBOkClick();
}

void AltimetryDialogTest::setupButtonsShowTheDialogModally() {
  auto ui = MakeUi();
  ui->window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
  for (QPushButton* button : {ui->In().bbSetupAltimetria, ui->Out().bbSetupAltimetria}) {
    bool shownModally = false;
    QTimer::singleShot(0, &ui->altimetry, [&] {
      shownModally = ui->altimetry.isVisible() && ui->altimetry.isModal();
      ui->altimetry.SetChecked(ui->altimetry.PanelOf(Side::In).useMeanHeight, true);
      QTest::mouseClick(ui->altimetry.BBOk(), Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);  // returns when the dialog closes
    QVERIFY(shownModally);
    QVERIFY(ui->altimetry.isHidden());
    QCOMPARE(ui->window.AltimetryState().inputMeanHeight, 40.0);
  }
}

// Every control of a shown panel gets at least the width its text needs, with
// both panels (774) and with the input panel alone (390).
void AltimetryDialogTest::everyQuestionShowsWholeAtBothWidths() {
  auto ui = MakeUi();
  TFormDXFAltimetry& d = ui->altimetry;
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  // Geometric heights and no import: the undulation questions are shown too.
  Click(d.PanelOf(Side::In).geometric);
  Click(d.CBImportHeight());
  Click(d.PanelOf(Side::Out).geometric);
  auto checkWhole = [&d](int width) {
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.width(), width);
    for (const QAbstractButton* button : d.findChildren<QAbstractButton*>()) {
      if (!button->isVisibleTo(&d)) continue;
      QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
      QVERIFY2(d.rect().contains(QRect(button->mapTo(&d, QPoint(0, 0)), button->size())),
               qPrintable(button->text()));
    }
    d.BBOkClick();
  };
  checkWhole(774);
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("Cartesianas")));
  QVERIFY(d.PanelOf(Side::In).calcOrthometric->isVisibleTo(&d));
  checkWhole(390);
}

QTEST_MAIN(AltimetryDialogTest)
#include "AltimetryDialogTest.moc"
