// One rule set: the same choices made in the main window (through its
// controls, offscreen) and given to transref-convert as options build the
// same ConversionJob, field by field. Every system pair, custom ellipsoids,
// zone changes, every model and the altimetry combinations.

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "UiFixture.h"
#include "convert/JobBuilder.h"
#include "conversion/model/JobModel.h"
#include "conversion/model/JobTexts.h"
#include "ui/ClickPanel.h"

using namespace transref;
using namespace transref::testing;

// The tables name only the choices a case makes.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Text = std::optional<std::string>;

struct SideChoice {
  std::string system;  // short name
  Text ellipsoid, cm, cmDms, hemisphere, falseEasting, heights, meanHeight, undulation;
};

struct Choices {
  std::string name;
  SideChoice in, out;
  std::string model = "7";
  Text params, affine;
  bool noImport = false;
  bool asks = false;  // a pair without published parameters: the window asks, "Sim"
};

std::vector<std::string> Arguments(const Choices& c) {
  std::vector<std::string> args = {"--from-kind", "ascii3d", "--to-kind", "ascii3d", "--model", c.model};
  const auto side = [&](const SideChoice& s, const std::string& prefix) {
    args.insert(args.end(), {prefix, s.system});
    const std::pair<const Text*, const char*> options[] = {
        {&s.ellipsoid, "-ellipsoid"}, {&s.cm, "-cm"}, {&s.cmDms, "-cm-dms"}, {&s.hemisphere, "-hemisphere"},
        {&s.falseEasting, "-false-easting"}, {&s.heights, "-heights"}, {&s.meanHeight, "-mean-height"},
        {&s.undulation, "-undulation"}};
    for (const auto& [value, suffix] : options)
      if (*value) args.insert(args.end(), {prefix + suffix, **value});
  };
  side(c.in, "--from");
  side(c.out, "--to");
  if (c.params) args.insert(args.end(), {"--params", *c.params});
  if (c.affine) args.insert(args.end(), {"--affine", *c.affine});
  if (c.noImport) args.push_back("--no-import-heights");
  args.insert(args.end(), {"in.txt", "out.txt"});
  return args;
}

// Numbers with the point whatever the process locale.
double Number(const std::string& text) { return ReadNumberText(text, false).value(); }

std::vector<double> Split(const std::string& text) {
  std::vector<double> values;
  for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
    comma = text.find(',', start);
    values.push_back(Number(text.substr(start, comma - start)));
  }
  return values;
}

// In the user's notation, as typed into the window.
QString Typed(double value) { return LocaleNumberText(value); }

void Leave(QWidget* field) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(field, &out);
}

// The choices of one side made in the window, in the order a user makes them.
void ChooseSide(Ui& ui, Side s, const SideChoice& choice) {
  const TFormDXFTransform::SideControls& c = ui.window.Controls(s);
  const CoordinateSystemKind kind = *SystemFromName(choice.system);
  QVERIFY(Choose(c.cbCoordinatesSystems, FromUtf8(SystemInfo(kind).label)));
  if (!choice.ellipsoid || choice.ellipsoid->find(',') == std::string::npos) {
    const ReferenceFrame frame = choice.ellipsoid ? *FrameFromName(*choice.ellipsoid) : ReferenceFrame::Grs80;
    if (c.cbGeodeticReference->isEnabled()) QVERIFY(ChooseIndex(c.cbGeodeticReference, static_cast<int>(frame)));
  } else {
    QVERIFY(ChooseIndex(c.cbGeodeticReference, static_cast<int>(ReferenceFrame::Custom)));
    const std::vector<double> v = Split(*choice.ellipsoid);
    Type(c.editSemiMajorAxis, QString::number(v[0], 'g', 15));
    Leave(c.editSemiMajorAxis);
    Type(c.editReciprocalFlattening, QString::number(v[1], 'g', 15));
    Leave(c.editReciprocalFlattening);
  }
  if (choice.hemisphere) QVERIFY(ChooseIndex(c.cbHLat, *choice.hemisphere == "N" ? 0 : 1));
  if (choice.cm) {
    const double degrees = Number(*choice.cm);
    if (c.cbHLong->isEnabled()) QVERIFY(ChooseIndex(c.cbHLong, std::signbit(degrees) ? 1 : 0));
    int index = -1;
    for (int k = 0; k < c.cbCM->count(); ++k)
      if (std::fabs(ParseCentralMeridianEntry(c.cbCM->itemText(k).toStdString()) - std::fabs(degrees)) < 1e-9) index = k;
    QVERIFY(index >= 0);
    c.cbCM->setCurrentIndex(index);
  }
  if (choice.cmDms) {
    std::string magnitude = *choice.cmDms;
    if (magnitude[0] == '-') {
      magnitude.erase(0, 1);
      if (c.cbHLong->isEnabled()) QVERIFY(ChooseIndex(c.cbHLong, 1));
    }
    emit c.pSelectedCM->doubleClicked();
    Type(c.eSelectedCM, Typed(Number(magnitude)));
    Leave(c.eSelectedCM);
  }
  if (choice.falseEasting) Type(c.eFalseEast, FromUtf8(*choice.falseEasting));
}

void ChooseHeights(Ui& ui, Side s, const SideChoice& choice) {
  const TFormDXFAltimetry::Panel& p = ui.altimetry.PanelOf(s);
  if (choice.heights == "geometric") p.geometric->click();
  if (choice.meanHeight) {
    p.useMeanHeight->click();
    p.eHMean->setText(Typed(Number(*choice.meanHeight)));
  }
  if (choice.undulation) {
    p.calcOrthometric->click();
    p.eWMean->setText(Typed(Number(*choice.undulation)));
  }
}

std::optional<ConversionJob> ThroughTheWindow(const Choices& c, int& unscripted) {
  auto ui = MakeUi();
  TFormDXFTransform& w = ui->window;
  ChooseIndex(ui->In().cbFileName, 0);  // 3D lists: every system offered
  if (c.asks) ui->dialogs.answers.enqueue(MessageAnswer::Yes);
  ChooseSide(*ui, Side::In, c.in);
  ChooseSide(*ui, Side::Out, c.out);
  // A cartesian side has cleared (and hidden) the import already.
  if (c.noImport && ui->altimetry.CBImportHeight()->isChecked()) ui->altimetry.CBImportHeight()->click();
  ChooseHeights(*ui, Side::In, c.in);
  ChooseHeights(*ui, Side::Out, c.out);
  ui->altimetry.BBOkClick();
  if (c.affine) ui->dialogs.answers.enqueue(MessageAnswer::Yes);
  ChooseIndex(w.CBTransformation(), c.model == "7" ? 0 : c.model == "3" ? 1 : c.model == "12" ? 2 : 3);
  if (c.params) {
    const std::vector<double> v = Split(*c.params);  // TX..RZ, scale: the edits are scale, TX..RZ
    for (int k = 0; k < 7; ++k) Type(w.IsogonalEdits()[static_cast<std::size_t>(k)], Typed(v[static_cast<std::size_t>((k + 6) % 7)]));
  }
  if (c.affine) {
    const std::vector<double> v = Split(*c.affine);
    for (std::size_t k = 0; k < 12; ++k) Type(w.AffineEdits()[k], Typed(v[k]));
  }
  unscripted = ui->dialogs.unscriptedQuestions;
  return w.BuildJob();
}

#define SAME(field) QCOMPARE(window.field, batch.field)

void CompareSide(const JobSide& window, const JobSide& batch) {
  SAME(system);
  SAME(systemLabel);
  SAME(frame);
  SAME(semiMajorAxis);
  SAME(inverseFlattening);
  SAME(centralMeridian);
  SAME(northern);
  SAME(falseEasting);
  SAME(falseNorthing);
  SAME(scaleFactor);
  SAME(heightKind);
}

void CompareJobs(const ConversionJob& window, const ConversionJob& batch) {
  SAME(inputKind);
  SAME(outputKind);
  SAME(model);
  SAME(grid.path);
  SAME(isIdentity);
  const IsogonalParameters& wi = window.isogonal;
  const IsogonalParameters& bi = batch.isogonal;
  QCOMPARE((std::array{wi.tx, wi.ty, wi.tz, wi.rx, wi.ry, wi.rz, wi.scale}),
           (std::array{bi.tx, bi.ty, bi.tz, bi.rx, bi.ry, bi.rz, bi.scale}));
  const AffineParameters& wa = window.affine;
  const AffineParameters& ba = batch.affine;
  QCOMPARE((std::array{wa.tx, wa.ty, wa.tz, wa.a, wa.b, wa.c, wa.d, wa.e, wa.f, wa.g, wa.h, wa.i}),
           (std::array{ba.tx, ba.ty, ba.tz, ba.a, ba.b, ba.c, ba.d, ba.e, ba.f, ba.g, ba.h, ba.i}));
  CompareSide(window.input, batch.input);
  CompareSide(window.output, batch.output);
  SAME(altimetry.importHeights);
  SAME(altimetry.inputGeometric);
  SAME(altimetry.outputGeometric);
  SAME(altimetry.inputUseMeanHeight);
  SAME(altimetry.outputUseMeanHeight);
  SAME(altimetry.inputMeanUndulation);
  SAME(altimetry.outputMeanUndulation);
  SAME(altimetry.inputMeanHeight);
  SAME(altimetry.outputMeanHeight);
  SAME(altimetry.inputUndulation);
  SAME(altimetry.outputUndulation);
}

std::vector<Choices> Cases() {
  std::vector<Choices> cases;
  // Every system pair; a pair of one system gets another ellipsoid where the
  // system lets it be chosen (else nothing would be converted).
  for (int i = 0; i < kCoordinateSystemCount; ++i) {
    for (int o = 0; o < kCoordinateSystemCount; ++o) {
      const auto in = static_cast<CoordinateSystemKind>(i);
      const auto out = static_cast<CoordinateSystemKind>(o);
      Choices c{"pair " + std::to_string(i) + "-" + std::to_string(o), {}, {}};
      c.in.system = std::string(SystemInfo(in).label);
      c.out.system = std::string(SystemInfo(out).label);
      if (in == out) {
        if (SystemInfo(in).lockedFrame) continue;
        c.out.ellipsoid = "hayford";
      }
      cases.push_back(c);
    }
  }
  const auto add = [&](Choices c) { cases.push_back(std::move(c)); };
  // Custom ellipsoids, typed parameters.
  add({"custom ellipsoid", {"utm", "6378160,298.25", "-45"}, {"ltm"}, "7", "-57,1,-41,0.0001,-0.0002,0.0003,1.0000012"});
  add({"custom to utm north", {"geographic", "6378249.145,293.465"}, {"utm", {}, "-45", {}, "N"}, "3",
       "10,20,30,0,0,0,1"});
  // Zone changes and hemispheres.
  add({"utm zone", {"utm", {}, "-45"}, {"utm", {}, "-51"}});
  add({"ltm meridian", {"ltm", "hayford", "-48.5"}, {"gk"}});
  add({"utm north", {"utm", {}, "-45", {}, "N"}, {"rtm", "hayford"}});
  add({"east", {"gk", {}, "10.5"}, {"ltm", "hayford"}});
  add({"custom meridian", {"gk-custom", {}, {}, "-48.3", {}, "150000"}, {"gk-custom", "hayford"}});
  add({"custom zone", {"ltm-custom", {}, {}, "-51.1530"}, {"utm", {}, "-51", {}, "S"}});
  add({"geographic to utm", {"geographic"}, {"utm", {}, "-45", {}, "N"}});
  // Every model.
  add({"translation", {"gk-oru"}, {"ltm-oru"}, "3"});
  add({"affine typed", {"gk-oru"}, {"ltm-oru"}, "12", {}, "-177.2,211.1,-31.6,1,0.00001,0,0,1,0,0,0,0.99999"});
  add({"affine same frame", {"utm"}, {"ltm"}, "12"});
  // Old frames: IBGE's grid, legs through SIRGAS 2000, a pair without parameters.
  add({"sad69 grid", {"utm", "sad69", "-45"}, {"utm", "sirgas2000", "-45"}, "grid"});
  add({"sad69 to corrego alegre", {"utm", "sad69", "-45"}, {"geographic", "corrego-alegre"}, "3"});
  add({"corrego alegre 1961 typed", {"utm", "corrego-alegre-61", "-45"}, {"ltm", "sad69-96"}, "7",
       "1,2,3,0,0,0,1", {}, false, true});
  // Altimetry.
  add({"import geometric", {"gk-oru", {}, {}, {}, {}, {}, "geometric", "40", "4.95"}, {"ltm-oru"}});
  add({"own output heights", {"gk-oru", {}, {}, {}, {}, {}, "geometric"},
       {"ltm-oru", {}, {}, {}, {}, {}, "geometric", "12.5", "-2.5"}, "7", {}, {}, true});
  add({"cartesian input", {"cartesian"}, {"utm", {}, "-45", {}, {}, {}, {}, "12"}, "7", {}, {}, true});
  add({"cartesian output", {"geographic", {}, {}, {}, {}, {}, "geometric", "3"}, {"cartesian"}});
  return cases;
}

}  // namespace

class JobEqualityTest : public QObject {
  Q_OBJECT

 private slots:
  void windowAndConverterBuildTheSameJob_data() {
    QTest::addColumn<int>("index");
    const std::vector<Choices> cases = Cases();
    for (std::size_t k = 0; k < cases.size(); ++k) QTest::newRow(cases[k].name.c_str()) << static_cast<int>(k);
  }

  void windowAndConverterBuildTheSameJob() {
    QFETCH(int, index);
    const Choices c = Cases()[static_cast<std::size_t>(index)];
    const std::vector<std::string> arguments = Arguments(c);
    const ConversionJob batch =
        convert::BuildConversionJob(convert::ParseCommandLine(arguments).options, std::nullopt);
    int unscripted = 0;
    const std::optional<ConversionJob> window = ThroughTheWindow(c, unscripted);
    QVERIFY(window.has_value());
    QCOMPARE(unscripted, 0);
    CompareJobs(*window, batch);
  }

  // Two sides that change nothing: the window keeps the process button
  // disabled and the converter refuses.
  void nothingToConvertOnBothSides() {
    for (const char* system : {"ltm-oru", "gk-oru", "utm", "geographic"}) {
      auto ui = MakeUi();
      ChooseIndex(ui->In().cbFileName, 0);
      ChooseSide(*ui, Side::In, {system});
      ChooseSide(*ui, Side::Out, {system});
      QVERIFY(!ui->window.Model().SidesDiffer());
      bool refused = false;
      try {
        convert::BuildConversionJob(convert::ParseCommandLine({"--from", system, "--to", system, "a", "b"}).options,
                                    FileKind::Ascii3D);
      } catch (const convert::UsageError&) {
        refused = true;
      }
      QVERIFY(refused);
    }
  }
};

QTEST_MAIN(JobEqualityTest)
#include "JobEqualityTest.moc"
