// transref: the desktop program. Creates the windows once, shows the main
// window, and ends when the main window is closed.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <exception>

#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormDXFTransform.h"
#include "ui/TFormProcessBar1.h"
#include "ui/UserDialogs.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TSC_OBRU"));

  transref::QtUserDialogs dialogs;
  // Error-layer reports (a file that cannot be opened) wait for an OK.
  transref::AcknowledgeBoxHook acknowledge(dialogs);
  try {
    transref::TFormDXFAltimetry altimetry(dialogs);
    transref::TFormProcessBar1 progress;
    transref::TFormDXFTransform mainWindow(dialogs, altimetry, progress);
    dialogs.SetParent(&mainWindow);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      mainWindow.move(area.left() + (area.width() - mainWindow.width()) / 2,
                      area.top() + (area.height() - mainWindow.height()) / 2);
    }
    mainWindow.show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    dialogs.ShowMessage({QString::fromUtf8(error.what()), transref::kApplicationTitle,
                         transref::MessageIcon::Stop, transref::MessageButtons::Ok});
    return 1;
  }
}
