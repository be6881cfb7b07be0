// Spreadsheet files in the main window: the layout dialog shows the first
// lines as detected and follows every change; the choice made there is what
// the window's run reads the file with, byte for byte as the batch converter
// given the same choice; the run ends with the summary, whose picture reads
// the spreadsheet back.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "RunFiles.h"
#include "UiFixture.h"
#include "ui/TFormDelimitedLayout.h"
#include "ui/TFormResultView.h"
#include "ui/TFormRunSummary.h"

using namespace transref;
using namespace transref::testing;

namespace {

constexpr int kPoints = 25;  // more than the dialog shows

// A pt_BR spreadsheet in Gauß-Krüger (Oru): ";" and decimal commas, a header
// and a remark column, exported with the northing before the easting under a
// header that names them the other way round.
QByteArray SwappedSpreadsheet() {
  QByteArray text = "Ponto;Este;Norte;Cota;Obs\n";
  for (int k = 0; k < kPoints; ++k) {
    text += QStringLiteral("M-%1;%2,%3;%4,%5;%6,25;marco %1\n")
                .arg(k + 1, 2, 10, QLatin1Char('0'))
                .arg(1676000 + 137 * k)
                .arg(k % 10)
                .arg(178000 + 911 * k)
                .arg((3 * k) % 10)
                .arg(10 + k)
                .toUtf8();
  }
  return text;
}

QList<ColumnRole> Roles(const TFormDelimitedLayout& dialog) {
  QList<ColumnRole> roles;
  for (const ColumnRole role : dialog.Options().columns) roles << role;
  return roles;
}

}  // namespace

class SpreadsheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void chosenLayoutConvertsLikeTheBatchConverter();
};

void SpreadsheetWindowTest::chosenLayoutConvertsLikeTheBatchConverter() {
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("pontos.csv"));
  QVERIFY(WriteAll(input, SwappedSpreadsheet()));

  // The dialog: detected as written, twenty lines under the role row.
  TFormDelimitedLayout dialog(input, CoordinateSystemKind::GaussKrugerOru, false, {});
  const auto* lines = qobject_cast<QStandardItemModel*>(dialog.TableLines()->model());
  QCOMPARE(dialog.CBSeparator()->currentData().toChar(), QLatin1Char(';'));
  QCOMPARE(dialog.CBDecimalMark()->currentData().toChar(), QLatin1Char(','));
  QVERIFY(dialog.CBHeader()->isChecked());
  QCOMPARE(lines->rowCount(), 21);
  QCOMPARE(lines->columnCount(), 5);
  QCOMPARE(lines->item(2, 4)->text(), QStringLiteral("marco 01"));
  QCOMPARE(Roles(dialog), (QList<ColumnRole>{ColumnRole::Id, ColumnRole::C1, ColumnRole::C2, ColumnRole::C3,
                                             ColumnRole::Carried}));
  // Another separator splits the lines anew; back at ";" they are as before.
  QVERIFY(ChooseIndex(dialog.CBSeparator(), dialog.CBSeparator()->findData(QChar(QLatin1Char(',')))));
  QVERIFY(lines->columnCount() != 5);
  QVERIFY(!dialog.CBDecimalMark()->isEnabled());
  QVERIFY(ChooseIndex(dialog.CBSeparator(), dialog.CBSeparator()->findData(QChar(QLatin1Char(';')))));
  QCOMPARE(lines->columnCount(), 5);
  // Two northings cannot be read; swapping both roles can.
  QVERIFY(Choose(dialog.RoleBox(1), QStringLiteral("N")));
  QVERIFY(!dialog.BBOk()->isEnabled());
  QVERIFY(dialog.LabelProblem()->text().contains(QStringLiteral("N")));
  QVERIFY(Choose(dialog.RoleBox(2), QStringLiteral("E")));
  QVERIFY(dialog.BBOk()->isEnabled());
  QVERIFY(dialog.LabelProblem()->text().isEmpty());
  const DelimitedOptions chosen = dialog.Options();

  // The window: the delimited kind, the file, the dialog's choice, the run.
  auto ui = MakeUi();  // Gauß-Krüger (Oru) -> LTM (Oru), as the converter's defaults here
  QVERIFY(Choose(ui->In().cbFileName, QStringLiteral("Texto delimitado / planilha (CSV)")));
  QVERIFY(Items(ui->Out().cbFileName).contains(QStringLiteral("GeoJSON")));
  QVERIFY(ui->window.BBLayoutIn()->isVisibleTo(&ui->window));
  ui->dialogs.layouts.enqueue(chosen);
  ui->dialogs.PickFile(input);
  ui->window.EditFileNameInClick();
  QCOMPARE(ui->dialogs.layoutRequests.size(), 1);
  QCOMPARE(ui->dialogs.layoutRequests.first().path, input);
  const QString output = dir.filePath(QStringLiteral("janela.csv"));
  ui->dialogs.PickFile(dir.filePath(QStringLiteral("janela")));
  ui->window.EditFileNameOutClick();
  QCOMPARE(ui->window.OutputFileName(), output);
  QVERIFY(ui->window.BBProcess()->isEnabled());
  ui->window.BBProcess()->click();
  QCOMPARE(ui->dialogs.messages.size(), 1);
  QCOMPARE(ui->dialogs.messages.last().text, QStringLiteral("O programa foi executado com sucesso!"));
  QCOMPARE(ui->dialogs.summaries.size(), 1);
  const RunSummaryRequest& summary = ui->dialogs.summaries.first();
  QCOMPARE(summary.summary.convertedCount, static_cast<std::size_t>(kPoints));
  QVERIFY(summary.summary.warnings.empty());  // the swap undone: the points lie where the system says

  const QString batchOutput = dir.filePath(QStringLiteral("lote.csv"));
  const QByteArray batch = ConvertInBatch(
      {"--quiet", "--separator", ";", "--header", "--columns", "id,n,e,h,-", input, batchOutput}, batchOutput);
  QVERIFY(!batch.isEmpty());
  QCOMPARE(ReadAll(output), batch);

  // "Ver resultado" reads the spreadsheet back in the chosen columns.
  TFormRunSummary box(summary.summary, summary.outputKind, summary.outputSystem, ui->dialogs);
  box.SetDelimitedOptions(summary.delimited);
  QVERIFY(box.BBViewResult()->isEnabled());
  box.BBViewResultClick();
  QVERIFY(box.ResultView() != nullptr);
  const ResultShapes& shapes = box.ResultView()->Canvas()->Shapes();
  QCOMPARE(shapes.marks.size(), static_cast<std::size_t>(kPoints));
  QCOMPARE(QString::fromStdString(shapes.marks.front().name), QStringLiteral("M-01"));
  QVERIFY(shapes.minX > 200000.0 && shapes.maxX < 400000.0);  // LTM (Oru) eastings
  box.ResultView()->close();
}

QTEST_MAIN(SpreadsheetWindowTest)
#include "SpreadsheetWindowTest.moc"
