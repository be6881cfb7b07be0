// "Converter um ponto…": a point typed into the window equals, digit for
// digit, the line the batch converter writes for the same point and the same
// choices (the job comes from the converter's own job builder, which builds
// what the main window builds); either decimal mark; a bad entry shows its
// reason and no result; "Copiar" copies the line.

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "RunFiles.h"
#include "UiFixture.h"
#include "convert/CommandLine.h"
#include "convert/JobBuilder.h"
#include "ui/TFormPointConversion.h"

using namespace transref;
using namespace transref::testing;

namespace {

ConversionJob JobFor(std::vector<std::string> options) {
  options.push_back("entrada.txt");
  options.push_back("saida.txt");
  return convert::BuildConversionJob(convert::ParseCommandLine(options).options, std::nullopt);
}

void TypePoint(TFormPointConversion& window, const QStringList& fields) {
  for (int k = 0; k < fields.size(); ++k) Type(window.EditPointC(k), fields[k]);
}

}  // namespace

class PointConversionTest : public QObject {
  Q_OBJECT

 private slots:
  void typedPointEqualsTheBatchConverter_data();
  void typedPointEqualsTheBatchConverter();
  void eitherDecimalMarkGivesTheSamePoint();
  void badEntryShowsItsReasonAndNoResult();
  void copyPutsTheLineOnTheClipboard();
  void mainWindowButtonFollowsItsChoices();
};

void PointConversionTest::typedPointEqualsTheBatchConverter_data() {
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QStringList>("fields");
  QTest::newRow("UTM 22 S -> geográficas") << QStringList{"--from", "utm", "--to", "geographic"}
                                           << QStringList{"712345.678", "6671234.5", "35.2"};
  QTest::newRow("UTM 23 S -> LTM (Oru), Hayford -> GRS80")
      << QStringList{"--from", "utm", "--from-cm", "-45", "--from-ellipsoid", "hayford", "--to", "ltm-oru"}
      << QStringList{"187654.321", "7123456.789", "812.25"};
  QTest::newRow("geográficas -> UTM 2D") << QStringList{"--from", "geographic", "--to", "utm", "--from-kind", "ascii2d"}
                                         << QStringList{"-51.2084722", "-30.0346944"};
}

void PointConversionTest::typedPointEqualsTheBatchConverter() {
  QFETCH(QStringList, options);
  QFETCH(QStringList, fields);
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("ponto.txt"));
  const QString output = dir.filePath(QStringLiteral("convertido.txt"));
  QVERIFY(WriteAll(input, ("1 " + fields.join(QLatin1Char(' ')) + "\n").toUtf8()));
  const QByteArray batch = ConvertInBatch(QStringList{"--quiet"} + options + QStringList{input, output}, output);
  QVERIFY(batch.endsWith('\n'));

  std::vector<std::string> arguments;
  for (const QString& option : options) arguments.push_back(option.toStdString());
  TFormPointConversion window(JobFor(arguments));
  TypePoint(window, fields);
  QCOMPARE(window.EditPointLine()->text().toUtf8() + '\n', batch);
  // Each result edit holds that line's field.
  const QStringList written = QString::fromUtf8(batch).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (int k = 1; k < written.size(); ++k) QCOMPARE(window.EditPointOut(k - 1)->text(), written[k].trimmed());
  QVERIFY(window.BBPointCopy()->isEnabled());
}

// A comma and a point, an explicit plus, and degrees, minutes and seconds
// give the same point as its decimal twin. The sexagesimal rows need the
// full angle reader; with one that takes decimal degrees only they are
// skipped.
void PointConversionTest::eitherDecimalMarkGivesTheSamePoint() {
  TFormPointConversion window(JobFor({"--from", "geographic", "--to", "utm"}));
  TypePoint(window, {"-51.5", "-30.0625", "10.5"});
  const QString expected = window.EditPointLine()->text();
  QVERIFY(!expected.isEmpty());
  QVERIFY(window.EditPointOutDms(0)->isHidden());
  TypePoint(window, {"-51,5", "-30,0625", "10,5"});
  QCOMPARE(window.EditPointLine()->text(), expected);
  TypePoint(window, {" -51.50000 ", "-30.0625", "+10.50"});
  QCOMPARE(window.EditPointLine()->text(), expected);
  for (const QStringList& twin : {QStringList{"51°30'00\"W", "30°03'45\"S", "10.5"},
                                  QStringList{"51 30 0 O", "30 3 45,0 S", "10,5"}}) {
    TypePoint(window, twin);
    if (!window.Reason(0)->text().isEmpty()) QSKIP("the angle reader takes decimal degrees only");
    QCOMPARE(window.EditPointLine()->text(), expected);
  }
}

void PointConversionTest::badEntryShowsItsReasonAndNoResult() {
  TFormPointConversion window(JobFor({"--from", "utm", "--to", "geographic"}));
  QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabelPointC1"))->text(), QStringLiteral("&E:"));
  QVERIFY(window.Choices()->text().contains(QStringLiteral("UTM — MC 51° W, hemisfério S")));
  TypePoint(window, {"712345.678", "6671234.5", "35.2"});
  QVERIFY(!window.EditPointOut(0)->text().isEmpty());
  QVERIFY(!window.EditPointOutDms(1)->text().isEmpty());
  // A typo: its reason beside the field, nothing left of the old result.
  Type(window.EditPointC(1), QStringLiteral("6671234.5x"));
  QVERIFY(window.Reason(1)->text().contains(QStringLiteral("6671234.5x")));
  QVERIFY(window.Reason(0)->text().isEmpty());
  for (int k = 0; k < 3; ++k) QVERIFY(window.EditPointOut(k)->text().isEmpty());
  QVERIFY(window.EditPointOutDms(0)->text().isEmpty());
  QVERIFY(window.EditPointLine()->text().isEmpty());
  QVERIFY(!window.BBPointCopy()->isEnabled());
  Type(window.EditPointC(1), QStringLiteral("6671234.5"));
  QVERIFY(window.Reason(1)->text().isEmpty());
  QVERIFY(!window.EditPointLine()->text().isEmpty());

  // Geographic input: a latitude beyond the pole.
  TFormPointConversion geographic(JobFor({"--from", "geographic", "--to", "utm"}));
  TypePoint(geographic, {"-51", "-95", "0"});
  QVERIFY(geographic.Reason(1)->text().contains(QStringLiteral("latitude")));
  QVERIFY(geographic.EditPointLine()->text().isEmpty());
}

void PointConversionTest::copyPutsTheLineOnTheClipboard() {
  TFormPointConversion window(JobFor({"--from", "gk-oru", "--to", "ltm-oru"}));  // Gauß-Krüger (Oru) -> LTM (Oru)
  TypePoint(window, {"277933", "1676724", "3.12"});
  QGuiApplication::clipboard()->clear();
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.BBPointCopy(), Qt::LeftButton);
  QCOMPARE(QGuiApplication::clipboard()->text(), window.EditPointLine()->text());
  QVERIFY(window.EditPointLine()->text().startsWith(QStringLiteral("1 ")));
  // Every control a user works with is named for assistive technology.
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->focusPolicy() != Qt::NoFocus && widget->isVisible()) {
      QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
    }
  }
}

QTEST_MAIN(PointConversionTest)
void PointConversionTest::mainWindowButtonFollowsItsChoices() {
  auto ui = MakeUi();  // Gauß-Krüger (Oru) -> LTM (Oru), as the window starts
  QCOMPARE(ui->window.BBPoint()->text(), QStringLiteral("Converter um ponto…"));
  QTest::mouseClick(ui->window.BBPoint(), Qt::LeftButton);
  auto* point = ui->window.findChild<TFormPointConversion*>();
  QVERIFY(point != nullptr);
  QVERIFY(point->isVisible());
  TypePoint(*point, {"277933", "1676724", "3.12"});
  TFormPointConversion twin(JobFor({"--from", "gk-oru", "--to", "ltm-oru"}));
  TypePoint(twin, {"277933", "1676724", "3.12"});
  QVERIFY(!twin.EditPointLine()->text().isEmpty());
  QCOMPARE(point->EditPointLine()->text(), twin.EditPointLine()->text());

  // Another output system in the window: the point follows it.
  const QString before = point->EditPointLine()->text();
  QComboBox* systems = ui->Out().cbCoordinatesSystems;
  systems->setCurrentIndex(systems->findText(QStringLiteral("UTM")));
  ui->window.CBCoordinatesSystemsOutChange();
  point->Refresh();
  TFormPointConversion utm(JobFor({"--from", "gk-oru", "--to", "utm", "--to-cm", "-51", "--to-ellipsoid", "grs80"}));
  TypePoint(utm, {"277933", "1676724", "3.12"});
  QCOMPARE(point->EditPointLine()->text(), utm.EditPointLine()->text());
  QVERIFY(point->EditPointLine()->text() != before);
}

#include "PointConversionTest.moc"
