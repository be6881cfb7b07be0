// transref-screenshots: builds the desktop windows, puts them in the states
// worth looking at and saves each as a PNG; with --measure N it times a list
// of N points converted from the main window against the engine alone.
//
//   transref-screenshots DIR          PNGs into DIR
//   transref-screenshots --measure N  timings on standard output
//   transref-screenshots --view FILE PNG  the result picture of a drawing or list

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "conversion/Driver.h"
#include "ui/ClickPanel.h"
#include "ui/DesktopStartUp.h"
#include "ui/ScriptedUserDialogs.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormDelimitedLayout.h"
#include "ui/TFormDXFTransform.h"
#include "ui/TFormPointConversion.h"
#include "ui/TFormProcessBar1.h"
#include "ui/TFormResultView.h"
#include "ui/TFormRunSummary.h"

using namespace transref;

namespace {

struct Windows {
  ScriptedUserDialogs dialogs;
  TFormDXFAltimetry altimetry{dialogs};
  TFormProcessBar1 progress;
  TFormDXFTransform window{dialogs, altimetry, progress};
  Windows() { window.SetCloseApplicationHandler([] {}); }
};

void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

bool Save(QWidget& widget, const QString& path) {
  widget.show();
  if (!QTest::qWaitForWindowExposed(&widget)) return false;
  QTest::qWait(150);
  const bool saved = widget.grab().save(path);
  std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

int Screenshots(const QString& folder) {
  QDir().mkpath(folder);
  bool ok = true;
  {
    Windows w;
    ok &= Save(w.window, folder + QStringLiteral("/main-default.png"));
  }
  {
    // A list input on a customised Gauß-Krüger with a typed meridian.
    Windows w;
    const auto& in = w.window.Controls(Side::In);
    w.window.Controls(Side::In).cbFileName->setCurrentIndex(0);
    w.window.CBFileNameInChange();
    Choose(in.cbCoordinatesSystems, QStringLiteral("Gauß-Krüger (Customizado)"));
    Choose(in.cbGeodeticReference, QStringLiteral("Customizado"));
    w.window.PSelectedCMInDblClick();
    in.eSelectedCM->setText(QStringLiteral("49.3015"));
    w.window.ESelectedCMInExit();
    w.dialogs.PickFile(QStringLiteral("/home/topografo/levantamentos/2024/fazenda_boa_vista/pontos_campo.txt"));
    w.window.EditFileNameInClick();
    ok &= Save(w.window, folder + QStringLiteral("/main-customised-system.png"));
  }
  {
    Windows w;
    w.dialogs.answers.enqueue(MessageAnswer::Yes);
    Choose(w.window.CBTransformation(), QStringLiteral("12 Parâmetros - Transformação Afim"));
    ok &= Save(w.window, folder + QStringLiteral("/main-affine.png"));
  }
  {
    // An old SAD 69 map to SIRGAS 2000 in UTM: IBGE's grid, then its translation.
    Windows w;
    const auto& in = w.window.Controls(Side::In);
    const auto& out = w.window.Controls(Side::Out);
    Choose(in.cbCoordinatesSystems, QStringLiteral("UTM"));
    Choose(in.cbGeodeticReference, QStringLiteral("SAD 69 (UGGI 1967)"));
    Choose(out.cbCoordinatesSystems, QStringLiteral("UTM"));
    Choose(out.cbGeodeticReference, QStringLiteral("GRS80 (WGS84; SIRGAS)"));
    ok &= Save(w.window, folder + QStringLiteral("/main-grid.png"));
    Choose(w.window.CBTransformation(), QStringLiteral("3 Parâmetros - Translação"));
    Choose(out.cbGeodeticReference, QStringLiteral("Córrego Alegre 1970+1972 (Hayford 1924)"));
    ok &= Save(w.window, folder + QStringLiteral("/main-legs.png"));
  }
  {
    Windows w;
    w.window.move(0, 0);
    w.window.show();
    w.altimetry.SetChecked(w.altimetry.CBImportHeight(), false);
    w.altimetry.SetHeightIndex(Side::In, 0);
    w.altimetry.SetChecked(w.altimetry.PanelOf(Side::In).useMeanHeight, true);
    w.altimetry.SetChecked(w.altimetry.PanelOf(Side::In).calcOrthometric, true);
    ok &= Save(w.altimetry, folder + QStringLiteral("/altimetry-dialog.png"));
    w.altimetry.BBOkClick();
  }
  {
    // The progress window as the driver leaves it in the middle of a run.
    TFormProcessBar1 progress;
    progress.SetLabel("Convertendo Arquivo");
    progress.SetRemainingTime("");
    progress.Begin(1000);
    progress.Show();
    progress.SetStage("Processando transformação");
    progress.Step(420);
    progress.SetRemainingTime("Tempo restante: 000h 00m 07s");
    ok &= Save(progress, folder + QStringLiteral("/progress-mid-run.png"));
    progress.End();
  }
  {
    // One point typed by hand: UTM 22 S on GRS80 to geographic coordinates.
    Windows w;
    Choose(w.window.Controls(Side::In).cbFileName, w.window.Controls(Side::In).cbFileName->itemText(0));
    w.window.CBFileNameInChange();
    Choose(w.window.Controls(Side::In).cbCoordinatesSystems, QStringLiteral("UTM"));
    Choose(w.window.Controls(Side::In).cbGeodeticReference, QStringLiteral("GRS80 (WGS84; SIRGAS)"));
    Choose(w.window.Controls(Side::Out).cbCoordinatesSystems, QStringLiteral("Geográficas"));
    TFormPointConversion point([&w] { return w.window.BuildJob(); });
    point.EditPointC(0)->setText(QStringLiteral("712345.678"));
    point.EditPointC(1)->setText(QStringLiteral("6671234,5"));
    point.EditPointC(2)->setText(QStringLiteral("35.2"));
    ok &= Save(point, folder + QStringLiteral("/point-conversion.png"));
    point.EditPointC(1)->setText(QStringLiteral("6671234.5m"));
    ok &= Save(point, folder + QStringLiteral("/point-conversion-bad-entry.png"));
  }
  {
    // The end of a run of the sample list and of the sample drawing, and
    // their pictures.
    QTemporaryDir dir;
    const QString samples = QStringLiteral(TRANSREF_SAMPLES_DIR "/");
    struct Sample {
      QString input, output, name;
      FileKind kind;
    };
    for (const Sample& sample : {Sample{samples + "pontos_gk_oru.txt", dir.filePath("pontos_ltm_oru.txt"), "list",
                                        FileKind::Ascii3D},
                                 Sample{samples + "lote_gk_oru.dxf", dir.filePath("lote_ltm_oru.dxf"), "drawing",
                                        FileKind::Dxf}}) {
      Windows w;
      w.window.Controls(Side::In).cbFileName->setCurrentIndex(static_cast<int>(sample.kind));
      w.window.CBFileNameInChange();
      w.window.Controls(Side::Out).cbFileName->setCurrentIndex(static_cast<int>(sample.kind));
      w.window.CBFileNameOutChange();
      w.dialogs.PickFile(sample.input);
      w.window.EditFileNameInClick();
      w.dialogs.PickFile(sample.output);
      w.window.EditFileNameOutClick();
      const std::optional<ConversionJob> job = w.window.BuildJob();
      NullProgressSink sink;
      const RunResult result = job ? RunConversion(*job, sink) : RunResult{};
      if (!job || !result.Succeeded()) {
        std::printf("FAILED run of %s\n", qPrintable(sample.input));
        ok = false;
        continue;
      }
      RunSummary summary{static_cast<std::size_t>(result.pointsWritten), sample.kind == FileKind::Dxf, job->outputPath,
                         {}};
      if (sample.kind == FileKind::Ascii3D) summary.warnings = {"Exemplo de aviso de plausibilidade."};
      TFormRunSummary box(summary, job->outputKind, job->output.system, w.dialogs);
      ok &= Save(box, folder + QStringLiteral("/run-summary-") + sample.name + QStringLiteral(".png"));
      box.BBViewResultClick();
      if (TFormResultView* view = box.ResultView()) {
        ok &= Save(*view, folder + QStringLiteral("/result-view-") + sample.name + QStringLiteral(".png"));
        view->close();
      } else {
        ok = false;
      }
    }
  }
  {
    // A pt_BR spreadsheet: the window with the delimited kind, the layout
    // dialog as detected, the end of its run into a map and the map's picture.
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("levantamento_fazenda.csv"));
    QFile file(input);
    if (file.open(QIODevice::WriteOnly)) {
      file.write("# Levantamento GNSS - Fazenda Boa Vista\nPonto;Este;Norte;Cota;Descrição\n");
      for (int k = 0; k < 40; ++k) {
        file.write(QStringLiteral("M-%1;%2,%3;%4,%5;%6,25;%7\n")
                       .arg(k + 1, 2, 10, QLatin1Char('0'))
                       .arg(178000 + 311 * k + (k * k) % 97)
                       .arg(k % 10)
                       .arg(1676000 + 173 * k - (k * 7) % 53)
                       .arg((3 * k) % 10)
                       .arg(10 + k)
                       .arg(k % 3 == 0 ? QStringLiteral("marco de concreto") : QStringLiteral("cerca"))
                       .toUtf8());
      }
      file.close();
    }
    Windows w;
    Choose(w.window.Controls(Side::In).cbFileName, QStringLiteral("Texto delimitado / planilha (CSV)"));
    TFormDelimitedLayout layout(input, CoordinateSystemKind::GaussKrugerOru, false, {});
    ok &= Save(layout, folder + QStringLiteral("/delimited-layout.png"));
    w.dialogs.layouts.enqueue(layout.Options());
    w.dialogs.PickFile(input);
    w.window.EditFileNameInClick();
    Choose(w.window.Controls(Side::Out).cbFileName, QStringLiteral("KML (Google Earth)"));
    w.dialogs.PickFile(dir.filePath(QStringLiteral("levantamento_fazenda.kml")));
    w.window.EditFileNameOutClick();
    ok &= Save(w.window, folder + QStringLiteral("/main-spreadsheet.png"));
    w.window.BBProcessClick();
    if (w.dialogs.summaries.isEmpty()) {
      std::printf("FAILED run of %s: %s\n", qPrintable(input),
                  w.dialogs.messages.isEmpty() ? "?" : qPrintable(w.dialogs.messages.last().text));
      ok = false;
    } else {
      const RunSummaryRequest& run = w.dialogs.summaries.last();
      TFormRunSummary box(run.summary, run.outputKind, run.outputSystem, w.dialogs);
      box.SetDelimitedOptions(run.delimited);
      ok &= Save(box, folder + QStringLiteral("/run-summary-spreadsheet.png"));
      box.BBViewResultClick();
      if (TFormResultView* view = box.ResultView()) {
        ok &= Save(*view, folder + QStringLiteral("/result-view-spreadsheet.png"));
        view->close();
      } else {
        ok = false;
      }
    }
  }
  return ok ? 0 : 1;
}

int Measure(int points) {
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("pontos.txt"));
  {
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    QByteArray line;
    for (int k = 0; k < points; ++k) {
      line = QByteArray::number(k + 1) + ' ' + QByteArray::number(150000.0 + (k % 1000) * 50.0, 'f', 3) + ' ' +
             QByteArray::number(1600000.0 + (k / 1000) * 50.0, 'f', 3) + ' ' +
             QByteArray::number(10.0 + k % 90, 'f', 2) + '\n';
      file.write(line);
    }
  }
  Windows w;
  w.window.Controls(Side::In).cbFileName->setCurrentIndex(0);
  w.window.CBFileNameInChange();
  w.dialogs.PickFile(input);
  w.window.EditFileNameInClick();
  w.dialogs.PickFile(dir.filePath(QStringLiteral("janela.dat")));
  w.window.EditFileNameOutClick();
  const std::optional<ConversionJob> job = w.window.BuildJob();
  if (!job) return 1;

  QElapsedTimer clock;
  clock.start();
  w.window.BBProcessClick();
  const double windowSeconds = clock.nsecsElapsed() / 1e9;

  ConversionJob engineJob = *job;
  engineJob.outputPath = QFile::encodeName(dir.filePath(QStringLiteral("motor.dat"))).toStdString();
  NullProgressSink sink;
  clock.restart();
  const RunResult result = RunConversion(engineJob, sink);
  const double engineSeconds = clock.nsecsElapsed() / 1e9;

  std::printf("points %d\nwindow %.3f s (%s)\nengine %.3f s (%s)\nratio %.3f\n", points, windowSeconds,
              w.dialogs.messages.isEmpty() ? "?" : qPrintable(w.dialogs.messages.last().text), engineSeconds,
              result.Succeeded() ? "ok" : "failed", windowSeconds / engineSeconds);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // As the program starts: its identity and Qt's texts in Portuguese.
  SetDesktopIdentity();
  InstallPortugueseQtTexts(application);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() == 3 && arguments[1] == QStringLiteral("--measure")) return Measure(arguments[2].toInt());
  if (arguments.size() == 2) return Screenshots(arguments[1]);
  if (arguments.size() == 4 && arguments[1] == QStringLiteral("--view")) {
    // The picture of any drawing or 3D list, as "Ver resultado" shows it.
    ScriptedUserDialogs dialogs;
    TFormResultView view(dialogs);
    const FileKind kind = arguments[2].endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive) ? FileKind::Dxf : FileKind::Ascii3D;
    return view.Open(arguments[2], kind, CoordinateSystemKind::Utm) && Save(view, arguments[3]) ? 0 : 1;
  }
  std::fprintf(stderr, "uso: transref-screenshots PASTA | --measure PONTOS | --view ARQUIVO PNG\n");
  return 2;
}
