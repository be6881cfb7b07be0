// transref-wizard-screenshots: saves PNGs of the start window, the
// introduction and every wizard page (a list walk, so that every page is
// visited), and of the whole screen as the user sees it: the program just
// started, the altimetry dialog, Qt's own question box and save dialog, and
// the last wizard page with long paths. For scripts/screenshots.
//
//   transref-wizard-screenshots DIR

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "WizardTestSupport.h"
#include "ui/TFormDXFTStartWindow.h"
#include "ui/UserDialogs.h"

using namespace transref;
using namespace transref::testing;

namespace {

bool Save(QWidget& window, const QString& path) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return false;
  QTest::qWait(150);
  const bool saved = window.grab().save(path);
  std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

bool SaveScreen(const QString& path) {
  QTest::qWait(300);
  const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(path);
  std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

// Saves the screen while a modal dialog is up, then closes the dialog.
void SaveScreenOfNextModal(const QString& path, bool& ok) {
  QTimer::singleShot(0, qApp, [path, &ok] {
    ok &= SaveScreen(path);
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
}

bool WholeScreens(const QString& folder) {
  const auto file = [&](const char* name) { return QDir(folder).filePath(QString::fromLatin1(name)); };
  Desktop d;
  d.windows->StartWindow().show();
  bool ok = QTest::qWaitForWindowExposed(&d.windows->StartWindow());
  ok &= SaveScreen(file("screen-1-start.png"));
  d.windows->StartWindow().TimerTimer();
  ok &= QTest::qWaitForWindowExposed(&d.main());
  ok &= SaveScreen(file("screen-2-main-and-introduction.png"));
  d.about().hide();
  SaveScreenOfNextModal(file("screen-3-altimetry.png"), ok);
  d.main().BBSetupAltimetriaInClick();

  QtUserDialogs stock(&d.main());
  SaveScreenOfNextModal(file("screen-4-question.png"), ok);
  stock.ShowMessage({QStringLiteral("O arquivo de saída é igual ao arquivo de entrada.\n Tentar abrir novamente?"),
                     kMainCaption, MessageIcon::Exclamation, MessageButtons::YesNo});
  FileDialogRequest save;
  save.kind = FileDialogKind::Save;
  save.title = QStringLiteral("Salvar arquivo em formato ASCII");
  save.filter = QStringLiteral("Arquivo ASCII (*.dat)|*.dat|Arquivo ASCII (*.txt)|*.txt");
  SaveScreenOfNextModal(file("screen-5-save-dialog.png"), ok);
  stock.ShowFileDialog(save);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // As the program starts: its identity and Qt's texts in Portuguese.
  SetDesktopIdentity();
  InstallPortugueseQtTexts(application);
  if (argc != 2) {
    std::fprintf(stderr, "uso: transref-wizard-screenshots PASTA\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  const auto file = [&](const char* name) { return QDir(folder).filePath(QString::fromLatin1(name)); };

  bool ok = WholeScreens(folder);
  Desktop d;
  const WizardPages& p = d.pages();
  ok &= Save(d.windows->StartWindow(), file("start-window.png"));
  d.windows->StartWindow().TimerTimer();
  ok &= Save(d.about(), file("introduction.png"));

  d.about().ForwardButton()->click();
  p.page03B->BackwardButton()->click();
  p.page01->Option2()->click();
  ok &= Save(*p.page01, file("wizard-01-input-kind.png"));
  p.page01->ForwardButton()->click();
  p.page02->Option2()->click();
  ok &= Save(*p.page02, file("wizard-02-input-dimension.png"));
  p.page02->ForwardButton()->click();
  ClickSystemOption(p.page03B, QStringLiteral("Gauß-Krüger (ORU)"));
  ok &= Save(*p.page03B, file("wizard-03b-input-system.png"));
  p.page03B->ForwardButton()->click();
  ok &= Save(*p.page04, file("wizard-04-output-kind.png"));
  p.page04->ForwardButton()->click();
  p.page05->Option2()->click();
  ok &= Save(*p.page05, file("wizard-05-output-dimension.png"));
  p.page05->ForwardButton()->click();
  ClickSystemOption(p.page06, QStringLiteral("TM-ORU e SIRGAS 2000 (GRS80)"));
  ok &= Save(*p.page06, file("wizard-06-output-system.png"));
  p.page06->ForwardButton()->click();
  const QString folderOfLongPath =
      QStringLiteral("/home/topografo/Levantamentos de Campo/2024/Fazenda Boa Vista do Rio Grande/Quadra 12/");
  d.dialogs.PickFile(folderOfLongPath + QStringLiteral("pontos_gk_oru_ajustados_revisao_final.txt"));
  p.page07->InputFilePanel()->click();
  d.dialogs.PickFile(folderOfLongPath + QStringLiteral("pontos_ltm_oru_ajustados_revisao_final.dat"));
  p.page07->OutputFilePanel()->click();
  ok &= Save(*p.page07, file("wizard-07-files.png"));
  ok &= SaveScreen(file("screen-6-wizard-last-page.png"));
  p.page07->hide();
  d.main().raise();
  ok &= SaveScreen(file("screen-7-main-window-long-paths.png"));
  return ok ? 0 : 1;
}
