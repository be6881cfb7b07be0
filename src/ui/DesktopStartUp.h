#pragma once
// Start-up of the desktop program: the application object that shows an
// escaping exception instead of dying silently, and the one instance of every
// window, created in the program's fixed order and wired together.

#include <QApplication>

#include <functional>
#include <memory>

#include "ui/MainWindowLink.h"
#include "ui/TFormSetupPage.h"

namespace transref {

class TFormAbout;
class TFormDXFAltimetry;
class TFormDXFTStartWindow;
class TFormDXFTransform;
class TFormProcessBar1;
class UserDialogs;

// Text shown for an exception that carries no message of its own.
inline const QString kUnknownFailureText = QStringLiteral("Ocorreu um erro inesperado no programa.");

// Shows an exception that reached the event loop or start-up.
using ExceptionDisplay = std::function<void(const QString& message)>;
// The display in use (a critical message box unless replaced) and its
// replacement; the previous display is returned.
ExceptionDisplay SetExceptionDisplay(ExceptionDisplay display);
void ShowException(const QString& message);
// Runs `step`, showing any exception it throws; true when none was thrown.
bool RunGuarded(const std::function<void()>& step);

class TransRefApplication final : public QApplication {
  Q_OBJECT

 public:
  TransRefApplication(int& argc, char** argv);
  // Delivers the event; an exception thrown by a handler is shown and the
  // loop goes on.
  bool notify(QObject* receiver, QEvent* event) override;
};

// Every window of the program, each exactly once. Created in this order:
// start window, altimetry dialog, wizard pages 1, 2, 4, 5 and 3B,
// introduction, progress window, main window, wizard pages 7 and 6. (The
// progress window comes before the main window, which takes it when it is
// built.) The wizard and the main window share the one altimetry dialog and
// progress window. Closing the start window quits the application's loop.
class DesktopWindows {
 public:
  explicit DesktopWindows(UserDialogs& dialogs);
  ~DesktopWindows();
  DesktopWindows(const DesktopWindows&) = delete;
  DesktopWindows& operator=(const DesktopWindows&) = delete;

  TFormDXFTStartWindow& StartWindow() const { return *start_; }
  TFormDXFAltimetry& Altimetry() const { return *altimetry_; }
  TFormAbout& Introduction() const { return *about_; }
  TFormDXFTransform& MainWindow() const { return *main_; }
  TFormProcessBar1& Progress() const { return *progress_; }
  const WizardPages& Pages() const { return pages_; }
  MainWindowLink& Link() { return link_; }

 private:
  MainWindowLink link_;
  WizardPages pages_;
  std::unique_ptr<TFormDXFTStartWindow> start_;
  std::unique_ptr<TFormDXFAltimetry> altimetry_;
  std::unique_ptr<TFormSetup01> page01_;
  std::unique_ptr<TFormSetup02> page02_;
  std::unique_ptr<TFormSetup04> page04_;
  std::unique_ptr<TFormSetup05> page05_;
  std::unique_ptr<TFormSetup03B> page03B_;
  std::unique_ptr<TFormAbout> about_;
  std::unique_ptr<TFormProcessBar1> progress_;
  std::unique_ptr<TFormDXFTransform> main_;
  std::unique_ptr<TFormSetup07> page07_;
  std::unique_ptr<TFormSetup06> page06_;
};

// The name the desktop session knows the program by: the application name
// and the desktop-file name match the menu entry transref.desktop (window
// grouping, icon). The windows' captions are their own texts.
inline const QString kDesktopIdentity = QStringLiteral("transref");
void SetDesktopIdentity();

// Qt's own texts (the buttons of every question, the file dialogs, the edit
// menus) in Brazilian Portuguese whatever the session's language, from Qt's
// translation qtbase_pt_BR.qm (Debian package qt6-translations-l10n). False
// when it is not installed: Qt's texts then stay in English.
bool InstallPortugueseQtTexts(QCoreApplication& application);

// The desktop program: application object, windows, message loop. Returns
// the exit code (0 after the start window was closed, 1 when start-up failed).
int RunDesktopProgram(int argc, char** argv);

}  // namespace transref
