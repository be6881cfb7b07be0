// The end of a run: the summary after a real run (its first line, the count,
// the output, the warnings), "Abrir pasta" on the output's folder, and
// "Ver resultado" picturing a list and a drawing and saving the picture.

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "RunFiles.h"
#include "UiFixture.h"
#include "conversion/Driver.h"
#include "geodesy/ParameterSets.h"
#include "ui/TFormResultView.h"
#include "ui/TFormRunSummary.h"

using namespace transref;
using namespace transref::testing;

namespace {

const QString kSamples = QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/");

// Gauß-Krüger (Oru) on Hayford 1924 -> LTM (Oru) on GRS80, as the window's
// defaults.
ConversionJob DefaultJob(const QString& input, const QString& output, FileKind inputKind, FileKind outputKind) {
  ConversionJob job;
  job.inputPath = QFile::encodeName(input).toStdString();
  job.outputPath = QFile::encodeName(output).toStdString();
  job.inputKind = inputKind;
  job.outputKind = outputKind;
  job.isogonal = kIsogonalHayfordToGrs80;
  job.input = {CoordinateSystemKind::GaussKrugerOru, "Gauß-Krüger (Oru)", 6378388.0, 297.0, -51.0, false,
               200000.0, 5000000.0, 1.0, HeightKind::Orthometric};
  job.output = {CoordinateSystemKind::LtmOru, "LTM (Oru)", 6378137.0, 298.257222101, -51.0, false,
                300000.0, 5000000.0, 0.999995, HeightKind::Orthometric};
  return job;
}

// Converts and gives what the summary is fed with.
RunSummary Run(const ConversionJob& job) {
  NullProgressSink sink;
  const RunResult result = RunConversion(job, sink);
  if (!result.Succeeded()) return {};
  return {static_cast<std::size_t>(result.pointsWritten), job.inputKind == FileKind::Dxf, job.outputPath, {}};
}

bool MostlyWhite(const QImage& image) {
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) {
      if (image.pixelColor(x, y) != Qt::white) return false;
    }
  }
  return true;
}

}  // namespace

class RunResultTest : public QObject {
  Q_OBJECT

 private slots:
  void summaryCountsThePoints();
  void resultViewOfAListAndADrawing();
  void largeListIsThinned();
  void farCoordinatesStillDraw();
};

void RunResultTest::summaryCountsThePoints() {
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("pontos.txt"));
  QVERIFY(WriteAll(input, WholeMetreList(12) + "\n   \n"));
  const QString output = dir.filePath(QStringLiteral("saida.txt"));
  RunSummary summary = Run(DefaultJob(input, output, FileKind::Ascii3D, FileKind::Ascii3D));
  summary.warnings = {"Aviso de teste."};
  ScriptedUserDialogs dialogs;
  TFormRunSummary box(summary, FileKind::Ascii3D, CoordinateSystemKind::LtmOru, dialogs);
  const QStringList lines = box.Text().split(QLatin1Char('\n'));
  QCOMPARE(lines.value(0), QStringLiteral("O programa foi executado com sucesso!"));
  QCOMPARE(lines.value(1), QStringLiteral("12 pontos convertidos."));
  QVERIFY(lines.value(2).endsWith(output));
  QCOMPARE(lines.mid(3), (QStringList{"Avisos:", "- Aviso de teste."}));

  QList<QUrl> opened;
  box.SetFolderOpener([&](const QUrl& url) {
    opened << url;
    return true;
  });
  QTest::mouseClick(box.BBOpenFolder(), Qt::LeftButton);
  QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
  box.SetFolderOpener([](const QUrl&) { return false; });
  QTest::mouseClick(box.BBOpenFolder(), Qt::LeftButton);
  QCOMPARE(dialogs.messages.size(), 1);

  const RunSummary drawing{1, true, "desenho.dxf", {}};
  QCOMPARE(TFormRunSummary(drawing, FileKind::Dxf, CoordinateSystemKind::LtmOru, dialogs).Text(),
           QStringLiteral("O programa foi executado com sucesso!\n1 entidade do desenho convertida.\n"
                          "Arquivo de saída: desenho.dxf"));
}

void RunResultTest::resultViewOfAListAndADrawing() {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("lista.txt"));
  const QString drawing = dir.filePath(QStringLiteral("lote.dxf"));
  const RunSummary listRun = Run(DefaultJob(kSamples + "pontos_gk_oru.txt", list, FileKind::Ascii3D, FileKind::Ascii3D));
  const RunSummary drawingRun = Run(DefaultJob(kSamples + "lote_gk_oru.dxf", drawing, FileKind::Dxf, FileKind::Dxf));
  QVERIFY(listRun.convertedCount > 0 && drawingRun.convertedCount > 0);

  struct Case {
    RunSummary run;
    FileKind kind;
  };
  for (const Case& c : {Case{listRun, FileKind::Ascii3D}, Case{drawingRun, FileKind::Dxf}}) {
    ScriptedUserDialogs dialogs;
    TFormRunSummary box(c.run, c.kind, CoordinateSystemKind::LtmOru, dialogs);
    QTest::mouseClick(box.BBViewResult(), Qt::LeftButton);
    TFormResultView* view = box.ResultView();
    QVERIFY(view != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(view));
    QVERIFY(dialogs.messages.isEmpty());
    const ResultShapes& shapes = view->Canvas()->Shapes();
    if (c.kind == FileKind::Dxf) {
      QVERIFY(!shapes.paths.empty());
    } else {
      QCOMPARE(shapes.marks.size(), static_cast<std::size_t>(c.run.convertedCount));
    }
    // The picture lies in the output's coordinates: LTM (Oru) eastings
    // around 300 km.
    QVERIFY(shapes.minX > 200000.0 && shapes.maxX < 400000.0);

    const QString png = dir.filePath(c.kind == FileKind::Dxf ? "desenho" : "lista");
    dialogs.PickFile(png);
    QTest::mouseClick(view->BBSaveResultPng(), Qt::LeftButton);
    const QImage image(png + ".png");
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), view->Canvas()->size());
    QVERIFY(!MostlyWhite(image));
    view->close();
  }
}

void RunResultTest::largeListIsThinned() {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("grande.txt"));
  const std::size_t count = 2 * ResultCanvas::kMarkLimit + 1;
  QByteArray bytes;
  for (std::size_t k = 0; k < count; ++k) {
    bytes += QByteArray::number(qulonglong(k)) + ' ' + QByteArray::number(300000 + k % 300) + ' ' +
             QByteArray::number(6600000 + k / 300) + " 1.5\n";
  }
  QVERIFY(WriteAll(list, bytes));
  ScriptedUserDialogs dialogs;
  TFormResultView view(dialogs);
  QVERIFY(view.Open(list, FileKind::Ascii3D, CoordinateSystemKind::Utm));
  QCOMPARE(view.Canvas()->Shapes().marks.size(), count);
  QCOMPARE(view.Canvas()->MarkStride(), std::size_t{3});
  QVERIFY(view.Info()->text().contains(QStringLiteral("1 de cada 3")));
}

// Coordinates far larger than the axis step (a wrong unit, a misplaced
// column): the picture is still drawn, and saved.
void RunResultTest::farCoordinatesStillDraw() {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("longe.txt"));
  QVERIFY(WriteAll(list, "1 1e17 2e17 0\n2 1e17 2e17 0\n"));
  ScriptedUserDialogs dialogs;
  TFormResultView view(dialogs);
  QVERIFY(view.Open(list, FileKind::Ascii3D, CoordinateSystemKind::Utm));
  QVERIFY(view.SavePng(dir.filePath(QStringLiteral("longe.png"))));
}

QTEST_MAIN(RunResultTest)
#include "RunResultTest.moc"
