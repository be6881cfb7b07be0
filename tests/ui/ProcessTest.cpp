// Runs started from the main window: a drawing's output compared byte for
// byte with the batch converter's, failures and their message boxes, the
// question before processing the same output again, and the progress window.
// (A point list converted like the batch converter, on the users' own
// desktop: DesktopSessionTest.)

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "RunFiles.h"
#include "UiFixture.h"
#include "ui/ClickPanel.h"
#include "conversion/Driver.h"
#include "geodesy/ParameterSets.h"

using namespace transref;
using namespace transref::testing;

namespace {

const QString kSamples = QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/");

// The reference output of a drawing for the default systems (Gauß-Krüger
// (Oru) on Hayford 1924 -> LTM (Oru) on GRS80): the batch converter when it
// is built, else the engine run on a job put together here from the same
// settings.
QByteArray ReferenceDrawing(const QString& input, const QString& output) {
#ifdef TRANSREF_CONVERT_PROGRAM
  if (QFile::exists(QStringLiteral(TRANSREF_CONVERT_PROGRAM))) {
    return ConvertInBatch({QStringLiteral("--quiet"), QStringLiteral("--from-kind"),
                           QStringLiteral("dxf"), input, output},
                          output);
  }
#endif
  ConversionJob job;
  job.inputPath = QFile::encodeName(input).toStdString();
  job.outputPath = QFile::encodeName(output).toStdString();
  job.inputKind = job.outputKind = FileKind::Dxf;
  job.isogonal = kIsogonalHayfordToGrs80;
  job.isIdentity = false;
  job.input = {CoordinateSystemKind::GaussKrugerOru, "Gauß-Krüger (Oru)", 6378388.0, 297.0, -51.0, false,
               200000.0, 5000000.0, 1.0, HeightKind::Orthometric};
  job.output = {CoordinateSystemKind::LtmOru, "LTM (Oru)", 6378137.0, 298.257222101, -51.0, false,
                300000.0, 5000000.0, 0.999995, HeightKind::Orthometric};
  NullProgressSink sink;
  if (!RunConversion(job, sink).Succeeded()) return {};
  return ReadAll(output);
}

void PickFiles(Ui& ui, const QString& input, const QString& output, int filter = 0) {
  ui.dialogs.PickFile(input);
  QTest::mouseClick(ui.In().editFileName, Qt::LeftButton);
  ui.dialogs.PickFile(output, filter);
  QTest::mouseClick(ui.Out().editFileName, Qt::LeftButton);
}

// A short list of whole metres in the temporary folder.
QString ShortList(const QTemporaryDir& dir) {
  const QString path = dir.filePath(QStringLiteral("pontos.txt"));
  return WriteAll(path, WholeMetreList(12)) ? path : QString();
}

}  // namespace

class ProcessTest : public QObject {
  Q_OBJECT

 private slots:
  void drawingRunMatchesTheBatchConverter();
  void processingTheSameOutputAgainAsks();
  void failingLineStopsTheRun();
  void scaleThatIsNotANumber();
  void inputThatCannotBeOpened();
  void enterPressesTheProcessButton();
  void progressRepaintsOnlyOnWholePercentages();
  void progressWindowLayout();
  void progressStepsClampingAndReset();
};

void ProcessTest::drawingRunMatchesTheBatchConverter() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  const QString output = dir.filePath(QStringLiteral("janela"));
  PickFiles(*ui, kSamples + QStringLiteral("lote_gk_oru.dxf"), output);
  QCOMPARE(ui->window.OutputFileName(), output + QStringLiteral(".dxf"));
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("TSC_OBRU"));
  const QByteArray produced = ReadAll(output + QStringLiteral(".dxf"));
  const QByteArray reference =
      ReferenceDrawing(kSamples + QStringLiteral("lote_gk_oru.dxf"), dir.filePath(QStringLiteral("lote.dxf")));
  QVERIFY(!reference.isEmpty());
  QCOMPARE(produced, reference);
  QVERIFY(produced != ReadAll(kSamples + QStringLiteral("lote_gk_oru.dxf")));
}

void ProcessTest::processingTheSameOutputAgainAsks() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString output = dir.filePath(QStringLiteral("saida.dat"));
  PickFiles(*ui, ShortList(dir), output);
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QVERIFY(QFile::remove(output));

  // Same output name: the question; "No" runs nothing.
  ui->dialogs.Clear();
  ui->dialogs.answers.enqueue(MessageAnswer::No);
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  const MessageBoxRequest& question = ui->dialogs.messages[0];
  QCOMPARE(question.text, QStringLiteral("O arquivo de saída acabou de ser processado.\n Processar novamente?"));
  QCOMPARE(question.caption, QStringLiteral("Transformações de Coordenadas entre Referenciais Geodésicos"));
  QCOMPARE(question.icon, MessageIcon::Question);
  QCOMPARE(question.buttons, MessageButtons::YesNo);
  QVERIFY(!QFile::exists(output));

  // "Yes" runs again.
  ui->dialogs.Clear();
  ui->dialogs.answers.enqueue(MessageAnswer::Yes);
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 2);
  QVERIFY(QFile::exists(output));

  // Another output name (same input) does not ask.
  ui->dialogs.Clear();
  ui->dialogs.PickFile(dir.filePath(QStringLiteral("outra.dat")));
  ui->window.EditFileNameOutClick();
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("TSC_OBRU"));
  QCOMPARE(ui->dialogs.unscriptedQuestions, 0);
}

void ProcessTest::failingLineStopsTheRun() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  // A good run first, so that the last names are known.
  const QString good = dir.filePath(QStringLiteral("boa.dat"));
  const QString goodInput = ShortList(dir);
  PickFiles(*ui, goodInput, good);
  ui->window.BBProcessClick();
  QCOMPARE(ui->window.LastOutputPath(), good);

  const QString input = dir.filePath(QStringLiteral("falha.txt"));
  QVERIFY(WriteAll(input, "1 177938 1676745 3\n"
                          "2 179001 1675982 10\n"
                          "3 183153 1673240\n"
                          "4 182298 1689058 7\n"));
  const QString output = dir.filePath(QStringLiteral("parcial.dat"));
  ui->dialogs.Clear();
  PickFiles(*ui, input, output);
  ui->window.BBProcessClick();

  QCOMPARE(ui->dialogs.messages.size(), 1);
  const MessageBoxRequest& failure = ui->dialogs.messages[0];
  QVERIFY2(failure.text.contains(QStringLiteral("linha 3")), qPrintable(failure.text));
  QCOMPARE(failure.caption, QStringLiteral("O procedimento será interrompido!"));
  QCOMPARE(failure.icon, MessageIcon::Stop);
  QVERIFY(ui->progress.isHidden());
  QCOMPARE(ui->window.LastOutputPath(), good);
  QCOMPARE(ui->window.LastInputPath(), goodInput);
  // No half-written output is left.
  QVERIFY(!QFile::exists(output));
  // The failed run did not count: the next press does not ask.
  ui->dialogs.Clear();
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.unscriptedQuestions, 0);
  QCOMPARE(ui->dialogs.messages.size(), 1);
}

void ProcessTest::scaleThatIsNotANumber() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString output = dir.filePath(QStringLiteral("nada.dat"));
  PickFiles(*ui, kSamples + QStringLiteral("pontos_gk_oru.txt"), output);
  ui->window.IsogonalEdits()[0]->setText(QStringLiteral("1,00000x"));
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 2);
  QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("1,00000x")));
  QCOMPARE(ui->dialogs.messages[0].icon, MessageIcon::Stop);
  QCOMPARE(ui->dialogs.messages[1].text, QStringLiteral("Erro na leitura dos Parâmetros de Transformação!"));
  QCOMPARE(ui->dialogs.messages[1].caption, QStringLiteral("O procedimento será interrompido!"));
  QCOMPARE(ui->dialogs.messages[1].icon, MessageIcon::Stop);
  QVERIFY(!QFile::exists(output));
  QVERIFY(ui->window.LastOutputPath().isEmpty());

  // An ellipsoid that cannot be read stops the run before any file too.
  ui->dialogs.Clear();
  ui->window.IsogonalEdits()[0]->setText(QStringLiteral("1"));
  QVERIFY(Choose(ui->In().cbCoordinatesSystems, QStringLiteral("LTM")));
  QVERIFY(Choose(ui->In().cbGeodeticReference, QStringLiteral("Customizado")));
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].text, QStringLiteral("Erro na leitura dos Parâmetros do Elipsóide!"));
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("O procedimento será interrompido!"));
  QVERIFY(!QFile::exists(output));
}

void ProcessTest::inputThatCannotBeOpened() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  AcknowledgeBoxHook hook(ui->dialogs);
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString input = dir.filePath(QStringLiteral("sumiu.txt"));
  QVERIFY(WriteAll(input, "1 177938.743 1676745.581 3.12\n"));
  PickFiles(*ui, input, dir.filePath(QStringLiteral("saida.dat")));
  QVERIFY(QFile::remove(input));
  ui->window.BBProcessClick();
  // One box naming the file and the reason.
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("O procedimento será interrompido!"));
  QCOMPARE(ui->dialogs.messages[0].icon, MessageIcon::Stop);
  QCOMPARE(ui->dialogs.messages[0].buttons, MessageButtons::Ok);
  QCOMPARE(ui->dialogs.messages[0].text, QStringLiteral("Não foi possível abrir o arquivo de entrada \"") + input +
                                             QStringLiteral("\": o arquivo não existe."));
  QVERIFY(ui->progress.isHidden());
  QVERIFY(ui->window.LastOutputPath().isEmpty());
}

void ProcessTest::enterPressesTheProcessButton() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  ui->window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
  QTest::keyClick(&ui->window, Qt::Key_Return);  // nothing chosen: nothing runs
  QVERIFY(ui->dialogs.messages.isEmpty());
  PickFiles(*ui, ShortList(dir), dir.filePath(QStringLiteral("enter.dat")));
  QTest::keyClick(&ui->window, Qt::Key_Return);
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("TSC_OBRU"));
}

void ProcessTest::progressRepaintsOnlyOnWholePercentages() {
  QTemporaryDir dir;
  auto ui = MakeUi();
  QVERIFY(ChooseIndex(ui->In().cbFileName, 0));
  const QString input = dir.filePath(QStringLiteral("muitos.txt"));
  QVERIFY(WriteAll(input, WholeMetreList(5000)));
  PickFiles(*ui, input, dir.filePath(QStringLiteral("muitos.dat")));
  ui->window.BBProcessClick();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("TSC_OBRU"));
  // 5000 lines, at most one trip to the screen per whole percentage (plus
  // the one after showing).
  QVERIFY(ui->progress.RepaintCount() >= 2);
  QVERIFY2(ui->progress.RepaintCount() <= 102, qPrintable(QString::number(ui->progress.RepaintCount())));
  QCOMPARE(ui->progress.ProgressBar()->value(), 100);
  QCOMPARE(ui->progress.windowTitle(), QStringLiteral("Processando transformação"));
  QCOMPARE(ui->progress.LProgress()->text(), QStringLiteral("Convertendo Arquivo"));
  QVERIFY(ui->progress.isHidden());
}

void ProcessTest::progressWindowLayout() {
  TFormProcessBar1 bar;
  QCOMPARE(bar.size(), QSize(437, 87));
  QCOMPARE(bar.windowTitle(), QStringLiteral("Barra de Progesso"));
  QVERIFY(bar.windowFlags().testFlag(Qt::Tool));
  QVERIFY(bar.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(!bar.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QCOMPARE(bar.cursor().shape(), Qt::WaitCursor);
  QCOMPARE(bar.LProgress()->text(), QStringLiteral("Processo1:"));
  QCOMPARE(bar.LRestTime()->text(), QStringLiteral("Tempo restante: 000h 00m 00s"));
  QVERIFY(bar.LRestTime()->alignment().testFlag(Qt::AlignRight));
  QVERIFY(bar.LProgress()->font().bold());
  bar.SetStage("Lendo cabeçalho do arquivo de entrada");
  QCOMPARE(bar.windowTitle(), QStringLiteral("Lendo cabeçalho do arquivo de entrada"));
  bar.SetLabel("Convertendo Arquivo");
  QCOMPARE(bar.LProgress()->text(), QStringLiteral("Convertendo Arquivo"));
  bar.SetRemainingTime("");
  QVERIFY(bar.LRestTime()->text().isEmpty());
}

void ProcessTest::progressStepsClampingAndReset() {
  double now = 0.0;
  TFormProcessBar1 bar([&now] { return now; });
  bar.Begin(1000);
  bar.Show();
  QVERIFY(!bar.isHidden());
  QCOMPARE(bar.ProgressBar()->value(), 0);
  QCOMPARE(bar.ProgressBar()->text(), QStringLiteral("0%"));
  const int afterShow = bar.RepaintCount();
  now = 1.0;
  bar.Step(9);  // still 0 %
  QCOMPARE(bar.ProgressBar()->value(), 0);
  QCOMPARE(bar.RepaintCount(), afterShow);
  now = 10.0;
  bar.Step(500);
  QCOMPARE(bar.ProgressBar()->value(), 50);
  QCOMPARE(bar.ProgressBar()->text(), QStringLiteral("50%"));
  QCOMPARE(bar.RepaintCount(), afterShow + 1);
  QVERIFY(bar.LRestTime()->text().startsWith(QStringLiteral("Tempo restante: ")));
  QCOMPARE(bar.LRestTime()->text().toStdString(), bar.Tracker().RemainingTimeText());
  bar.Step(509);  // 50 % again: no trip to the screen
  QCOMPARE(bar.RepaintCount(), afterShow + 1);
  bar.Step(5000);  // beyond the end: clamped
  QCOMPARE(bar.ProgressBar()->value(), 100);
  bar.Step(-20);  // before the start: clamped
  QCOMPARE(bar.ProgressBar()->value(), 0);
  bar.End();
  QVERIFY(bar.isHidden());
  // A second run starts afresh.
  bar.Step(1000);
  bar.Begin(0);
  QCOMPARE(bar.ProgressBar()->value(), 0);
  bar.Show();
  QVERIFY(!bar.isHidden());
  bar.Step(10);  // nothing to measure: stays at 0
  QCOMPARE(bar.ProgressBar()->value(), 0);
  bar.End();
}

QTEST_MAIN(ProcessTest)
#include "ProcessTest.moc"
