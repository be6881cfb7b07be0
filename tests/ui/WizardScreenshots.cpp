// transref-wizard-screenshots: saves PNGs of the start window, the
// introduction and every wizard page (a list walk, so that every page is
// visited), for scripts/screenshots.
//
//   transref-wizard-screenshots DIR

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

#include "WizardTestSupport.h"
#include "ui/TFormDXFTStartWindow.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "uso: transref-wizard-screenshots PASTA\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  const auto file = [&](const char* name) { return QDir(folder).filePath(QString::fromLatin1(name)); };

  Desktop d;
  const WizardPages& p = d.pages();
  bool ok = Save(d.windows->StartWindow(), file("start-window.png"));
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
  d.dialogs.PickFile(QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/pontos_gk_oru.txt"));
  p.page07->InputFilePanel()->click();
  d.dialogs.PickFile(QDir::temp().filePath(QStringLiteral("pontos_ltm_oru.dat")));
  p.page07->OutputFilePanel()->click();
  ok &= Save(*p.page07, file("wizard-07-files.png"));
  return ok ? 0 : 1;
}
