// The main window driven through its controls: initial state, the
// coordinate-system panels, ellipsoids, hemispheres, heights, file kinds,
// file pickers, the process button's enabling and the parameter lookup.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "UiFixture.h"
#include "geodesy/ParameterSets.h"
#include "ui/ClickPanel.h"
#include "ui/GridFilePanel.h"

using namespace transref;
using namespace transref::testing;

namespace {

const QString kGkOru = QStringLiteral("Gauß-Krüger (Oru)");
const QString kLtmOru = QStringLiteral("LTM (Oru)");
const QString kGrs80 = QStringLiteral("GRS80 (WGS84; SIRGAS)");
const QString kHayford = QStringLiteral("Hayford 1924 (Comissão da Carta Geral)");
const QString kCustom = QStringLiteral("Customizado");
const QString kAscii3D = QStringLiteral("ASCII - Coordenadas 3D(ID; X, Y, Z)");
const QString kNewFile = QStringLiteral("Clique aqui para inserir o novo nome do arquivo");

// Leaves a focused field: focus goes elsewhere, as with Tab or a click.
void Leave(QWidget* field) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(field, &out);
}

void Enter(QWidget* field) {
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(field, &in);
}

// Input as a 3D list, so that every system is offered on both sides.
void UseLists(Ui& ui) {
  QVERIFY(ChooseIndex(ui.In().cbFileName, 0));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initialState();
  void initialParametersAreThoseOfTheLockedFrames();
  void everyInputControlHasAnAccessibleName();
  void tabOrderRunsDownEachColumn();
  void systemListsFollowTheFileKind();
  void systemTableRows();
  void utmFalseNorthingFollowsTheHemisphere();
  void customisedSystemShowsThePanel();
  void typedCentralMeridianInPackedSexagesimal();
  void typedMeridianIsSignedOnceByTheHemisphere();
  void everySystemBuildsAJobWithoutAnErrorBox();
  void centralMeridianThatIsNotANumber();
  void geographicAndCartesianHideTheDetails();
  void cartesianInputClearsTheHeightOptions();
  void outputHemispheresFollowAProjectedInput();
  void sameSystemCopiesTheInputSide();
  void customEllipsoidPlaceholdersAndRememberedTexts();
  void lockingAnEllipsoidRewritesItsEdits();
  void heightRadioRelabelsAndKeepsTheDialogInStep();
  void sameFileKindAgainChangesNothing();
  void listInputRemovesDxfFromTheOutputKinds();
  void pickerTitlesFiltersAndExtensions();
  void sameFileQuestions();
  void longFileNamesStayReadableInTheirPanels();
  void finalOutputNameEqualToTheInputAsks();
  void finalOutputNameOfAnExistingFileAsks();
  void processButtonNeedsAChange();
  void parameterLookup();
  void oldFramesShowTheirGridOrLegs();
  void affineModelQuestions();
  void lockedEllipsoidAddsNoAffineQuestions();
  void closingEndsTheApplication();
};

void MainWindowTest::initialState() {
  auto ui = MakeUi();
  TFormDXFTransform& w = ui->window;
  QCOMPARE(w.windowTitle(), QStringLiteral("Transformações de Coordenadas entre Referenciais Geodésicos"));
  QCOMPARE(w.size(), QSize(965, 629));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  const auto& in = ui->In();
  const auto& out = ui->Out();
  // File kinds: DXF on both sides, first entries relabelled for E, N, H;
  // spreadsheets after them (a drawing's points too), and maps on the output side only.
  QCOMPARE(Items(in.cbFileName), (QStringList{"ASCII - Coordenadas 3D(ID; E, N, H)", "ASCII - Coordenadas 2D(ID; E, N)",
                                              "DXF", "Texto delimitado / planilha (CSV)"}));
  QCOMPARE(Items(out.cbFileName).mid(3),
           (QStringList{"Texto delimitado / planilha (CSV)", "KML (Google Earth)", "GeoJSON"}));
  QCOMPARE(in.cbFileName->currentIndex(), 2);
  QCOMPARE(out.cbFileName->currentIndex(), 2);
  QCOMPARE(w.LastFileKind(Side::In), 2);
  QCOMPARE(w.LastFileKind(Side::Out), 2);
  for (const auto* c : {&in, &out}) {
    QCOMPARE(c->editFileName->text(), kNewFile);
    QVERIFY(c->editFileName->toolTip().isEmpty());
    QVERIFY(c->rbOrthometric->isChecked());
    QVERIFY(!c->rbGometric->isChecked());
    QVERIFY(c->gbAltimetry->isEnabled());
    QVERIFY(!c->gbAditionalInfo->isHidden());
    QCOMPARE(c->cbCoordinatesSystems->count(), 8);  // a drawing offers the projected systems only
    QCOMPARE(c->cbHLong->currentText(), QStringLiteral("Oeste (W)"));
    QCOMPARE(c->cbHLat->currentText(), QStringLiteral("Sul (S)"));
    QVERIFY(!c->cbHLong->isEnabled());
    QVERIFY(!c->cbHLat->isEnabled());
    QCOMPARE(c->cbAmplitudeZone->currentText(), QStringLiteral("3°"));
    QVERIFY(!c->cbAmplitudeZone->isEnabled());
    QCOMPARE(Items(c->cbCM), QStringList{"51°"});
    QVERIFY(!c->cbCM->isEnabled());
    QVERIFY(c->pSelectedCM->isHidden());
    QVERIFY(c->eSelectedCM->isHidden());
    QVERIFY(c->labelSelectedCM->isHidden());
    QCOMPARE(c->eFalseNorth->text(), QStringLiteral("5000000"));
    QVERIFY(!c->eFalseEast->isEnabled());
    QCOMPARE(TextColour(c->eFalseEast), Grey(c->eFalseEast));
    QCOMPARE(TextColour(c->eFalseNorth), Grey(c->eFalseNorth));
    QVERIFY(!c->cbGeodeticReference->isEnabled());
    QVERIFY(!c->editSemiMajorAxis->isEnabled());
    QVERIFY(!c->editReciprocalFlattening->isEnabled());
  }
  QCOMPARE(in.cbCoordinatesSystems->currentText(), kGkOru);
  QCOMPARE(w.SelectedSystem(Side::In), kGkOru);
  QCOMPARE(in.cbGeodeticReference->currentText(), kHayford);
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("6378388"));
  QCOMPARE(in.editReciprocalFlattening->text(), QStringLiteral("297"));
  QCOMPARE(in.eFalseEast->text(), QStringLiteral("200000"));
  QCOMPARE(w.ScaleFactor(Side::In), 1.0);
  QCOMPARE(out.cbCoordinatesSystems->currentText(), kLtmOru);
  QCOMPARE(w.SelectedSystem(Side::Out), kLtmOru);
  QCOMPARE(out.cbGeodeticReference->currentText(), kGrs80);
  QCOMPARE(out.editSemiMajorAxis->text(), QStringLiteral("6378137"));
  QCOMPARE(out.editReciprocalFlattening->text(), QStringLiteral("298.257222101"));
  QCOMPARE(out.eFalseEast->text(), QStringLiteral("300000"));
  QCOMPARE(w.ScaleFactor(Side::Out), 0.999995);

  QVERIFY(!w.BBProcess()->isEnabled());
  QCOMPARE(w.BBClose()->text(), QStringLiteral("&Fechar"));
  QCOMPARE(w.CBTransformation()->currentIndex(), 0);
  QCOMPARE(w.CBTransformation()->currentText(), QStringLiteral("7 Parâmetros - Transformação Isogonal "));
  QCOMPARE(w.LastTransformationModel(), 0);
  QVERIFY(!w.GBIsogonal()->isHidden());
  QVERIFY(w.GBAfim()->isHidden());
  QVERIFY(!w.InputFileChosen());
  QVERIFY(!w.OutputFileChosen());
  QVERIFY(w.InputFileName().isEmpty());
  QVERIFY(w.LastOutputPath().isEmpty());
  QVERIFY(w.CustomSemiMajorAxis(Side::In).isEmpty());

  const AltimetrySettings& s = w.AltimetryState();
  QVERIFY(s.importHeights);
  QVERIFY(!s.inputGeometric && !s.outputGeometric && !s.inputUseMeanHeight && !s.outputUseMeanHeight);
  QVERIFY(!s.inputMeanUndulation && !s.outputMeanUndulation);
  QCOMPARE(s.inputMeanHeight + s.outputMeanHeight + s.inputUndulation + s.outputUndulation, 0.0);
  QVERIFY(ui->dialogs.messages.isEmpty());
}

void MainWindowTest::initialParametersAreThoseOfTheLockedFrames() {
  // Hayford 1924 (input) to GRS80 (output): set B, locked.
  auto ui = MakeUi();
  const auto& e = ui->window.IsogonalEdits();
  const QStringList expected = {"1.0000039561", "-250.129989099", "196.339259686", "-40.5195719703",
                                "0.0008346827", "-0.001393548", "-0.0002404109"};
  for (int k = 0; k < 7; ++k) {
    QCOMPARE(e[k]->text(), UserNotation(expected[k]));
    QVERIFY(!e[k]->isEnabled());
  }
  QCOMPARE(e[0]->objectName(), QStringLiteral("EditIsogLambda"));
  QCOMPARE(e[1]->objectName(), QStringLiteral("EditIsogTx"));
  QCOMPARE(ui->window.AffineEdits()[3]->objectName(), QStringLiteral("EditAfimA"));
  QCOMPARE(ui->window.AffineEdits()[11]->objectName(), QStringLiteral("EditAfimI"));
}

void MainWindowTest::everyInputControlHasAnAccessibleName() {
  auto ui = MakeUi();
  for (QWidget* root : {static_cast<QWidget*>(&ui->window), static_cast<QWidget*>(&ui->altimetry)}) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
      const bool input = qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<ClickPanel*>(w) || qobject_cast<QAbstractButton*>(w);
      if (!input) continue;
      const QString name = w->accessibleName().isEmpty() && qobject_cast<QAbstractButton*>(w)
                               ? qobject_cast<QAbstractButton*>(w)->text()
                               : w->accessibleName();
      QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
    }
  }
  // Named controls are found by their names.
  QVERIFY(ui->window.findChild<QComboBox*>(QStringLiteral("CBCoordinatesSystemsOut")) != nullptr);
  QVERIFY(ui->window.findChild<QLineEdit*>(QStringLiteral("EFalseNorthIn")) != nullptr);
  QVERIFY(ui->window.findChild<QPushButton*>(QStringLiteral("BBProcess")) != nullptr);
  QVERIFY(ui->altimetry.findChild<QCheckBox*>(QStringLiteral("CBImportHeight")) != nullptr);
}

void MainWindowTest::tabOrderRunsDownEachColumn() {
  auto ui = MakeUi();
  QList<QWidget*> chain;
  QWidget* w = ui->In().cbFileName;
  for (int k = 0; k < 200 && (chain.isEmpty() || w != chain.first()); ++k, w = w->nextInFocusChain()) chain.append(w);
  auto at = [&chain](QWidget* widget) { return chain.indexOf(widget); };
  const auto& in = ui->In();
  const auto& out = ui->Out();
  QList<QWidget*> order = {in.cbFileName,      in.editFileName,         in.rbGometric,     in.bbSetupAltimetria,
                           in.cbCoordinatesSystems, in.cbHLong,       in.eFalseNorth,    in.cbGeodeticReference,
                           in.editReciprocalFlattening, ui->window.CBTransformation(), ui->window.IsogonalEdits()[1],
                           out.cbFileName,     out.cbCoordinatesSystems, out.editReciprocalFlattening,
                           ui->window.BBProcess(), ui->window.BBClose()};
  for (int k = 1; k < order.size(); ++k)
    QVERIFY2(at(order[k - 1]) < at(order[k]), qPrintable(order[k]->objectName()));
  // Enter presses the process button only when it may run.
  QVERIFY(ui->window.BBProcess()->isDefault());
  QVERIFY(ui->window.BBProcess()->text().contains(QLatin1Char('&')));

  // The clickable panels answer the keyboard too.
  QTest::keyClick(in.editFileName, Qt::Key_Space);
  QCOMPARE(ui->dialogs.fileRequests.size(), 1);
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM (Customizado)")));
  QTest::keyClick(in.pSelectedCM, Qt::Key_Return);
  QVERIFY(!in.eSelectedCM->isHidden());
  in.eSelectedCM->setText(QStringLiteral("50.30"));
  QTest::keyClick(in.eSelectedCM, Qt::Key_Return);  // Enter in the edit applies it
  QVERIFY(in.eSelectedCM->isHidden());
  QCOMPARE(in.pSelectedCM->text(), QStringLiteral("50° 30' 00.000\""));
  QVERIFY(ui->dialogs.messages.isEmpty());
}

void MainWindowTest::systemListsFollowTheFileKind() {
  auto ui = MakeUi();
  const QStringList all = {"LTM", "LTM (Oru)", "LTM (Customizado)", "RTM", "Gauß-Krüger", "Gauß-Krüger (Oru)",
                           "Gauß-Krüger (Customizado)", "UTM", "Geográficas", "Cartesianas"};
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  QCOMPARE(Items(ui->In().cbCoordinatesSystems), all);
  QCOMPARE(ui->In().cbCoordinatesSystems->currentText(), kGkOru);
  QCOMPARE(Items(ui->Out().cbCoordinatesSystems), all);
  QCOMPARE(ui->Out().cbCoordinatesSystems->currentText(), kLtmOru);
  QVERIFY(ChooseIndex(ui->In().cbFileName, 1));
  QCOMPARE(Items(ui->In().cbCoordinatesSystems), all.mid(0, 9));
  QCOMPARE(Items(ui->Out().cbCoordinatesSystems), all.mid(0, 9));
  QVERIFY(ChooseIndex(ui->In().cbFileName, 2));
  QCOMPARE(Items(ui->In().cbCoordinatesSystems), all.mid(0, 8));
  // The output kind can differ from the input's: a 3D list from a drawing.
  QVERIFY(ChooseIndex(ui->Out().cbFileName, 0));
  QCOMPARE(Items(ui->Out().cbCoordinatesSystems), all);
}

void MainWindowTest::systemTableRows() {
  auto ui = MakeUi();
  UseLists(*ui);
  TFormDXFTransform& w = ui->window;
  const auto& in = ui->In();
  struct Row {
    const char* system;
    double scale;
    const char* zone;
    int meridians;
    const char* first;
    const char* last;
    const char* selected;
    const char* easting;
    bool grey;
    bool hemispheres;
    const char* panel;  // the selected meridian in degrees, minutes, seconds
  };
  const Row rows[] = {
      {"LTM", 0.999995, "1°", 180, "0.5°", "179.5°", "51.5°", "200000", true, true, "51° 30' 00\""},
      {"LTM (Oru)", 0.999995, "3°", 1, "51°", "51°", "51°", "300000", true, false, "51° 00' 00\""},
      {"RTM", 0.999995, "2°", 90, "1°", "179°", "51°", "400000", true, true, "51° 00' 00\""},
      {"Gauß-Krüger", 1.0, "3°", 60, "1.5°", "178.5°", "49.5°", "200000", true, true, "49° 30' 00\""},
      {"Gauß-Krüger (Oru)", 1.0, "3°", 1, "51°", "51°", "51°", "200000", true, false, "51° 00' 00\""},
      {"UTM", 0.9996, "6°", 30, "3°", "177°", "51°", "500000", false, true, "51° 00' 00\""},
  };
  for (const Row& row : rows) {
    const QString system = QString::fromUtf8(row.system);
    QVERIFY(Choose(in.cbCoordinatesSystems, system));
    QCOMPARE(w.SelectedSystem(Side::In), system);
    QCOMPARE(w.ScaleFactor(Side::In), row.scale);
    QCOMPARE(in.cbAmplitudeZone->currentText(), QString::fromUtf8(row.zone));
    QVERIFY(!in.cbAmplitudeZone->isEnabled());
    QCOMPARE(in.cbCM->count(), row.meridians);
    QCOMPARE(in.cbCM->itemText(0), QString::fromUtf8(row.first));
    QCOMPARE(in.cbCM->itemText(row.meridians - 1), QString::fromUtf8(row.last));
    QCOMPARE(in.cbCM->currentText(), QString::fromUtf8(row.selected));
    QVERIFY(!in.cbCM->isHidden());
    QVERIFY(in.pSelectedCM->isHidden());
    QCOMPARE(in.pSelectedCM->text(), QString::fromUtf8(row.panel));
    QCOMPARE(in.eFalseEast->text(), QString::fromUtf8(row.easting));
    QVERIFY(!in.eFalseEast->isEnabled());
    QCOMPARE(TextColour(in.eFalseEast) == Grey(in.eFalseEast), row.grey);
    QCOMPARE(in.cbHLong->isEnabled(), row.hemispheres);
    QCOMPARE(in.cbHLat->isEnabled(), row.hemispheres);
    QCOMPARE(Items(in.cbFileName).first(), QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, H)"));
  }
  // Each change ran the output side too (projected input: locked hemispheres).
  QVERIFY(!ui->Out().cbHLat->isEnabled());
  // The Oru systems lock their ellipsoid; the others free it and keep it.
  QVERIFY(Choose(in.cbCoordinatesSystems, kLtmOru));
  QCOMPARE(in.cbGeodeticReference->currentText(), kGrs80);
  QVERIFY(!in.cbGeodeticReference->isEnabled());
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("RTM")));
  QCOMPARE(in.cbGeodeticReference->currentText(), kGrs80);
  QVERIFY(in.cbGeodeticReference->isEnabled());
}

void MainWindowTest::utmFalseNorthingFollowsTheHemisphere() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("UTM")));
  QCOMPARE(in.eFalseNorth->text(), QStringLiteral("10000000"));
  QCOMPARE(TextColour(in.eFalseNorth) == Grey(in.eFalseNorth), false);
  QVERIFY(Choose(in.cbHLat, QStringLiteral("Norte (N)")));
  QCOMPARE(in.eFalseNorth->text(), QStringLiteral("0"));
  QVERIFY(Choose(in.cbHLat, QStringLiteral("Sul (S)")));
  QCOMPARE(in.eFalseNorth->text(), QStringLiteral("10000000"));
  // On another system the hemisphere leaves the false northing alone.
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(in.cbHLat, QStringLiteral("Norte (N)")));
  QCOMPARE(in.eFalseNorth->text(), QStringLiteral("5000000"));
  // The output side's own hemisphere on an output UTM after a geographic input.
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(ui->Out().cbHLat->isEnabled());
  QVERIFY(Choose(ui->Out().cbHLat, QStringLiteral("Norte (N)")));
  QCOMPARE(ui->Out().eFalseNorth->text(), QStringLiteral("0"));
}

void MainWindowTest::customisedSystemShowsThePanel() {
  auto ui = MakeUi();
  const auto& in = ui->In();
  for (const QString& system : {QStringLiteral("LTM (Customizado)"), QStringLiteral("Gauß-Krüger (Customizado)")}) {
    QVERIFY(Choose(in.cbCoordinatesSystems, system));
    QVERIFY(!in.pSelectedCM->isHidden());
    QVERIFY(in.pSelectedCM->isEnabled());
    QVERIFY(in.cbCM->isHidden());
    QCOMPARE(in.pSelectedCM->text(), QStringLiteral("51° 00' 00\""));
    QCOMPARE(Items(in.cbCM), QStringList{"51.0000000000°"});
    QCOMPARE(in.cbCM->currentIndex(), 0);
    QCOMPARE(in.cbAmplitudeZone->currentIndex(), -1);
    QCOMPARE(in.cbAmplitudeZone->placeholderText(), QStringLiteral("----"));
    QVERIFY(in.eFalseEast->isEnabled());
    QVERIFY(in.eFalseNorth->isEnabled());
    QVERIFY(TextColour(in.eFalseEast) != Grey(in.eFalseEast));
    QCOMPARE(in.eFalseNorth->text(), QStringLiteral("5000000"));
  }
  QCOMPARE(ui->window.ScaleFactor(Side::In), 1.0);
}

void MainWindowTest::typedCentralMeridianInPackedSexagesimal() {
  auto ui = MakeUi();
  const auto& in = ui->In();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM (Customizado)")));
  QTest::mouseDClick(in.pSelectedCM, Qt::LeftButton);
  QVERIFY(in.pSelectedCM->isHidden());
  QVERIFY(!in.eSelectedCM->isHidden());
  Type(in.eSelectedCM, QStringLiteral("51.3015"));
  Leave(in.eSelectedCM);
  QVERIFY(in.eSelectedCM->isHidden());
  QVERIFY(!in.pSelectedCM->isHidden());
  QCOMPARE(in.pSelectedCM->text(), QStringLiteral("51° 30' 15.000\""));
  QCOMPARE(in.cbCM->currentText(), QStringLiteral("51.5041666667°"));

  // The Ok button does the same; thousandths of a second are kept.
  QTest::mouseDClick(in.pSelectedCM, Qt::LeftButton);
  Type(in.eSelectedCM, QStringLiteral("51.1530456"));
  ui->window.ESelectedCMInExit();
  QCOMPARE(in.pSelectedCM->text(), QStringLiteral("51° 15' 30.456\""));
  QCOMPARE(in.cbCM->currentText(), QStringLiteral("51.2584600000°"));

  // The built job carries the typed meridian, signed by the hemisphere.
  const std::optional<ConversionJob> job = ui->window.BuildJob();
  QVERIFY(job.has_value());
  QCOMPARE(job->input.centralMeridian, -51.25846);
  QVERIFY(ui->dialogs.messages.isEmpty());
}

// The meridian typed for a customised system is signed by the longitude
// hemisphere alone: a negative value names the west, it is never negated a
// second time (an east meridian some 100° away from the points).
void MainWindowTest::typedMeridianIsSignedOnceByTheHemisphere() {
  auto ui = MakeUi();
  const auto& in = ui->In();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Gauß-Krüger (Customizado)")));
  QCOMPARE(in.cbHLong->currentText(), QStringLiteral("Oeste (W)"));
  auto typeMeridian = [&](const QString& text) {
    QTest::mouseDClick(in.pSelectedCM, Qt::LeftButton);
    Type(in.eSelectedCM, text);
    Leave(in.eSelectedCM);
    const std::optional<ConversionJob> job = ui->window.BuildJob();
    return job ? job->input.centralMeridian : 0.0;
  };
  QCOMPARE(typeMeridian(QStringLiteral("-51.1530")), -51.2583333333);
  QCOMPARE(in.pSelectedCM->text(), QStringLiteral("51° 15' 30.000\""));
  QCOMPARE(in.cbCM->currentText(), QStringLiteral("51.2583333333°"));
  QCOMPARE(typeMeridian(QStringLiteral("51,1530")), -51.2583333333);
  // East chosen, then a negative value: it names the west.
  QVERIFY(Choose(in.cbHLong, QStringLiteral("Leste (E)")));
  QCOMPARE(typeMeridian(QStringLiteral("49.30")), 49.5);
  QCOMPARE(typeMeridian(QStringLiteral("-49.30")), -49.5);
  QCOMPARE(in.cbHLong->currentText(), QStringLiteral("Oeste (W)"));
  QVERIFY(ui->dialogs.messages.isEmpty());
}

// Every system of either side, the central-meridian lists and both
// customised systems included, gives a job without an error box.
void MainWindowTest::everySystemBuildsAJobWithoutAnErrorBox() {
  auto ui = MakeUi();
  UseLists(*ui);
  for (int k = 0; k < ui->In().cbCoordinatesSystems->count(); ++k) {
    for (Side s : {Side::In, Side::Out}) {
      const auto& c = ui->window.Controls(s);
      QVERIFY(ChooseIndex(c.cbCoordinatesSystems, k));
      const std::optional<ConversionJob> job = ui->window.BuildJob();
      QVERIFY2(job.has_value(), qPrintable(c.cbCoordinatesSystems->currentText()));
      const JobSide& side = s == Side::In ? job->input : job->output;
      if (c.gbAditionalInfo->isHidden()) continue;
      // West: the list entry's value, negated once.
      QCOMPARE(side.centralMeridian, -ParseCentralMeridianEntry(c.cbCM->currentText().toStdString()));
    }
  }
  QVERIFY(ui->dialogs.messages.isEmpty());
}

void MainWindowTest::centralMeridianThatIsNotANumber() {
  auto ui = MakeUi();
  const auto& in = ui->In();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Gauß-Krüger (Customizado)")));
  const QString panel = in.pSelectedCM->text();
  QTest::mouseDClick(in.pSelectedCM, Qt::LeftButton);
  Type(in.eSelectedCM, QStringLiteral("cinquenta"));
  Leave(in.eSelectedCM);
  QVERIFY(in.eSelectedCM->isHidden());
  QCOMPARE(in.pSelectedCM->text(), panel);
  QCOMPARE(Items(in.cbCM), QStringList{"51.0000000000°"});
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("cinquenta")));
  QCOMPARE(ui->dialogs.messages[0].icon, MessageIcon::Stop);
}

void MainWindowTest::geographicAndCartesianHideTheDetails() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  in.eFalseEast->setText(QStringLiteral("12345"));
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  const double scale = ui->window.ScaleFactor(Side::In);
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QVERIFY(in.gbAditionalInfo->isHidden());
  QVERIFY(!in.gbGeodeticReferential->isHidden());
  QCOMPARE(ui->window.ScaleFactor(Side::In), scale);
  QCOMPARE(in.eFalseEast->text(), QStringLiteral("200000"));  // kept from "LTM"
  QCOMPARE(Items(in.cbFileName).mid(0, 2), (QStringList{"ASCII - Coordenadas 3D(ID; Long, Lat, H)",
                                                       "ASCII - Coordenadas 2D(ID; Long, Lat)"}));
  // The ellipsoid group moves up into the space of the hidden details.
  ui->window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
  const int geographicTop = in.gbGeodeticReferential->y();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QCoreApplication::processEvents();
  QVERIFY(in.gbGeodeticReferential->y() > geographicTop);
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Cartesianas")));
  QVERIFY(in.gbAditionalInfo->isHidden());
  QCOMPARE(Items(in.cbFileName).mid(0, 3), (QStringList{kAscii3D, "ASCII - Coordenadas 2D(ID; X, Y)", "DXF"}));
}

void MainWindowTest::cartesianInputClearsTheHeightOptions() {
  auto ui = MakeUi();
  UseLists(*ui);
  TFormDXFAltimetry& dialog = ui->altimetry;
  const auto& panelIn = dialog.PanelOf(Side::In);
  dialog.SetChecked(panelIn.useMeanHeight, true);
  QVERIFY(ui->window.AltimetryState().inputUseMeanHeight);
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("Cartesianas")));
  const auto& in = ui->In();
  QVERIFY(!in.gbAltimetry->isEnabled());
  QVERIFY(!in.rbGometric->isEnabled());
  QVERIFY(!in.bbSetupAltimetria->isEnabled());
  QVERIFY(!panelIn.useMeanHeight->isChecked());
  QVERIFY(!ui->window.AltimetryState().inputUseMeanHeight);
  QVERIFY(panelIn.pAlt->isHidden());
  QVERIFY(!dialog.CBImportHeight()->isChecked());
  QVERIFY(dialog.CBImportHeight()->isHidden());
  QVERIFY(!ui->window.AltimetryState().importHeights);
  QCOMPARE(dialog.width(), 390);
  QCOMPARE(dialog.HeightIndex(Side::In), 1);

  // Another system enables the controls again but restores no option.
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(in.gbAltimetry->isEnabled());
  QVERIFY(in.bbSetupAltimetria->isEnabled());
  QVERIFY(!panelIn.pAlt->isHidden());
  QVERIFY(!dialog.CBImportHeight()->isHidden());
  QVERIFY(!dialog.CBImportHeight()->isChecked());
  QVERIFY(!panelIn.useMeanHeight->isChecked());
  QCOMPARE(dialog.width(), 774);

  // A cartesian output narrows the dialog to one panel too.
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("Cartesianas")));
  QVERIFY(dialog.PanelOf(Side::Out).pAlt->isHidden());
  QVERIFY(!ui->Out().gbAltimetry->isEnabled());
  QCOMPARE(dialog.width(), 390);
  QCOMPARE(dialog.BBOk()->x(), (dialog.PBottom()->width() - dialog.BBOk()->width()) / 2);
}

void MainWindowTest::outputHemispheresFollowAProjectedInput() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  const auto& out = ui->Out();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(in.cbHLong, QStringLiteral("Leste (E)")));
  QVERIFY(Choose(in.cbHLat, QStringLiteral("Norte (N)")));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("UTM")));
  QCOMPARE(out.cbHLong->currentText(), QStringLiteral("Leste (E)"));
  QCOMPARE(out.cbHLat->currentText(), QStringLiteral("Norte (N)"));
  QVERIFY(!out.cbHLong->isEnabled());
  QVERIFY(!out.cbHLat->isEnabled());
  // A northern UTM output starts at false northing 0.
  QCOMPARE(out.eFalseNorth->text(), QStringLiteral("0"));
  // A later change of the input hemisphere reaches the output.
  QVERIFY(Choose(in.cbHLat, QStringLiteral("Sul (S)")));
  QCOMPARE(out.cbHLat->currentText(), QStringLiteral("Sul (S)"));
  QCOMPARE(out.eFalseNorth->text(), QStringLiteral("10000000"));
  // The Oru outputs keep W, S locked whatever the input says.
  QVERIFY(Choose(in.cbHLong, QStringLiteral("Leste (E)")));
  QVERIFY(Choose(out.cbCoordinatesSystems, kLtmOru));
  QCOMPARE(out.cbHLong->currentText(), QStringLiteral("Oeste (W)"));
  QVERIFY(!out.cbHLong->isEnabled());
  // Geographic input: W, S and editable.
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("RTM")));
  QCOMPARE(out.cbHLong->currentText(), QStringLiteral("Oeste (W)"));
  QCOMPARE(out.cbHLat->currentText(), QStringLiteral("Sul (S)"));
  QVERIFY(out.cbHLong->isEnabled());
  QVERIFY(out.cbHLat->isEnabled());
}

void MainWindowTest::sameSystemCopiesTheInputSide() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  const auto& out = ui->Out();
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("UTM")));
  QCOMPARE(ui->window.ScaleFactor(Side::Out), 0.9996);
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM (Customizado)")));
  QTest::mouseDClick(in.pSelectedCM, Qt::LeftButton);
  Type(in.eSelectedCM, QStringLiteral("49.30"));
  Leave(in.eSelectedCM);
  QCOMPARE(in.pSelectedCM->text(), QStringLiteral("49° 30' 00.000\""));
  in.eFalseEast->setText(QStringLiteral("150000"));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("LTM (Customizado)")));
  QCOMPARE(ui->window.SelectedSystem(Side::Out), QStringLiteral("LTM (Customizado)"));
  QCOMPARE(ui->window.ScaleFactor(Side::Out), 0.999995);
  QCOMPARE(out.pSelectedCM->text(), in.pSelectedCM->text());
  QVERIFY(!out.pSelectedCM->isHidden());
  QVERIFY(out.cbCM->isHidden());
  QCOMPARE(Items(out.cbCM), Items(in.cbCM));
  QCOMPARE(out.eFalseEast->text(), QStringLiteral("150000"));
  QVERIFY(out.eFalseEast->isEnabled());
  QCOMPARE(out.cbAmplitudeZone->currentIndex(), -1);
  QVERIFY(!out.cbAmplitudeZone->isEnabled());
  QVERIFY(!out.cbHLong->isEnabled());
  QVERIFY(!out.cbHLat->isEnabled());
  // Copy path for a geographic pair: the details are hidden on both sides.
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QVERIFY(out.gbAditionalInfo->isHidden());
  QCOMPARE(Items(out.cbFileName).first(), QStringLiteral("ASCII - Coordenadas 3D(ID; Long, Lat, H)"));
}

void MainWindowTest::customEllipsoidPlaceholdersAndRememberedTexts() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  const auto& out = ui->Out();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(Choose(in.cbGeodeticReference, kCustom));
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("Insira um valor"));
  QCOMPARE(in.editReciprocalFlattening->text(), QStringLiteral("Insira um valor"));
  QVERIFY(in.editSemiMajorAxis->isEnabled());
  QVERIFY(Choose(out.cbGeodeticReference, kCustom));
  QCOMPARE(out.editSemiMajorAxis->text(), QStringLiteral("Outsira um valor"));

  ui->window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
  QTest::mouseClick(in.editSemiMajorAxis, Qt::LeftButton);
  QVERIFY(in.editSemiMajorAxis->text().isEmpty());
  QTest::keyClicks(in.editSemiMajorAxis, QStringLiteral("6378000"));
  Leave(in.editSemiMajorAxis);
  QCOMPARE(ui->window.CustomSemiMajorAxis(Side::In), QStringLiteral("6378000"));
  Enter(in.editReciprocalFlattening);
  QVERIFY(in.editReciprocalFlattening->text().isEmpty());
  QTest::keyClicks(in.editReciprocalFlattening, QStringLiteral("298.3"));
  Leave(in.editReciprocalFlattening);

  QVERIFY(Choose(in.cbGeodeticReference, kHayford));
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("6378388"));
  QVERIFY(!in.editSemiMajorAxis->isEnabled());
  Leave(in.editSemiMajorAxis);  // leaving with another ellipsoid stores nothing
  QCOMPARE(ui->window.CustomSemiMajorAxis(Side::In), QStringLiteral("6378000"));
  QVERIFY(Choose(in.cbGeodeticReference, kCustom));
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("6378000"));
  QCOMPARE(in.editReciprocalFlattening->text(), QStringLiteral("298.3"));
  // Clicking into a typed value keeps it.
  QTest::mouseClick(in.editSemiMajorAxis, Qt::LeftButton);
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("6378000"));
}

void MainWindowTest::lockingAnEllipsoidRewritesItsEdits() {
  auto ui = MakeUi();
  const auto& in = ui->In();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(in.cbGeodeticReference, kCustom));
  in.editSemiMajorAxis->setText(QStringLiteral("6000000"));
  QVERIFY(Choose(in.cbCoordinatesSystems, kLtmOru));
  QCOMPARE(in.cbGeodeticReference->currentText(), kGrs80);
  QCOMPARE(in.editSemiMajorAxis->text(), QStringLiteral("6378137"));
  QVERIFY(!in.editSemiMajorAxis->isEnabled());
}

void MainWindowTest::heightRadioRelabelsAndKeepsTheDialogInStep() {
  auto ui = MakeUi();
  UseLists(*ui);
  const auto& in = ui->In();
  QTest::mouseClick(in.rbGometric, Qt::LeftButton);
  QVERIFY(in.rbGometric->isChecked());
  QCOMPARE(in.cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, h)"));
  QCOMPARE(in.cbFileName->currentIndex(), 0);
  QCOMPARE(ui->altimetry.HeightIndex(Side::In), 0);
  QVERIFY(ui->window.AltimetryState().inputGeometric);
  // A geographic side names longitude first in both relabellings.
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("Geográficas")));
  QCOMPARE(in.cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; Long, Lat, h)"));
  QTest::mouseClick(in.rbOrthometric, Qt::LeftButton);
  QCOMPARE(in.cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; Long, Lat, H)"));
  QCOMPARE(ui->altimetry.HeightIndex(Side::In), 1);
  QVERIFY(!ui->window.AltimetryState().inputGeometric);
  // The output twin.
  QTest::mouseClick(ui->Out().rbGometric, Qt::LeftButton);
  QCOMPARE(ui->Out().cbFileName->itemText(0), QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, h)"));
  QCOMPARE(ui->altimetry.HeightIndex(Side::Out), 0);
}

void MainWindowTest::sameFileKindAgainChangesNothing() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  const QString input = dir.filePath(QStringLiteral("a.dxf"));
  WriteFile(input, "0\nEOF\n");
  ui->dialogs.PickFile(input);
  QTest::mouseClick(ui->In().editFileName, Qt::LeftButton);
  ui->dialogs.PickFile(dir.filePath(QStringLiteral("b.dxf")));
  QTest::mouseClick(ui->Out().editFileName, Qt::LeftButton);
  QVERIFY(ui->window.BBProcess()->isEnabled());
  QVERIFY(Choose(ui->In().cbFileName, QStringLiteral("DXF")));
  QVERIFY(Choose(ui->Out().cbFileName, QStringLiteral("DXF")));
  QVERIFY(ui->window.InputFileChosen());
  QVERIFY(ui->window.OutputFileChosen());
  QVERIFY(ui->window.BBProcess()->isEnabled());
  QCOMPARE(ui->In().editFileName->toolTip(), input);
  QCOMPARE(ui->In().cbCoordinatesSystems->count(), 8);
}

void MainWindowTest::listInputRemovesDxfFromTheOutputKinds() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  ui->dialogs.PickFile(dir.filePath(QStringLiteral("a.dxf")));
  ui->window.EditFileNameInClick();
  ui->dialogs.PickFile(dir.filePath(QStringLiteral("b.dxf")));
  ui->window.EditFileNameOutClick();
  QVERIFY(ui->window.BBProcess()->isEnabled());
  QVERIFY(ChooseIndex(ui->In().cbFileName, 1));
  QVERIFY(!Items(ui->Out().cbFileName).contains(QStringLiteral("DXF")));
  QCOMPARE(ui->Out().cbFileName->currentIndex(), 1);
  QVERIFY(!ui->window.InputFileChosen());
  QVERIFY(!ui->window.OutputFileChosen());
  QCOMPARE(ui->In().editFileName->text(), kNewFile);
  QCOMPARE(ui->Out().editFileName->text(), kNewFile);
  QVERIFY(ui->In().editFileName->toolTip().isEmpty());
  QVERIFY(!ui->window.BBProcess()->isEnabled());
  // Back to a drawing: "DXF" again, the output follows.
  QVERIFY(ChooseIndex(ui->In().cbFileName, 2));
  QCOMPARE(Items(ui->Out().cbFileName).value(2), QStringLiteral("DXF"));
  QCOMPARE(ui->Out().cbFileName->currentIndex(), 2);
}

void MainWindowTest::pickerTitlesFiltersAndExtensions() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  auto& d = ui->dialogs;
  ui->window.EditFileNameInClick();  // cancelled: nothing changes
  QCOMPARE(d.fileRequests.size(), 1);
  QCOMPARE(d.fileRequests[0].title, QStringLiteral("Abrir arquivo em formato DXF"));
  QCOMPARE(d.fileRequests[0].filter, QStringLiteral("Arquivo DXF (*.dxf)|*.dxf"));
  QCOMPARE(d.fileRequests[0].kind, FileDialogKind::Open);
  QVERIFY(d.fileRequests[0].mustExist);
  QVERIFY(!ui->window.InputFileChosen());

  d.PickFile(dir.filePath(QStringLiteral("desenho")));
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.fileRequests[1].title, QStringLiteral("Salvar arquivo em formato DXF"));
  QCOMPARE(ui->window.OutputFileName(), dir.filePath(QStringLiteral("desenho.dxf")));
  QCOMPARE(ui->Out().editFileName->toolTip(), ui->window.OutputFileName());

  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  ui->window.EditFileNameInClick();
  QCOMPARE(d.fileRequests[2].title, QStringLiteral("Abrir arquivo em formato ASCII"));
  QCOMPARE(d.fileRequests[2].filter, QStringLiteral("Arquivo ASCII (*.dat)|*.dat|Arquivo ASCII (*.txt)|*.txt"));
  d.PickFile(dir.filePath(QStringLiteral("result.xyz")), 1);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.fileRequests[3].title, QStringLiteral("Salvar arquivo em formato ASCII"));
  QCOMPARE(ui->window.OutputFileName(), dir.filePath(QStringLiteral("result.txt")));
  d.PickFile(dir.filePath(QStringLiteral("pontos.v2.txt")), 0);
  ui->window.EditFileNameOutClick();
  QCOMPARE(ui->window.OutputFileName(), dir.filePath(QStringLiteral("pontos.dat")));
  // A full stop in a folder name is not an extension.
  d.PickFile(QStringLiteral("/tmp/obra.2024/saida"), 1);
  ui->window.EditFileNameOutClick();
  QCOMPARE(ui->window.OutputFileName(), QStringLiteral("/tmp/obra.2024/saida.txt"));

  // Long paths are shortened in the panel, the tooltip keeps the whole path.
  const QString deep = QStringLiteral("/home/topografo/levantamentos/2024/fazenda_boa_vista/pontos_campo.txt");
  d.PickFile(deep);
  ui->window.EditFileNameInClick();
  QVERIFY(ui->In().editFileName->text().size() < deep.size());
  QVERIFY(ui->In().editFileName->text().endsWith(QStringLiteral("pontos_campo.txt")));
  QCOMPARE(ui->In().editFileName->toolTip(), deep);
  QVERIFY(d.messages.isEmpty());
}

// The save dialog never asks; the window asks once before overwriting the
// file it will write, also when the extension replacement leads to it.
void MainWindowTest::finalOutputNameOfAnExistingFileAsks() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  auto& d = ui->dialogs;
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString existing = dir.filePath(QStringLiteral("resultado.txt"));
  WriteFile(existing, "1 2 3 4\n");

  // "No": the dialog comes again; the second name is free and is taken.
  d.PickFile(dir.filePath(QStringLiteral("resultado.xyz")), 1);
  d.PickFile(dir.filePath(QStringLiteral("novo.xyz")), 1);
  d.answers.enqueue(MessageAnswer::No);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.fileRequests.size(), 2);
  QCOMPARE(d.messages.size(), 1);
  QVERIFY(d.messages[0].text.contains(QDir::toNativeSeparators(existing)));
  QCOMPARE(d.messages[0].caption, kMainCaption);
  QCOMPARE(d.messages[0].buttons, MessageButtons::YesNo);
  QCOMPARE(ui->window.OutputFileName(), dir.filePath(QStringLiteral("novo.txt")));

  // "Yes": the existing file is the output.
  d.Clear();
  d.PickFile(dir.filePath(QStringLiteral("resultado")), 1);
  d.answers.enqueue(MessageAnswer::Yes);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.messages.size(), 1);
  QCOMPARE(ui->window.OutputFileName(), existing);

  // The name typed already carries the final extension: one question too.
  d.Clear();
  d.PickFile(existing, 1);
  d.answers.enqueue(MessageAnswer::Yes);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.messages.size(), 1);
  QCOMPARE(d.unscriptedQuestions, 0);
  QCOMPARE(ui->window.OutputFileName(), existing);
  // A new file asks nothing.
  d.Clear();
  d.PickFile(dir.filePath(QStringLiteral("outro.txt")), 1);
  ui->window.EditFileNameOutClick();
  QVERIFY(d.messages.isEmpty());
}

// A shortened path of wide letters is still wider than a file panel: the
// panel keeps to its column and shows both ends of the path.
void MainWindowTest::longFileNamesStayReadableInTheirPanels() {
  auto ui = MakeUi();
  auto& d = ui->dialogs;
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  d.PickFile(QStringLiteral("/home/WWWWWWWWWWWW/MMMMMMMMMMMMMM/levantamento_GGGGGG.txt"));
  ui->window.EditFileNameInClick();
  d.PickFile(QStringLiteral("/home/WWWWWWWWWWWW/MMMMMMMMMMMMMM/levantamento_GGGGGG_saida.dat"));
  ui->window.EditFileNameOutClick();
  ui->window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
  for (const auto* c : {&ui->In(), &ui->Out()}) {
    const ClickPanel* panel = c->editFileName;
    const QRect inGroup(panel->mapTo(c->gbFile, QPoint(0, 0)), panel->size());
    QVERIFY(c->gbFile->contentsRect().contains(inGroup));
    const QRect inWindow(panel->mapTo(&ui->window, QPoint(0, 0)), panel->size());
    QVERIFY(ui->window.rect().contains(inWindow));
    const QString shown = panel->ShownText();
    QVERIFY(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width());
    QVERIFY2(shown.startsWith(panel->text().left(3)), qPrintable(shown));
    QVERIFY2(shown.endsWith(QFileInfo(panel->toolTip()).fileName().right(8)), qPrintable(shown));
    // The text itself (what the wizard copies) is the shortened path.
    QVERIFY(panel->text().endsWith(QFileInfo(panel->toolTip()).fileName()));
  }
}

void MainWindowTest::sameFileQuestions() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  auto& d = ui->dialogs;
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString a = dir.filePath(QStringLiteral("a.txt"));
  const QString b = dir.filePath(QStringLiteral("b.txt"));
  WriteFile(a, "1 2 3 4\n");
  d.PickFile(a);
  ui->window.EditFileNameInClick();
  d.PickFile(b, 1);
  ui->window.EditFileNameOutClick();
  QCOMPARE(ui->window.OutputFileName(), b);

  // Output named as the input: "No" keeps the earlier output.
  d.PickFile(a, 1);
  d.answers.enqueue(MessageAnswer::No);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.messages.size(), 1);
  QCOMPARE(d.messages[0].text,
           QStringLiteral("O arquivo de saída é igual ao arquivo de entrada.\n Tentar abrir novamente?"));
  QCOMPARE(d.messages[0].caption, QStringLiteral("Transformações de Coordenadas entre Referenciais Geodésicos"));
  QCOMPARE(d.messages[0].icon, MessageIcon::Exclamation);
  QCOMPARE(d.messages[0].buttons, MessageButtons::YesNo);
  QCOMPARE(ui->window.OutputFileName(), b);
  QVERIFY(ui->window.OutputFileChosen());

  // "Yes" opens the dialog again.
  d.PickFile(a, 1);
  d.PickFile(dir.filePath(QStringLiteral("c.txt")), 1);
  d.answers.enqueue(MessageAnswer::Yes);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.fileRequests.size(), 5);
  QCOMPARE(ui->window.OutputFileName(), dir.filePath(QStringLiteral("c.txt")));

  // Input named as the output, through a symbolic link.
  const QString c = dir.filePath(QStringLiteral("c.txt"));
  WriteFile(c, "");
  const QString link = dir.filePath(QStringLiteral("link.txt"));
  QVERIFY(QFile::link(c, link));
  d.PickFile(link);
  d.answers.enqueue(MessageAnswer::No);
  ui->window.EditFileNameInClick();
  QCOMPARE(d.messages.size(), 3);
  QCOMPARE(d.messages[2].text,
           QStringLiteral("O arquivo de entrada é igual ao arquivo de saída.\n Tentar abrir novamente?"));
  QCOMPARE(ui->window.InputFileName(), a);
  QCOMPARE(d.unscriptedQuestions, 0);
}

void MainWindowTest::finalOutputNameEqualToTheInputAsks() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  auto& d = ui->dialogs;
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString input = dir.filePath(QStringLiteral("pontos.txt"));
  WriteFile(input, "1 2 3 4\n");
  d.PickFile(input);
  ui->window.EditFileNameInClick();
  // "pontos.csv" with the .txt filter becomes the input's own name.
  d.PickFile(dir.filePath(QStringLiteral("pontos.csv")), 1);
  d.answers.enqueue(MessageAnswer::No);
  ui->window.EditFileNameOutClick();
  QCOMPARE(d.messages.size(), 1);
  QCOMPARE(d.messages[0].text,
           QStringLiteral("O arquivo de saída é igual ao arquivo de entrada.\n Tentar abrir novamente?"));
  QVERIFY(!ui->window.OutputFileChosen());
  QVERIFY(ui->window.OutputFileName().isEmpty());
}

void MainWindowTest::processButtonNeedsAChange() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  UseLists(*ui);
  auto& d = ui->dialogs;
  d.PickFile(dir.filePath(QStringLiteral("a.txt")));
  ui->window.EditFileNameInClick();
  QVERIFY(!ui->window.BBProcess()->isEnabled());  // no output yet
  d.PickFile(dir.filePath(QStringLiteral("b.txt")), 1);
  ui->window.EditFileNameOutClick();
  QVERIFY(ui->window.BBProcess()->isEnabled());
  const auto& in = ui->In();
  const auto& out = ui->Out();
  QVERIFY(Choose(in.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(out.cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(ui->window.BBProcess()->isEnabled());  // Hayford kept on the input
  QVERIFY(Choose(in.cbGeodeticReference, kGrs80));
  QVERIFY(!ui->window.BBProcess()->isEnabled());
  // A change of zone is a conversion: another output meridian enables it.
  QVERIFY(ChooseIndex(out.cbCM, in.cbCM->currentIndex() == 0 ? 1 : 0));
  QVERIFY(ui->window.BBProcess()->isEnabled());
  QVERIFY(ChooseIndex(out.cbCM, in.cbCM->currentIndex()));
  QVERIFY(!ui->window.BBProcess()->isEnabled());
  // So is another false origin.
  out.eFalseEast->setText(QStringLiteral("1"));
  QVERIFY(ui->window.BBProcess()->isEnabled());
  out.eFalseEast->setText(in.eFalseEast->text());
  QVERIFY(!ui->window.IsRunnable());
  QVERIFY(Choose(out.cbGeodeticReference, kHayford));
  QVERIFY(ui->window.BBProcess()->isEnabled());
  QVERIFY(Choose(out.cbGeodeticReference, kGrs80));
  QVERIFY(!ui->window.BBProcess()->isEnabled());
  // A typed custom ellipsoid that differs enables it when the edit is left.
  QVERIFY(Choose(out.cbGeodeticReference, kCustom));
  QVERIFY(ui->window.BBProcess()->isEnabled());  // "Outsira um valor" differs
}

// An SAD 69 pair loads IBGE's grid in the grid panel; a grid picked by the
// user that joins other frames says so (the run refuses it) and is remembered;
// the three parameters show their legs through SIRGAS 2000.
void MainWindowTest::oldFramesShowTheirGridOrLegs() {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());  // the remembered grid goes there
  auto ui = MakeUi();
  UseLists(*ui);
  auto& w = ui->window;
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(Choose(ui->In().cbGeodeticReference, QStringLiteral("SAD 69 (UGGI 1967)")));
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kGrs80));
  QCOMPARE(w.CBTransformation()->currentText(), QStringLiteral("Grade NTv2"));
  QVERIFY(!w.GBGrid()->isHidden() && w.GBIsogonal()->isHidden());
  QVERIFY(w.GBGrid()->EditGridFile()->text().endsWith(QStringLiteral("SAD69_003.gsb")));
  QCOMPARE(w.GBGrid()->LGridDescription()->text(), QStringLiteral("SAD69_003.gsb (SAD69 → SIRGAS00)"));

  const QString other = QDir(QFileInfo(w.GBGrid()->EditGridFile()->text()).path()).filePath("CA61_003.gsb");
  ui->dialogs.PickFile(other);
  w.GBGrid()->BBGridFile()->click();
  QVERIFY(w.GBGrid()->LGridDescription()->text().contains(QStringLiteral("CA61")));
  QCOMPARE(GridFilePanel::RememberedFile(), other);

  QVERIFY(ChooseIndex(w.CBTransformation(), 1));
  QVERIFY(w.GBGrid()->isHidden());
  QCOMPARE(w.LParameterLegs()->text(), QStringLiteral("Aplicado: SAD 69 → GRS80 (") + UserNotation("-67.35") +
                                           QStringLiteral(", ") + UserNotation("3.88") + QStringLiteral(", ") +
                                           UserNotation("-38.22") + QStringLiteral(")"));
  qunsetenv("XDG_CONFIG_HOME");
}

void MainWindowTest::parameterLookup() {
  auto ui = MakeUi();
  UseLists(*ui);
  auto& w = ui->window;
  const auto& e = w.IsogonalEdits();
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(ui->In().cbGeodeticReference, kGrs80));
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kHayford));
  // Set A, locked.
  const QStringList setA = {"0.9999960439", "250.1308088244", "-196.3368431836", "40.5161882379",
                            "-0.0008346768", "0.0013935515", "0.0002403906"};
  for (int k = 0; k < 7; ++k) {
    QCOMPARE(e[k]->text(), UserNotation(setA[k]));
    QVERIFY(!e[k]->isEnabled());
  }
  // Translation model: set C, every field locked.
  QVERIFY(ChooseIndex(w.CBTransformation(), 1));
  QCOMPARE(e[1]->text(), UserNotation(QStringLiteral("177.1851478228")));
  QCOMPARE(e[0]->text(), QStringLiteral("1"));
  QCOMPARE(e[4]->text(), QStringLiteral("0"));
  QCOMPARE(w.LastTransformationModel(), 1);
  // A custom output: neutral values that can be typed, scale included.
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kCustom));
  for (int k = 0; k < 7; ++k) {
    QCOMPARE(e[k]->text(), k == 0 ? QStringLiteral("1") : QStringLiteral("0"));
    QVERIFY(e[k]->isEnabled());
  }
  // Choosing the selected model again does not run the lookup.
  e[1]->setText(QStringLiteral("12,5"));
  QVERIFY(ChooseIndex(w.CBTransformation(), 1));
  QCOMPARE(e[1]->text(), QStringLiteral("12,5"));
  // The job reads the typed text leniently and rewrites the edit.
  QVERIFY(Choose(ui->In().cbGeodeticReference, kGrs80));  // lookup again: neutral
  e[1]->setText(QStringLiteral("12,5"));
  e[2]->setText(QStringLiteral("abc"));
  e[0]->setText(UserNotation(QStringLiteral("1.0")));
  ui->Out().editSemiMajorAxis->setText(QStringLiteral("6378000"));
  ui->Out().editReciprocalFlattening->setText(QStringLiteral("298"));
  const std::optional<ConversionJob> job = w.BuildJob();
  QVERIFY(job.has_value());
  QCOMPARE(job->isogonal.tx, 12.5);
  QCOMPARE(e[1]->text(), UserNotation(QStringLiteral("12.5")));
  QCOMPARE(ui->Out().eFalseNorth->text(), QStringLiteral("10000000"));  // no exponent form
  QCOMPARE(job->isogonal.ty, 0.0);
  QCOMPARE(e[2]->text(), QStringLiteral("0"));
  QVERIFY(job->isIdentity == false);
  QCOMPARE(job->output.semiMajorAxis, 6378000.0);
  QVERIFY(ui->dialogs.messages.isEmpty());
}

void MainWindowTest::affineModelQuestions() {
  auto ui = MakeUi();
  UseLists(*ui);
  auto& w = ui->window;
  auto& d = ui->dialogs;
  const auto& a = w.AffineEdits();
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(ui->In().cbGeodeticReference, kGrs80));
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("UTM")));
  // Both GRS80: no message, identity, locked.
  QVERIFY(ChooseIndex(w.CBTransformation(), 2));
  QVERIFY(d.messages.isEmpty());
  QVERIFY(w.GBIsogonal()->isHidden());
  QVERIFY(!w.GBAfim()->isHidden());
  const QStringList identity = {"0", "0", "0", "1", "0", "0", "0", "1", "0", "0", "0", "1"};
  for (int k = 0; k < 12; ++k) {
    QCOMPARE(a[k]->text(), identity[k]);
    QVERIFY(!a[k]->isEnabled());
  }
  // GRS80 to Hayford: the two messages; Yes fills set C's translation.
  d.answers.enqueue(MessageAnswer::Yes);
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kHayford));
  QCOMPARE(d.messages.size(), 2);
  QCOMPARE(d.messages[0].text, QStringLiteral("Não existem parâmetros definidos para esta transformação!"));
  QCOMPARE(d.messages[0].icon, MessageIcon::Warning);
  QCOMPARE(d.messages[1].text, QStringLiteral("Deseja introduzir parâmetros customizados?"));
  QCOMPARE(d.messages[1].icon, MessageIcon::Question);
  QCOMPARE(d.messages[1].buttons, MessageButtons::YesNo);
  QCOMPARE(a[0]->text(), UserNotation(QStringLiteral("177.1851478228")));
  QCOMPARE(a[3]->text(), QStringLiteral("1"));
  for (QLineEdit* edit : a) QVERIFY(edit->isEnabled());

  // From the isogonal model, No returns to it and looks it up again.
  QVERIFY(ChooseIndex(w.CBTransformation(), 0));
  QCOMPARE(w.IsogonalEdits()[0]->text(), UserNotation(QStringLiteral("0.9999960439")));
  d.Clear();
  d.answers.enqueue(MessageAnswer::No);
  QVERIFY(ChooseIndex(w.CBTransformation(), 2));
  QCOMPARE(d.messages.size(), 2);
  QCOMPARE(w.CBTransformation()->currentIndex(), 0);
  QCOMPARE(w.LastTransformationModel(), 0);
  QVERIFY(!w.GBIsogonal()->isHidden());
  QVERIFY(w.GBAfim()->isHidden());
  QCOMPARE(w.IsogonalEdits()[1]->text(), UserNotation(QStringLiteral("250.1308088244")));

  // Under the affine model a frame change that is refused asks once and
  // goes back to the seven parameters, looked up for the new pair: a
  // GRS80 -> Hayford run then applies set A, never neutral values.
  d.Clear();
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kGrs80));
  QVERIFY(ChooseIndex(w.CBTransformation(), 2));
  QVERIFY(d.messages.isEmpty());  // both GRS80 again
  d.answers.enqueue(MessageAnswer::No);
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kHayford));
  QCOMPARE(d.messages.size(), 2);
  QCOMPARE(d.unscriptedQuestions, 0);
  QCOMPARE(w.CBTransformation()->currentText(), QStringLiteral("7 Parâmetros - Transformação Isogonal "));
  QCOMPARE(w.LastTransformationModel(), 0);
  QVERIFY(!w.GBIsogonal()->isHidden());
  QVERIFY(w.GBAfim()->isHidden());
  for (QLineEdit* edit : a) QVERIFY(!edit->isEnabled());
  std::optional<ConversionJob> job = w.BuildJob();
  QVERIFY(job.has_value());
  QCOMPARE(job->model, TransformationModel::Isogonal);
  QVERIFY(!job->isIdentity);
  QCOMPARE(job->isogonal.tx, kIsogonalGrs80ToHayford.tx);
  QCOMPARE(job->isogonal.scale, kIsogonalGrs80ToHayford.scale);

  // Parameters accepted for one pair are not kept for another pair the user
  // refuses to type parameters for: the affine fields go back to neutral
  // and the seven parameters of a custom pair are there to be typed.
  d.Clear();
  d.answers.enqueue(MessageAnswer::Yes);
  QVERIFY(ChooseIndex(w.CBTransformation(), 2));
  QCOMPARE(a[0]->text(), UserNotation(QStringLiteral("177.1851478228")));
  d.Clear();
  d.answers.enqueue(MessageAnswer::No);
  QVERIFY(Choose(ui->In().cbGeodeticReference, kCustom));
  QCOMPARE(d.messages.size(), 2);
  QCOMPARE(w.CBTransformation()->currentIndex(), 0);
  for (int k = 0; k < 12; ++k) {
    QCOMPARE(a[k]->text(), identity[k]);
    QVERIFY(!a[k]->isEnabled());
  }
  for (QLineEdit* edit : w.IsogonalEdits()) QVERIFY(edit->isEnabled());
}

// Under the affine model with frames that have no parameters, a system change
// asks once per lookup of the handlers (output side, then input side); a
// system that locks its ellipsoid asks no more often than one that does not.
void MainWindowTest::lockedEllipsoidAddsNoAffineQuestions() {
  auto ui = MakeUi();
  UseLists(*ui);
  auto& w = ui->window;
  auto& d = ui->dialogs;
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(ui->In().cbGeodeticReference, kCustom));
  QVERIFY(Choose(ui->Out().cbCoordinatesSystems, QStringLiteral("UTM")));
  QVERIFY(Choose(ui->Out().cbGeodeticReference, kHayford));
  d.answers.enqueue(MessageAnswer::Yes);
  QVERIFY(ChooseIndex(w.CBTransformation(), 2));
  QCOMPARE(d.messages.size(), 2);

  auto questionsFor = [&](const QString& system) {
    d.Clear();
    for (int k = 0; k < 8; ++k) d.answers.enqueue(MessageAnswer::Yes);
    if (!Choose(ui->In().cbCoordinatesSystems, system)) return -1;
    return static_cast<int>(d.messages.size());
  };
  const int unlocked = questionsFor(QStringLiteral("RTM"));
  QCOMPARE(unlocked, 4);
  // "LTM (Oru)" locks GRS80 against the Hayford output.
  QCOMPARE(questionsFor(kLtmOru), unlocked);
  QCOMPARE(ui->In().cbGeodeticReference->currentText(), kGrs80);
  QCOMPARE(ui->In().editSemiMajorAxis->text(), QStringLiteral("6378137"));
  QCOMPARE(w.AffineEdits()[0]->text(), UserNotation(QStringLiteral("177.1851478228")));
  for (QLineEdit* edit : w.AffineEdits()) QVERIFY(edit->isEnabled());
}

void MainWindowTest::closingEndsTheApplication() {
  auto ui = MakeUi();
  ui->window.show();
  QTest::mouseClick(ui->window.BBClose(), Qt::LeftButton);
  QCOMPARE(ui->closeRequests, 1);
  ui->window.show();
  ui->window.close();
  QCOMPARE(ui->closeRequests, 2);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
