// The desktop program on the users' own machines: a 1366 x 768 laptop
// screen (this suite gives the offscreen platform that screen, see main),
// Qt's stock buttons and dialogs in Portuguese, the identity the desktop
// session knows the program by, readable locked values, long paths, and a
// point list converted through the main window exactly as the batch
// converter converts it. Like every suite it runs once per locale pass
// (C.UTF-8 and pt_BR.UTF-8).

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "RunFiles.h"
#include "UiFixture.h"
#include "WizardTestSupport.h"
#include "geodesy/CoordinateSystems.h"
#include "ui/ClickPanel.h"
#include "ui/ScreenPlacement.h"
#include "ui/TFormDXFTStartWindow.h"
#include "ui/UserDialogs.h"

using namespace transref;
using namespace transref::testing;

namespace {

const QRect kLaptopScreen(0, 0, 1366, 768);
const QString kSampleList = QStringLiteral(TRANSREF_TEST_DATA_DIR "/samples/pontos_gk_oru.txt");

QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

bool OnScreen(const QWidget& window) { return Available().contains(window.frameGeometry()); }

// Shows a window as the program does and waits until it is on the screen.
bool ShowAndWait(QWidget& window) {
  window.show();
  return QTest::qWaitForWindowExposed(&window);
}

// The start window's hand-over: the main window and the introduction.
void StartTheProgram(Desktop& d) {
  TFormDXFTStartWindow& start = d.windows->StartWindow();
  QVERIFY(ShowAndWait(start));
  QVERIFY(OnScreen(start));
  start.TimerTimer();
  QVERIFY(QTest::qWaitForWindowExposed(&d.main()));
  QVERIFY(d.about().isVisible());
}

// The texts of a modal dialog's buttons (mnemonics removed), by role.
struct ButtonTexts {
  QStringList accept, reject, all;
};
ButtonTexts TextsOf(const QList<QAbstractButton*>& buttons, const QDialogButtonBox* box) {
  ButtonTexts texts;
  for (QAbstractButton* button : buttons) {
    const QString text = button->text().remove(QLatin1Char('&'));
    texts.all << text;
    const QDialogButtonBox::ButtonRole role = box ? box->buttonRole(button) : QDialogButtonBox::InvalidRole;
    if (role == QDialogButtonBox::AcceptRole) texts.accept << text;
    if (role == QDialogButtonBox::RejectRole) texts.reject << text;
  }
  return texts;
}

// The colours a disabled control draws its text and background with.
std::pair<QColor, QColor> LockedColours(const QWidget* w) {
  const QPalette& p = w->palette();
  if (qobject_cast<const QLineEdit*>(w))
    return {p.color(QPalette::Disabled, QPalette::Text), p.color(QPalette::Disabled, QPalette::Base)};
  if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QPushButton*>(w))
    return {p.color(QPalette::Disabled, QPalette::ButtonText), p.color(QPalette::Disabled, QPalette::Button)};
  return {p.color(QPalette::Disabled, QPalette::WindowText), p.color(QPalette::Disabled, QPalette::Window)};
}

}  // namespace

class DesktopSessionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void windowsMoveJustEnoughToBeSeen();
  void altimetryDialogStaysInReach();
  void stockButtonsAndDialogsSpeakPortuguese();
  void identityMatchesTheMenuEntry();
  void lockedValuesAreReadable();
  void longPathsKeepTheFileNameAndTheSummaryColumn();
  void pointListConvertsLikeTheBatchConverter();
};

// Everything below is about this screen.
void DesktopSessionTest::initTestCase() {
  QCOMPARE(QGuiApplication::primaryScreen()->geometry(), kLaptopScreen);
  QVERIFY(InstallPortugueseQtTexts(*qApp));
}

void DesktopSessionTest::windowsMoveJustEnoughToBeSeen() {
  // Where a window fits it keeps its place; otherwise it moves just enough.
  QCOMPARE(MovedInside(QRect(900, 236, 965, 629), QRect(0, 0, 1920, 1080)), QRect(900, 236, 965, 629));
  QCOMPARE(MovedInside(QRect(900, 236, 965, 629), kLaptopScreen), QRect(401, 139, 965, 629));
  QCOMPARE(MovedInside(QRect(-40, 30, 900, 600), kLaptopScreen), QRect(0, 30, 900, 600));
  // Larger than the screen: the title bar and its buttons stay on it.
  QCOMPARE(MovedInside(QRect(300, 200, 1400, 800), kLaptopScreen).topLeft(), QPoint(0, 0));

  Desktop d;
  TFormDXFTransform& main = d.main();
  // Beside the first page where that page opens on a large screen.
  main.move(900, 236);
  StartTheProgram(d);
  QVERIFY2(OnScreen(main), qPrintable(QStringLiteral("%1,%2").arg(main.x()).arg(main.y())));
  // It would reach x 1865 and y 865: it now touches the right and bottom
  // edges, no further in.
  QCOMPARE(main.frameGeometry().right(), Available().right());
  QCOMPARE(main.frameGeometry().bottom(), Available().bottom());
  QVERIFY(OnScreen(d.about()));

  for (TFormSetupPage* page : d.allPages()) {
    QVERIFY(ShowAndWait(*page));
    QVERIFY2(OnScreen(*page), qPrintable(page->objectName()));
    page->hide();
  }
  TFormProcessBar1& progress = d.windows->Progress();
  progress.Begin(100);
  progress.Show();
  QVERIFY(OnScreen(progress));
  progress.End();
  TFormDXFAltimetry& altimetry = d.windows->Altimetry();
  QTimer::singleShot(0, &altimetry, [&] {
    QVERIFY(OnScreen(altimetry));
    altimetry.BBOkClick();
  });
  main.BBSetupAltimetriaInClick();
}

void DesktopSessionTest::altimetryDialogStaysInReach() {
  auto ui = MakeUi();
  TFormDXFAltimetry& dialog = ui->altimetry;
  // Centred over the main window where that fits.
  ui->window.move(40, 30);
  QVERIFY(ShowAndWait(ui->window));
  QVERIFY(ShowAndWait(dialog));
  const QRect main = ui->window.frameGeometry();
  QCOMPARE(dialog.frameGeometry().left(), main.left() + (main.width() - dialog.frameGeometry().width()) / 2);
  QCOMPARE(dialog.frameGeometry().top(), main.top() + (main.height() - dialog.frameGeometry().height()) / 2);
  QVERIFY(dialog.BBOkClick());

  // The user dragged the main window half off the screen: the dialog comes
  // up wholly on it, its output panel and OK in reach.
  ui->window.move(900, 500);
  QVERIFY(ShowAndWait(dialog));
  QVERIFY(OnScreen(dialog));
  const QRect ok(dialog.BBOk()->mapToGlobal(QPoint(0, 0)), dialog.BBOk()->size());
  QVERIFY(Available().contains(ok));
  QVERIFY(dialog.BBOkClick());
}

// Qt's own buttons and dialogs read in Portuguese: the questions' "Sim" and
// "Não", the file dialogs' buttons and labels.
void DesktopSessionTest::stockButtonsAndDialogsSpeakPortuguese() {
  QtUserDialogs dialogs;
  ButtonTexts question;
  QTimer::singleShot(0, qApp, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box != nullptr);
    question = TextsOf(box->buttons(), box->findChild<QDialogButtonBox*>());
    box->button(QMessageBox::No)->click();
  });
  const MessageAnswer answer = dialogs.ShowMessage(
      {QStringLiteral("O arquivo de saída é igual ao arquivo de entrada.\n Tentar abrir novamente?"), kMainCaption,
       MessageIcon::Exclamation, MessageButtons::YesNo});
  QCOMPARE(answer, MessageAnswer::No);
  question.all.sort();
  QCOMPARE(question.all, (QStringList{QStringLiteral("Não"), QStringLiteral("Sim")}));

  for (FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
    ButtonTexts buttons;
    QStringList labels;
    QTimer::singleShot(0, qApp, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto* box = dialog->findChild<QDialogButtonBox*>();
      QVERIFY(box != nullptr);
      buttons = TextsOf(box->buttons(), box);
      for (const QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
      dialog->reject();
    });
    FileDialogRequest request;
    request.kind = kind;
    request.title = QStringLiteral("Salvar arquivo em formato ASCII");
    request.filter = QStringLiteral("Arquivo ASCII (*.dat)|*.dat|Arquivo ASCII (*.txt)|*.txt");
    QVERIFY(!dialogs.ShowFileDialog(request).accepted);
    QCOMPARE(buttons.accept,
             QStringList{kind == FileDialogKind::Open ? QStringLiteral("Abrir") : QStringLiteral("Salvar")});
    QCOMPARE(buttons.reject, QStringList{QStringLiteral("Cancelar")});
    for (const char* english : {"Look in:", "File name:", "Files of type:"})
      QVERIFY2(!labels.contains(QString::fromLatin1(english)), english);
  }
}

// The session groups the program's windows under its menu entry and icon.
void DesktopSessionTest::identityMatchesTheMenuEntry() {
  SetDesktopIdentity();
  const QString entryPath =
      QStringLiteral(TRANSREF_TEST_DATA_DIR "/desktop/") + QGuiApplication::desktopFileName() + ".desktop";
  const QStringList entry = QString::fromUtf8(ReadAll(entryPath)).split(QLatin1Char('\n'));
  QVERIFY2(!entry.isEmpty() && entry.first() == QStringLiteral("[Desktop Entry]"), qPrintable(entryPath));
  QVERIFY(entry.contains(QStringLiteral("StartupWMClass=") + QCoreApplication::applicationName()));
  QVERIFY(entry.contains(QStringLiteral("Exec=") + QCoreApplication::applicationName()));
  QVERIFY(entry.contains(QStringLiteral("Icon=") + QCoreApplication::applicationName()));
}

// Locked values keep their locked look but read at least 4.5:1 against
// their background: users read them to check them.
void DesktopSessionTest::lockedValuesAreReadable() {
  // The measure: the old look, #BEBEBE on #EFEFEF, is about 1.6:1.
  QVERIFY(ContrastRatio(QColor(0xBE, 0xBE, 0xBE), QColor(0xEF, 0xEF, 0xEF)) < 1.7);
  QVERIFY(qAbs(ContrastRatio(Qt::black, Qt::white) - 21.0) < 0.01);

  Desktop d;
  const auto& in = d.main().Controls(Side::In);
  // Hemispheres, zone, fixed meridian, locked ellipsoid and its values, the
  // built-in parameters, the grey false origin.
  QList<QWidget*> locked = {in.cbHLong, in.cbHLat, in.cbAmplitudeZone, in.cbCM, in.cbGeodeticReference,
                            in.editSemiMajorAxis, in.editReciprocalFlattening, in.eFalseEast};
  for (QLineEdit* edit : d.main().IsogonalEdits()) locked << edit;
  for (QWidget* w : locked) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
  // Every other disabled control of the main window, the altimetry dialog
  // and a page with an option that cannot be chosen.
  d.pages().page01->Option2()->click();
  d.pages().page04->show();
  QVERIFY(!d.pages().page04->Option1()->isEnabled());
  for (QWidget* window : {static_cast<QWidget*>(&d.main()), static_cast<QWidget*>(&d.windows->Altimetry()),
                          static_cast<QWidget*>(d.pages().page04)}) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isEnabled() && !locked.contains(w)) locked << w;
    }
  }
  QVERIFY(locked.size() > 30);
  for (const QWidget* w : locked) {
    const auto [text, background] = LockedColours(w);
    QVERIFY2(ContrastRatio(text, background) >= 4.5,
             qPrintable(QStringLiteral("%1: %2 on %3").arg(w->objectName(), text.name(), background.name())));
  }
  // Still told apart from a value that can be typed.
  const QPalette& p = in.editSemiMajorAxis->palette();
  QVERIFY(p.color(QPalette::Disabled, QPalette::Text) != p.color(QPalette::Active, QPalette::Text));
}

void DesktopSessionTest::longPathsKeepTheFileNameAndTheSummaryColumn() {
  const QString folder =
      QStringLiteral("/home/topografo/Levantamentos de Campo/2024/Fazenda Boa Vista do Rio Grande/Quadra 12 - Lote 7/");
  const QString name = QStringLiteral("pontos_ajustados_revisao_final.dxf");
  Desktop d;
  StartTheProgram(d);
  const WizardPages& p = d.pages();
  // The wizard to its last page: a drawing in TM-ORU to UTM.
  d.about().ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page03B, QStringLiteral("TM-ORU e SIRGAS 2000 (GRS80)")));
  p.page03B->ForwardButton()->click();
  p.page04->Option1()->click();
  p.page04->ForwardButton()->click();
  QVERIFY(ClickSystemOption(p.page06, QStringLiteral("UTM (SIRGAS 2000 - GRS80)")));
  QVERIFY(QTest::qWaitForWindowExposed(p.page06));
  const int summaryWidth = p.page06->Summary()->width();
  p.page06->ForwardButton()->click();
  QVERIFY(QTest::qWaitForWindowExposed(p.page07));

  d.dialogs.PickFile(folder + name);
  p.page07->InputFilePanel()->click();
  d.dialogs.PickFile(folder + QStringLiteral("saida_") + name);
  p.page07->OutputFilePanel()->click();
  QVERIFY(d.main().InputFileChosen() && d.main().OutputFileChosen());
  QCoreApplication::processEvents();

  // Page 7 keeps its summary column, whole and without a horizontal bar.
  QTextEdit* summary = p.page07->Summary();
  QCOMPARE(summary->width(), summaryWidth);
  QVERIFY(!summary->horizontalScrollBar()->isVisible());
  const auto* heading = p.page07->findChild<QLabel*>(QStringLiteral("LabelSummary"));
  QVERIFY(heading->width() >= heading->sizeHint().width());
  QVERIFY(p.page07->rect().contains(QRect(p.page07->InputFilePanel()->mapTo(p.page07, QPoint(0, 0)),
                                          p.page07->InputFilePanel()->size())));

  // The main window's panels: the folder part is shortened, the name whole.
  for (Side side : {Side::In, Side::Out}) {
    const ClickPanel* panel = d.main().Controls(side).editFileName;
    const QString shown = panel->ShownText();
    QVERIFY2(shown.endsWith(QLatin1Char('/') + QFileInfo(panel->toolTip()).fileName()), qPrintable(shown));
    QVERIFY2(shown != panel->text(), qPrintable(shown));  // it did not fit whole
    QVERIFY(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width());
  }
}

// The whole way a surveyor goes: start the program on the laptop, choose the
// sample point list (point decimals, as total stations and CAD write them)
// and an output in the main window, process, and get the batch converter's
// bytes for the same job.
void DesktopSessionTest::pointListConvertsLikeTheBatchConverter() {
  QTemporaryDir dir;
  Desktop d;
  StartTheProgram(d);
  TFormDXFTransform& main = d.main();
  QVERIFY(OnScreen(main));
  const auto& in = main.Controls(Side::In);
  QVERIFY(ChooseIndex(in.cbFileName, static_cast<int>(FileKind::Ascii3D)));
  const QString output = dir.filePath(QStringLiteral("janela.txt"));
  d.dialogs.PickFile(kSampleList);
  QTest::mouseClick(in.editFileName, Qt::LeftButton);
  d.dialogs.PickFile(output, 1);
  QTest::mouseClick(main.Controls(Side::Out).editFileName, Qt::LeftButton);
  QVERIFY(main.BBProcess()->isEnabled());
  QTest::mouseClick(main.BBProcess(), Qt::LeftButton);

  QCOMPARE(d.dialogs.messages.size(), 1);
  QCOMPARE(d.dialogs.messages[0].text, QStringLiteral("O programa foi executado com sucesso!"));
  QCOMPARE(d.dialogs.messages[0].caption, QStringLiteral("TSC_OBRU"));
  const QString batchOutput = dir.filePath(QStringLiteral("lote.txt"));
  const QByteArray expected = ConvertInBatch(
      {QStringLiteral("--quiet"), QStringLiteral("--from-kind"), QStringLiteral("ascii3d"), kSampleList, batchOutput},
      batchOutput);
  QVERIFY(!expected.isEmpty());
  QCOMPARE(ReadAll(output), expected);
  QCOMPARE(expected.count('\n'), ReadAll(kSampleList).count('\n'));
}

int main(int argc, char** argv) {
  // The users' laptop screen, whatever platform the environment names.
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TRANSREF_LAPTOP_SCREEN);
  TransRefApplication application(argc, argv);
  DesktopSessionTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "DesktopSessionTest.moc"
