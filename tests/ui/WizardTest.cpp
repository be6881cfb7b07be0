// The set-up wizard driven through its real pages against the real main
// window: page sequence, summaries, constraints between answers, what the
// answers write into the main window, the last page and whole walks that end
// in a conversion compared with the batch converter's output.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "RunFiles.h"
#include "WizardTestSupport.h"
#include "ui/TFormDXFTStartWindow.h"

using namespace transref;
using namespace transref::testing;

namespace {

const QString kTmOru = QStringLiteral("TM-ORU e SIRGAS 2000 (GRS80)");
const QString kGkOru = QStringLiteral("Gauß-Krüger (ORU)");
const QString kUtm = QStringLiteral("UTM (SIRGAS 2000 - GRS80)");
const QString kGeoHayford = QStringLiteral("Geográficas (Carta Geral - Hayford 1924)");
const QString kGeoSirgas = QStringLiteral("Geográficas (SIRGAS 2000 - GRS80)");
const QString kCartHayford = QStringLiteral("Cartesianas (Carta Geral - Hayford 1924)");
const QString kCartSirgas = QStringLiteral("Cartesianas (SIRGAS 2000 - GRS80)");

}  // namespace

class WizardTest : public QObject {
  Q_OBJECT

 private slots:
  void introductionLandsOnInputSystemWithDrawingInput();
  void textInputWalkOffersOnlyMatchingOptions();
  void flatListHasNoCartesianOptions();
  void staleListAnswerDoesNotConstrainDrawing();
  void inputChoiceLeavesOutputOptions();
  void goingBackRebuildsAndReselects();
  void summaryNeverRepeatsLines();
  void systemOptionsWriteMainWindow();
  void mainWindowStaysUsableBesideWizard();
  void lastPageFollowsMainWindow();
  void listWalkConvertsLikeBatchConverter();
  void drawingWalkConvertsLikeBatchConverter();
  void keyboardAloneWalksWizard();
  void everyControlIsNamedAndReachable();
};

// "Avançar >>" on the introduction: page 1 answers "Arquivo vetorial" and
// moves on at once.
void WizardTest::introductionLandsOnInputSystemWithDrawingInput() {
  Desktop d;
  d.about().show();
  d.about().ForwardButton()->click();
  TFormSetup03B* page = d.pages().page03B;
  QVERIFY(page->isVisible());
  QVERIFY(!d.about().isVisible());
  QVERIFY(!d.pages().page01->isVisible());
  QCOMPARE(SummaryLines(page), (QStringList{"Dados do Arquivo de Entrada:", "", "  Tipo de Arquivo:",
                                            "    DXF - Drawing Exchange Format"}));
  QCOMPARE(d.current("CBFileNameIn"), QStringLiteral("DXF"));
  QCOMPARE(page->OfferedTexts(), (QStringList{kTmOru, kGkOru, kUtm}));
  QVERIFY(!page->ForwardButton()->isEnabled());
  QVERIFY(page->Summary()->font().fixedPitch());

  // Back leads to page 1 (which keeps its answer), and back again to the
  // introduction.
  page->BackwardButton()->click();
  QVERIFY(d.pages().page01->isVisible());
  QVERIFY(!page->isVisible());
  QVERIFY(d.pages().page01->Option1()->isChecked());
  d.pages().page01->BackwardButton()->click();
  QVERIFY(d.about().isVisible());
}

// Text input, 2D: page 4 offers only "Arquivo texto" (selected), page 5 only
// "Bidimensional" (selected); the main window follows.
void WizardTest::textInputWalkOffersOnlyMatchingOptions() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.about().ForwardButton()->click();
  p.page03B->BackwardButton()->click();
  p.page01->Option2()->click();
  QCOMPARE(SummaryLines(p.page01).last(), QStringLiteral("    Lista de Coordenadas (TXT ou DAT)"));
  QCOMPARE(d.combo("CBFileNameIn")->currentIndex(), 0);
  p.page01->ForwardButton()->click();
  QVERIFY(p.page02->isVisible());
  QVERIFY(!p.page02->ForwardButton()->isEnabled());
  p.page02->Option1()->click();
  QCOMPARE(d.combo("CBFileNameIn")->currentIndex(), 1);
  QCOMPARE(SummaryLines(p.page02).last(), QStringLiteral("    Bidimensionais"));
  p.page02->ForwardButton()->click();

  QVERIFY(ClickSystemOption(p.page03B, kGeoSirgas));
  p.page03B->ForwardButton()->click();
  QVERIFY(p.page04->isVisible());
  QVERIFY(!p.page04->Option1()->isEnabled());
  QVERIFY(p.page04->Option2()->isEnabled());
  QVERIFY(p.page04->Option2()->isChecked());
  QVERIFY(p.page04->ForwardButton()->isEnabled());
  QCOMPARE(d.combo("CBFileNameOut")->findText(QStringLiteral("DXF")), -1);

  p.page04->ForwardButton()->click();
  QVERIFY(p.page05->isVisible());
  QVERIFY(p.page05->Option1()->isEnabled());
  QVERIFY(!p.page05->Option2()->isEnabled());
  QVERIFY(p.page05->Option1()->isChecked());
  QCOMPARE(d.combo("CBFileNameOut")->currentIndex(), 1);
  QCOMPARE(SummaryLines(p.page05).last(), QStringLiteral("    Bidimensionais"));
}

// A flat list has no cartesian system in the main window: neither system page
// offers the cartesian options for it, while a 3D list gets all seven.
void WizardTest::flatListHasNoCartesianOptions() {
  Desktop d;
  const WizardPages& p = d.pages();
  WalkToListSystem(d, true);
  QCOMPARE(p.page03B->OfferedTexts(), (QStringList{kTmOru, kGkOru, kUtm, kGeoHayford, kGeoSirgas}));
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  p.page03B->ForwardButton()->click();
  p.page04->ForwardButton()->click();
  p.page05->ForwardButton()->click();
  QCOMPARE(p.page06->OfferedTexts(), (QStringList{kTmOru, kUtm, kGeoHayford, kGeoSirgas}));

  // The same walk with a 3D list offers the cartesian options on both pages.
  p.page06->BackwardButton()->click();
  p.page05->BackwardButton()->click();
  p.page04->BackwardButton()->click();
  p.page03B->BackwardButton()->click();
  p.page02->Option2()->click();
  p.page02->ForwardButton()->click();
  QCOMPARE(p.page03B->OfferedTexts().size(), 7);
  QVERIFY(ClickSystemOption(p.page03B, kCartHayford));
  QCOMPARE(d.current("CBCoordinatesSystemsIn"), QStringLiteral("Cartesianas"));
  p.page03B->ForwardButton()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(p.page05->Option2()->isEnabled());
  p.page05->Option2()->click();
  p.page05->ForwardButton()->click();
  QCOMPARE(p.page06->OfferedTexts(),
           (QStringList{kTmOru, kGkOru, kUtm, kGeoHayford, kGeoSirgas, kCartHayford, kCartSirgas}));
}

// Page 2's answer from an earlier list walk must not bind a drawing walk.
void WizardTest::staleListAnswerDoesNotConstrainDrawing() {
  Desktop d;
  const WizardPages& p = d.pages();
  WalkToListDimension(d);
  p.page02->Option1()->click();
  p.page02->BackwardButton()->click();
  p.page01->Option1()->click();
  p.page01->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  p.page03B->ForwardButton()->click();
  QVERIFY(p.page04->Option1()->isEnabled());
  p.page04->Option2()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(p.page05->Option1()->isEnabled());
  QVERIFY(p.page05->Option2()->isEnabled());
}

// The input's grid is not offered again for the output of a drawing.
void WizardTest::inputChoiceLeavesOutputOptions() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.about().ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kTmOru));
  QCOMPARE(d.current("CBCoordinatesSystemsIn"), QStringLiteral("LTM (Oru)"));
  p.page03B->ForwardButton()->click();
  p.page04->Option1()->click();
  QCOMPARE(d.current("CBFileNameOut"), QStringLiteral("DXF"));
  p.page04->ForwardButton()->click();
  QVERIFY(p.page06->isVisible());
  QVERIFY(!p.page05->isVisible());
  QCOMPARE(p.page06->OfferedTexts(), (QStringList{kGkOru, kUtm}));
}

// Back from page 6 to 3B, another input system, forward again: page 6 shows
// its rebuilt list with the remembered position selected, and the main window
// and the summary follow the option now at that position.
void WizardTest::goingBackRebuildsAndReselects() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.about().ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kTmOru));
  p.page03B->ForwardButton()->click();
  p.page04->Option1()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page06, kUtm));
  QCOMPARE(p.page06->ChosenIndex(), 1);
  QCOMPARE(d.current("CBCoordinatesSystemsOut"), QStringLiteral("UTM"));

  p.page06->BackwardButton()->click();
  p.page04->BackwardButton()->click();
  QVERIFY(p.page03B->isVisible());
  QCOMPARE(p.page03B->ChosenIndex(), 0);
  QVERIFY(ClickSystemOption(p.page03B, kUtm));
  p.page03B->ForwardButton()->click();
  p.page04->ForwardButton()->click();
  QCOMPARE(p.page06->OfferedTexts(), (QStringList{kTmOru, kGkOru}));
  QCOMPARE(p.page06->ChosenIndex(), 1);
  QCOMPARE(p.page06->ChosenText(), kGkOru);
  QVERIFY(p.page06->ForwardButton()->isEnabled());
  QCOMPARE(d.current("CBCoordinatesSystemsOut"), QStringLiteral("Gauß-Krüger (Oru)"));
  QCOMPARE(SummaryLines(p.page06).mid(SummaryLines(p.page06).size() - 4),
           (QStringList{"    Gauß-Krüger (ORU)", "", "  Referencial Geodésico (Elipsóide):",
                        "    Carta Geral (Hayford 1924)"}));

  // A remembered position past the end of a shorter list leaves the page
  // unanswered instead of pointing at nothing.
  p.page06->BackwardButton()->click();
  p.page04->Option2()->click();
  p.page04->ForwardButton()->click();
  p.page05->Option2()->click();
  p.page05->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page06, kCartSirgas));
  QCOMPARE(p.page06->ChosenIndex(), 5);
  p.page06->BackwardButton()->click();
  p.page05->BackwardButton()->click();
  p.page04->Option1()->click();
  p.page04->ForwardButton()->click();
  QCOMPARE(p.page06->OfferedTexts(), (QStringList{kTmOru, kGkOru}));
  QVERIFY(p.page06->OptionsGroup()->findChildren<QRadioButton*>().size() == 2);
  for (QRadioButton* button : p.page06->OptionsGroup()->findChildren<QRadioButton*>()) QVERIFY(!button->isChecked());
  QVERIFY(!p.page06->ForwardButton()->isEnabled());
  QCOMPARE(SummaryLines(p.page06), SummaryLines(p.page04));
}

// The summary of the last page is exactly the walk's lines, however often the
// user went back and forth.
void WizardTest::summaryNeverRepeatsLines() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.about().ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  QVERIFY(ClickSystemOption(p.page03B, kUtm));
  p.page03B->ForwardButton()->click();
  p.page04->Option2()->click();
  p.page04->Option1()->click();
  p.page04->BackwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  p.page03B->ForwardButton()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page06, kTmOru));
  p.page06->ForwardButton()->click();
  p.page07->BackwardButton()->click();
  p.page06->ForwardButton()->click();
  QVERIFY(p.page07->isVisible());
  const QStringList expected = {"Dados do Arquivo de Entrada:",
                                "",
                                "  Tipo de Arquivo:",
                                "    DXF - Drawing Exchange Format",
                                "",
                                "  Sistema de coordenadas:",
                                "    Gauß-Krüger (ORU)",
                                "",
                                "  Referencial Geodésico (Elipsóide):",
                                "    Carta Geral (Hayford 1924)",
                                "",
                                "Dados do Arquivo de Saída:",
                                "",
                                "  Tipo de Arquivo:",
                                "    DXF - Drawing Exchange Format",
                                "",
                                "  Sistema de coordenadas:",
                                "    TM-ORU",
                                "",
                                "  Referencial Geodésico (Elipsóide):",
                                "    SIRGAS 2000 (GRS80)"};
  QCOMPARE(SummaryLines(p.page07), expected);
  QCOMPARE(p.page07->Summary()->font(), p.page01->Summary()->font());
  QCOMPARE(p.page07->BackPage(), static_cast<QWidget*>(p.page06));
  QCOMPARE(p.page07->BackSummary(), p.page06->Summary());
}

// Each system option selects its system and, where it names one, its
// ellipsoid in the main window.
void WizardTest::systemOptionsWriteMainWindow() {
  Desktop d;
  const WizardPages& p = d.pages();
  WalkToListSystem(d, false);
  struct Expect {
    QString option, system, ellipsoid;
  };
  const QList<Expect> cases = {
      {kTmOru, "LTM (Oru)", "GRS80 (WGS84; SIRGAS)"},
      {kGkOru, "Gauß-Krüger (Oru)", "Hayford 1924 (Comissão da Carta Geral)"},
      {kUtm, "UTM", "GRS80 (WGS84; SIRGAS)"},
      {kGeoHayford, "Geográficas", "Hayford 1924 (Comissão da Carta Geral)"},
      {kGeoSirgas, "Geográficas", "GRS80 (WGS84; SIRGAS)"},
      {kCartHayford, "Cartesianas", "Hayford 1924 (Comissão da Carta Geral)"},
      {kCartSirgas, "Cartesianas", "GRS80 (WGS84; SIRGAS)"},
  };
  for (const Expect& c : cases) {
    QVERIFY2(ClickSystemOption(p.page03B, c.option), qPrintable(c.option));
    QCOMPARE(d.current("CBCoordinatesSystemsIn"), c.system);
    QCOMPARE(d.current("CBGeodeticReferenceIn"), c.ellipsoid);
    QCOMPARE(p.page03B->ChosenText(), c.option);
  }
  // The UTM option's summary names its central meridian.
  QVERIFY(ClickSystemOption(p.page03B, kUtm));
  QVERIFY(SummaryLines(p.page03B).contains(QStringLiteral("    UTM (MC: 51°)")));
}

// The main window is shown with the wizard and keeps working: a change made
// there is what the wizard's last page then reads.
void WizardTest::mainWindowStaysUsableBesideWizard() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.main().show();
  d.about().ForwardButton()->click();
  QVERIFY(d.main().isVisible());
  QVERIFY(d.main().isEnabled());
  QVERIFY(!p.page03B->isModal());
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  // A manual change in the main window is overwritten only by the next answer.
  MainWindowLink(&d.main()).SelectSystem(WizardSide::Input, QStringLiteral("UTM"));
  QCOMPARE(d.main().SelectedSystem(Side::In), QStringLiteral("UTM"));
  p.page03B->ForwardButton()->click();
  QCOMPARE(d.main().SelectedSystem(Side::In), QStringLiteral("Gauß-Krüger (Oru)"));
}

// Page 7 copies the main window's file panels and enables "Executar" exactly
// when the main window's process button is enabled.
void WizardTest::lastPageFollowsMainWindow() {
  Desktop d;
  const WizardPages& p = d.pages();
  QTemporaryDir dir;
  const QString input = QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/lote_gk_oru.dxf");
  d.about().ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, kGkOru));
  p.page03B->ForwardButton()->click();
  p.page04->Option1()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page06, kTmOru));
  p.page06->ForwardButton()->click();
  QVERIFY(!p.page07->ProcessButton()->isEnabled());
  QCOMPARE(p.page07->InputFilePanel()->text(), ControlText(d.main().findChild<QWidget*>("EditFileNameIn")));

  d.dialogs.PickFile(input);
  p.page07->InputFilePanel()->click();
  QCOMPARE(d.main().InputFileName(), input);
  QCOMPARE(p.page07->InputFilePanel()->text(), ControlText(d.main().findChild<QWidget*>("EditFileNameIn")));
  QVERIFY(p.page07->InputFilePanel()->text() != p.page07->OutputFilePanel()->text());
  QVERIFY(!p.page07->ProcessButton()->isEnabled());

  d.dialogs.PickFile(dir.filePath(QStringLiteral("saida.dxf")));
  p.page07->OutputFilePanel()->click();
  QVERIFY(d.main().OutputFileChosen());
  QVERIFY(p.page07->ProcessButton()->isEnabled());

  // The same grid and ellipsoid on both sides, set in the main window: there is
  // nothing to convert, and the page follows when it is refreshed.
  MainWindowLink(&d.main()).SelectSystem(WizardSide::Output, QStringLiteral("Gauß-Krüger (Oru)"));
  QVERIFY(!d.main().BBProcess()->isEnabled());
  d.dialogs.CancelFile();
  p.page07->InputFilePanel()->click();
  QVERIFY(!p.page07->ProcessButton()->isEnabled());
  d.dialogs.messages.clear();
  p.page07->BBProcessClick();
  QVERIFY(d.dialogs.messages.isEmpty());
  QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("saida.dxf"))));
}

namespace {

// Walks from the introduction to the last page for the given answers.
void WalkToLastPage(Desktop& d, bool textInput, const QString& inputSystem, bool textOutput,
                    const QString& outputSystem) {
  const WizardPages& p = d.pages();
  d.about().show();
  if (textInput) {
    WalkToListSystem(d, false);
  } else {
    d.about().ForwardButton()->click();
  }
  QVERIFY(ClickSystemOption(p.page03B, inputSystem));
  p.page03B->ForwardButton()->click();
  (textOutput ? p.page04->Option2() : p.page04->Option1())->click();
  p.page04->ForwardButton()->click();
  if (textOutput) {
    p.page05->Option2()->click();
    p.page05->ForwardButton()->click();
  }
  QVERIFY(ClickSystemOption(p.page06, outputSystem));
  p.page06->ForwardButton()->click();
  QVERIFY(p.page07->isVisible());
}

void RunWalk(Desktop& d, const QString& input, const QString& output) {
  const WizardPages& p = d.pages();
  d.dialogs.PickFile(input);
  p.page07->InputFilePanel()->click();
  d.dialogs.PickFile(output);
  p.page07->OutputFilePanel()->click();
  QVERIFY(p.page07->ProcessButton()->isEnabled());
  d.dialogs.messages.clear();
  p.page07->ProcessButton()->click();
}

void ExpectSuccess(const Desktop& d) {
  QVERIFY(!d.dialogs.messages.isEmpty());
  QCOMPARE(d.dialogs.messages.last().text, QStringLiteral("O programa foi executado com sucesso!"));
  QCOMPARE(d.dialogs.messages.last().caption, QStringLiteral("TSC_OBRU"));
  // "Executar" carries orthometric input heights to the output.
  QVERIFY(d.main().AltimetryState().importHeights);
  QVERIFY(!d.main().AltimetryState().inputGeometric);
  QVERIFY(!d.main().AltimetryState().outputGeometric);
  QVERIFY(!d.windows->Altimetry().isVisible());
  QVERIFY(!d.windows->Progress().isVisible());
}

}  // namespace

// A list in Gauß-Krüger (Oru) to TM-ORU, with heights the user had set to
// geometric beforehand: "Executar" puts them back to orthometric and imported.
void WizardTest::listWalkConvertsLikeBatchConverter() {
  Desktop d;
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("pontos.txt"));
  QVERIFY(WriteAll(input, WholeMetreList(40)));
  const QString output = dir.filePath(QStringLiteral("assistente.dat"));
  d.windows->Altimetry().SetHeightIndex(Side::In, 0);
  QVERIFY(d.main().findChild<QRadioButton*>("RBGometricIn")->isChecked());
  WalkToLastPage(d, true, kGkOru, true, kTmOru);
  RunWalk(d, input, output);
  ExpectSuccess(d);
  QVERIFY(d.main().findChild<QRadioButton*>("RBOrthometricIn")->isChecked());

  const QString batchOutput = dir.filePath(QStringLiteral("lote.dat"));
  const QByteArray expected = ConvertInBatch(
      {"--from", "gk-oru", "--to", "ltm-oru", "--from-kind", "ascii3d", "--to-kind", "ascii3d", input, batchOutput},
      batchOutput);
  QVERIFY(!expected.isEmpty());
  QCOMPARE(ReadAll(output), expected);
}

void WizardTest::drawingWalkConvertsLikeBatchConverter() {
  Desktop d;
  QTemporaryDir dir;
  const QString input = QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/lote_gk_oru.dxf");
  const QString output = dir.filePath(QStringLiteral("assistente.dxf"));
  WalkToLastPage(d, false, kGkOru, false, kUtm);
  RunWalk(d, input, output);
  ExpectSuccess(d);

  const QString batchOutput = dir.filePath(QStringLiteral("lote.dxf"));
  const QByteArray expected =
      ConvertInBatch({"--from", "gk-oru", "--to", "utm", "--to-ellipsoid", "grs80", input, batchOutput}, batchOutput);
  QVERIFY(!expected.isEmpty());
  QCOMPARE(ReadAll(output), expected);
}

// The wizard with the keyboard alone: Enter moves on, Tab reaches the
// options, Space chooses one, Alt+Left goes back.
void WizardTest::keyboardAloneWalksWizard() {
  Desktop d;
  const WizardPages& p = d.pages();
  d.about().show();
  d.about().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&d.about()));
  // Enter on "&Fechar" presses that button, not the forward one.
  QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
  QTest::keyClick(d.about().CloseButton(), Qt::Key_Return);
  QCOMPARE(ended.count(), 1);
  QVERIFY(!p.page03B->isVisible());
  QTest::keyClick(&d.about(), Qt::Key_Return);
  QVERIFY(p.page03B->isVisible());

  p.page03B->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p.page03B));
  // Enter does nothing while the question is unanswered.
  QTest::keyClick(p.page03B, Qt::Key_Return);
  QVERIFY(p.page03B->isVisible());
  // Tab until an option has the focus, then Space chooses it.
  for (int tab = 0; tab < 10 && !qobject_cast<QRadioButton*>(QApplication::focusWidget()); ++tab) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : p.page03B, Qt::Key_Tab);
  }
  auto* option = qobject_cast<QRadioButton*>(QApplication::focusWidget());
  QVERIFY(option);
  QTest::keyClick(option, Qt::Key_Space);
  QVERIFY(option->isChecked());
  QCOMPARE(p.page03B->ChosenText(), option->text());
  QTest::keyClick(option, Qt::Key_Return);
  QVERIFY(p.page04->isVisible());

  p.page04->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p.page04));
  // Alt+Left from whichever control has the focus (an option here).
  QVERIFY(qobject_cast<QRadioButton*>(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
  QVERIFY(p.page03B->isVisible());
  // Back on page 3B the focus is on the option chosen before, and Alt+Left
  // works even from the summary.
  p.page03B->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p.page03B));
  QCOMPARE(QApplication::focusWidget()->property("text").toString(), p.page03B->ChosenText());
  p.page03B->Summary()->setFocus();
  QTest::keyClick(p.page03B->Summary(), Qt::Key_Left, Qt::AltModifier);
  QVERIFY(p.page01->isVisible());
  QVERIFY(!p.page04->isVisible());

  // On a page, Enter on "<< Retornar" goes back rather than forward.
  p.page01->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p.page01));
  QVERIFY(p.page01->ForwardButton()->isEnabled());
  QTest::keyClick(p.page01->BackwardButton(), Qt::Key_Return);
  QVERIFY(d.about().isVisible());
  QVERIFY(!p.page03B->isVisible());
}

// Every button and option of the pages and the introduction can take the
// keyboard focus and has a name a screen reader can speak.
void WizardTest::everyControlIsNamedAndReachable() {
  Desktop d;
  d.about().ForwardButton()->click();
  QList<QWidget*> windows = {&d.about()};
  for (TFormSetupPage* page : d.allPages()) windows << page;
  for (QWidget* window : windows) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      const QString name = button->accessibleName().isEmpty() ? button->text() : button->accessibleName();
      QVERIFY2(!name.trimmed().isEmpty(), qPrintable(window->objectName() + "/" + button->objectName()));
      QVERIFY2(button->focusPolicy() & Qt::TabFocus, qPrintable(window->objectName() + "/" + button->objectName()));
    }
    QCOMPARE(window->windowTitle(), kMainCaption);
    QCOMPARE(window->size(), QSize(900, 600));
    QCOMPARE(window->minimumSize(), window->maximumSize());
  }
  QVERIFY(!d.pages().page07->Summary()->accessibleName().isEmpty());
}

QTEST_MAIN(WizardTest)
#include "WizardTest.moc"
