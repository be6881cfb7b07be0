#include "ui/DesktopStartUp.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

#include "ui/StartArt.h"
#include "ui/TFormAbout.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormDXFTStartWindow.h"
#include "ui/TFormDXFTransform.h"
#include "ui/TFormProcessBar1.h"
#include "ui/TFormSetup07.h"
#include "ui/TFormSetupChoicePages.h"
#include "ui/TFormSetupSystemPages.h"
#include "ui/UserDialogs.h"

namespace transref {

namespace {

void CriticalBox(const QString& message) {
  QMessageBox::critical(nullptr, kApplicationTitle, message.isEmpty() ? kUnknownFailureText : message);
}

ExceptionDisplay& CurrentDisplay() {
  static ExceptionDisplay display = CriticalBox;
  return display;
}

}  // namespace

ExceptionDisplay SetExceptionDisplay(ExceptionDisplay display) {
  ExceptionDisplay previous = std::move(CurrentDisplay());
  CurrentDisplay() = display ? std::move(display) : ExceptionDisplay(CriticalBox);
  return previous;
}

void ShowException(const QString& message) { CurrentDisplay()(message.isEmpty() ? kUnknownFailureText : message); }

bool RunGuarded(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception& failure) {
    ShowException(QString::fromLocal8Bit(failure.what()));
  } catch (...) {
    ShowException(QString());
  }
  return false;
}

TransRefApplication::TransRefApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TransRefApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

DesktopWindows::DesktopWindows(UserDialogs& dialogs) {
  start_ = std::make_unique<TFormDXFTStartWindow>();
  altimetry_ = std::make_unique<TFormDXFAltimetry>(dialogs);
  page01_ = std::make_unique<TFormSetup01>(link_);
  page02_ = std::make_unique<TFormSetup02>(link_);
  page04_ = std::make_unique<TFormSetup04>(link_);
  page05_ = std::make_unique<TFormSetup05>(link_);
  page03B_ = std::make_unique<TFormSetup03B>(link_);
  about_ = std::make_unique<TFormAbout>();
  progress_ = std::make_unique<TFormProcessBar1>();
  main_ = std::make_unique<TFormDXFTransform>(dialogs, *altimetry_, *progress_);
  page07_ = std::make_unique<TFormSetup07>(link_);
  page06_ = std::make_unique<TFormSetup06>(link_);

  link_.SetWindow(main_.get());
  pages_ = {page01_.get(), page02_.get(), page03B_.get(), page04_.get(),
            page05_.get(), page06_.get(), page07_.get()};
  const std::initializer_list<TFormSetupPage*> all = {page01_.get(), page02_.get(), page03B_.get(), page04_.get(),
                                                      page05_.get(), page06_.get(), page07_.get()};
  for (TFormSetupPage* page : all) {
    page->SetPages(&pages_);
    page->SetMainForm(start_.get());
  }
  page07_->SetAltimetryDialog(altimetry_.get());
  about_->SetMainForm(start_.get());
  about_->SetFirstPage(page01_.get());

  // The main window sits to the right of where the first wizard page opens.
  main_->PlaceBeside(*page01_);
  TFormDXFTStartWindow* start = start_.get();
  main_->SetCloseApplicationHandler([start] { start->close(); });
  start_->SetHandOverWindows(main_.get(), about_.get());
  // Closing the start window ends the message loop, and with it the program
  // and every window still shown. exit(), not quit(): quit() first asks every
  // window to close, and the wizard pages answer a close by going back a
  // page, which would cancel the ending. Queued, so the closing handler
  // finishes first.
  QObject::connect(
      start_.get(), &TFormDXFTStartWindow::Closed, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

// The members go in the reverse order of their creation.
DesktopWindows::~DesktopWindows() = default;

void SetDesktopIdentity() {
  QGuiApplication::setApplicationName(kDesktopIdentity);
  QGuiApplication::setDesktopFileName(kDesktopIdentity);
}

bool InstallPortugueseQtTexts(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

int RunDesktopProgram(int argc, char** argv) {
  TransRefApplication application(argc, argv);
  SetDesktopIdentity();
  if (!InstallPortugueseQtTexts(application)) {
    qWarning("transref: qtbase_pt_BR.qm não encontrado (pacote qt6-translations-l10n); "
             "os botões padrão do Qt ficam em inglês.");
  }
  TransRefApplication::setWindowIcon(ProgramIcon());
  // Only the start window ends the program; hiding or closing any other
  // window never does.
  TransRefApplication::setQuitOnLastWindowClosed(false);

  QtUserDialogs dialogs;
  const AcknowledgeBoxHook acknowledge(dialogs);
  std::unique_ptr<DesktopWindows> windows;
  if (!RunGuarded([&] { windows = std::make_unique<DesktopWindows>(dialogs); })) return 1;
  dialogs.SetParent(&windows->MainWindow());

  windows->StartWindow().show();
  int code = 0;
  RunGuarded([&] { code = TransRefApplication::exec(); });
  return code;
}

}  // namespace transref
