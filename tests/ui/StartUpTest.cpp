// Start-up of the desktop program: every window once, shared dialogs, the
// start window's hand-over, placement of the main window, every way of ending
// the program, and exceptions shown instead of ending silently.

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

#include "WizardTestSupport.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormDXFTStartWindow.h"
#include "ui/TFormProcessBar1.h"

using namespace transref;
using namespace transref::testing;

namespace {

// Collects what the exception display would have shown.
struct ShownExceptions {
  QStringList messages;
  ExceptionDisplay previous =
      SetExceptionDisplay([this](const QString& message) { messages << message; });
  ~ShownExceptions() { SetExceptionDisplay(previous); }
};

class Throwing : public QObject {
 public:
  bool unknown = false;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    if (unknown) throw 42;
    throw std::runtime_error("Falha simulada no tratamento do evento");
  }
};

// Walks a 3D list from the introduction to the last page; returns the pages
// in walking order.
QList<TFormSetupPage*> WalkEveryPage(Desktop& d) {
  const WizardPages& p = d.pages();
  WalkToListSystem(d, false);
  ClickSystemOption(p.page03B, QStringLiteral("Gauß-Krüger (ORU)"));
  p.page03B->ForwardButton()->click();
  p.page04->ForwardButton()->click();
  p.page05->Option2()->click();
  p.page05->ForwardButton()->click();
  ClickSystemOption(p.page06, QStringLiteral("TM-ORU e SIRGAS 2000 (GRS80)"));
  p.page06->ForwardButton()->click();
  return {p.page01, p.page02, p.page03B, p.page04, p.page05, p.page06, p.page07};
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowExistsOnceAndSharesDialogs();
  void startWindowLayout();
  void handOverLeavesTwoWindowsVisible();
  void timerDrivesHandOver();
  void mainWindowSitsBesideFirstPage();
  void everyCloseButtonEndsProgram();
  void frameCloseOfLaterPagesGoesBack();
  void frameCloseOfFirstWindowsEndsProgram();
  void closingMainWindowEndsMessageLoop();
  void exceptionInEventIsShown();
  void introductionPointsToUserGuide();
};

void StartUpTest::everyWindowExistsOnceAndSharesDialogs() {
  Desktop d;
  QMap<QString, int> count;
  for (QWidget* w : QApplication::topLevelWidgets()) ++count[QString::fromLatin1(w->metaObject()->className())];
  for (const char* name : {"transref::TFormDXFTStartWindow", "transref::TFormDXFAltimetry", "transref::TFormSetup01",
                           "transref::TFormSetup02", "transref::TFormSetup03B", "transref::TFormSetup04",
                           "transref::TFormSetup05", "transref::TFormSetup06", "transref::TFormSetup07",
                           "transref::TFormAbout", "transref::TFormDXFTransform", "transref::TFormProcessBar1"}) {
    QVERIFY2(count.value(QString::fromLatin1(name)) == 1, name);
  }
  QCOMPARE(&d.main().Altimetry(), &d.windows->Altimetry());
  QCOMPARE(&d.main().Progress(), &d.windows->Progress());
  // Nothing is shown before the message loop shows the start window.
  QVERIFY(d.visibleWindows().isEmpty());
}

void StartUpTest::startWindowLayout() {
  Desktop d;
  TFormDXFTStartWindow& start = d.windows->StartWindow();
  QCOMPARE(start.size(), QSize(884, 667));
  QVERIFY(start.windowFlags() & Qt::FramelessWindowHint);
  QCOMPARE(start.ProgressBar()->minimum(), 0);
  QCOMPARE(start.ProgressBar()->maximum(), 6);
  QCOMPARE(start.ProgressBar()->value(), 0);
  QVERIFY(start.Timer()->isActive());
  QCOMPARE(start.Timer()->interval(), 1000);
  for (const char* name : {"ImageLogoOBRU", "Image1"}) {
    auto* picture = start.findChild<QLabel*>(name);
    QVERIFY2(picture, name);
    QCOMPARE(picture->size(), QSize(354, 354));
    QVERIFY(!picture->pixmap().isNull());
    // A painted picture, not an empty box: it has more than one colour.
    const QImage image = picture->pixmap().toImage();
    QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2) != image.pixelColor(2, 2));
  }
  QVERIFY(start.Image2()->isHidden());
  auto* title = start.findChild<QLabel*>("LabelTitle");
  QVERIFY(title->text().contains(QStringLiteral("Transformação de Parâmetros entre Referenciais Geodésicos")));
  QCOMPARE(title->font().pixelSize(), 20);
}

void StartUpTest::handOverLeavesTwoWindowsVisible() {
  Desktop d;
  TFormDXFTStartWindow& start = d.windows->StartWindow();
  start.show();
  QCOMPARE(d.visibleWindows(), QList<QWidget*>{&start});
  start.TimerTimer();
  QCOMPARE(start.ProgressBar()->value(), 2);
  QVERIFY(!start.Image2()->isHidden());
  QVERIFY(!start.isVisible());
  QVERIFY(!start.Timer()->isActive());
  const QList<QWidget*> shown = d.visibleWindows();
  QCOMPARE(shown.size(), 2);
  QVERIFY(shown.contains(&d.main()));
  QVERIFY(shown.contains(&d.about()));
}

// The real timer, shortened, hands over through the event loop.
void StartUpTest::timerDrivesHandOver() {
  Desktop d;
  TFormDXFTStartWindow& start = d.windows->StartWindow();
  start.show();
  start.Timer()->start(1);
  QTRY_VERIFY_WITH_TIMEOUT(!start.isVisible(), 2000);
  QTRY_COMPARE(d.visibleWindows().size(), 2);
  QVERIFY(d.about().isVisible());
}

void StartUpTest::mainWindowSitsBesideFirstPage() {
  Desktop d;
  QCOMPARE(d.main().x(), d.pages().page01->width());
  QCOMPARE(d.main().y(), d.pages().page01->y());
}

// "&Fechar" anywhere closes the start window, which ends the program.
void StartUpTest::everyCloseButtonEndsProgram() {
  Desktop walk;
  const QList<TFormSetupPage*> pages = WalkEveryPage(walk);
  for (int index = 0; index < pages.size(); ++index) {
    Desktop d;
    QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
    d.allPages()[index]->CloseButton()->click();
    QVERIFY2(ended.count() == 1, qPrintable(d.allPages()[index]->objectName()));
    QCOMPARE(d.allPages()[index]->CloseButton()->text(), QStringLiteral("&Fechar"));
  }
  {
    Desktop d;
    QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
    d.about().CloseButton()->click();
    QCOMPARE(ended.count(), 1);
  }
  {
    Desktop d;
    QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
    d.main().BBClose()->click();
    QCOMPARE(ended.count(), 1);
  }
}

// The frame of pages 2 to 7 goes back one page, never ending the program.
void StartUpTest::frameCloseOfLaterPagesGoesBack() {
  Desktop d;
  QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
  const QList<TFormSetupPage*> walked = WalkEveryPage(d);
  // Walking back by the frame retraces the walk: 7, 6, 5, 4, 3B, 2, then 1.
  for (int index = walked.size() - 1; index >= 1; --index) {
    QVERIFY(walked[index]->isVisible());
    walked[index]->close();
    QVERIFY2(!walked[index]->isVisible(), qPrintable(walked[index]->objectName()));
    QVERIFY2(walked[index - 1]->isVisible(), qPrintable(walked[index - 1]->objectName()));
    // One wizard page at a time.
    int shownPages = 0;
    for (TFormSetupPage* page : d.allPages()) shownPages += page->isVisible() ? 1 : 0;
    QCOMPARE(shownPages, 1);
  }
  QCOMPARE(ended.count(), 0);
  d.pages().page01->close();
  QCOMPARE(ended.count(), 1);
}

void StartUpTest::frameCloseOfFirstWindowsEndsProgram() {
  {
    Desktop d;
    QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
    d.about().show();
    d.about().close();
    QCOMPARE(ended.count(), 1);
  }
  {
    Desktop d;
    QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
    d.main().show();
    d.about().ForwardButton()->click();
    d.main().close();
    QCOMPARE(ended.count(), 1);
  }
}

// The whole ending: the main window's frame, with a wizard page open, closes
// the start window and the message loop returns 0.
void StartUpTest::closingMainWindowEndsMessageLoop() {
  Desktop d;
  d.windows->StartWindow().show();
  d.windows->StartWindow().TimerTimer();
  d.about().ForwardButton()->click();
  QVERIFY(d.pages().page03B->isVisible());
  // Requests left over from earlier tests must not end this loop.
  QCoreApplication::sendPostedEvents();
  QSignalSpy ended(&d.windows->StartWindow(), &TFormDXFTStartWindow::Closed);
  bool loopStillRunning = false;
  QTimer::singleShot(0, &d.main(), [&] { d.main().close(); });
  QTimer::singleShot(5000, [&] {
    loopStillRunning = true;
    QCoreApplication::exit(1);
  });
  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(!loopStillRunning);
  QCOMPARE(ended.count(), 1);
}

// An exception that escapes an event handler is shown and the loop goes on.
void StartUpTest::exceptionInEventIsShown() {
  ShownExceptions shown;
  Throwing target;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&target, &event);
  QCOMPARE(shown.messages, QStringList{QStringLiteral("Falha simulada no tratamento do evento")});
  target.unknown = true;
  QCoreApplication::sendEvent(&target, &event);
  QCOMPARE(shown.messages.size(), 2);
  QCOMPARE(shown.messages.last(), kUnknownFailureText);

  // Start-up steps are guarded the same way.
  QVERIFY(!RunGuarded([] { throw std::runtime_error("janela"); }));
  QCOMPARE(shown.messages.last(), QStringLiteral("janela"));
  QVERIFY(RunGuarded([] {}));
  QCOMPARE(shown.messages.size(), 3);
}

void StartUpTest::introductionPointsToUserGuide() {
  Desktop d;
  const QString html = d.about().Explanation()->toHtml();
  const QString text = d.about().Explanation()->toPlainText();
  // An empty line, the greeting, another empty line, then the paragraph.
  QVERIFY(!text.isEmpty() && text.at(0).isSpace());
  QVERIFY(text.trimmed().startsWith(QStringLiteral("Prezado Usuário.")));
  QVERIFY(html.contains(UserGuideUrl().toHtmlEscaped()));
  QVERIFY(UserGuideUrl().startsWith(QStringLiteral("file:///")));
  QVERIFY(UserGuideUrl().endsWith(QStringLiteral("/guia-do-usuario.html")));
  // Installed or not, the address leads to a guide that is there (from a
  // build tree it is the source tree's copy).
  QVERIFY(QFileInfo::exists(QUrl(UserGuideUrl()).toLocalFile()));
  for (const char* word : {"engenheiro cartógrafo", "engenheiro agrimensor", "geógrafo", "projeções cartográficas",
                           "coordenadas cartesianas"}) {
    QVERIFY2(text.contains(QString::fromUtf8(word)), word);
  }
  QCOMPARE(d.about().Explanation()->palette().color(QPalette::Text), QColor(0, 128, 128));
}

int main(int argc, char** argv) {
  TransRefApplication application(argc, argv);
  StartUpTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "StartUpTest.moc"
