#pragma once
// Shared by the wizard and start-up tests: the whole set of windows built as
// the program builds them, with scripted message boxes and file dialogs, and
// small helpers to read the pages.

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <memory>

#include "ui/DesktopStartUp.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormProcessBar1.h"
#include "ui/ScriptedUserDialogs.h"
#include "ui/TFormAbout.h"
#include "ui/TFormDXFTransform.h"
#include "ui/TFormSetup07.h"
#include "ui/TFormSetupChoicePages.h"
#include "ui/TFormSetupSystemPages.h"

namespace transref::testing {

struct Desktop {
  ScriptedUserDialogs dialogs;
  std::unique_ptr<DesktopWindows> windows = std::make_unique<DesktopWindows>(dialogs);

  const WizardPages& pages() const { return windows->Pages(); }
  TFormDXFTransform& main() const { return windows->MainWindow(); }
  TFormAbout& about() const { return windows->Introduction(); }

  QComboBox* combo(const char* name) const { return main().findChild<QComboBox*>(QString::fromLatin1(name)); }
  QString current(const char* name) const { return combo(name)->currentText(); }

  // Every wizard page, in walking order.
  QList<TFormSetupPage*> allPages() const {
    const WizardPages& p = pages();
    return {p.page01, p.page02, p.page03B, p.page04, p.page05, p.page06, p.page07};
  }
  // The top-level windows shown now.
  QList<QWidget*> visibleWindows() const {
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) shown << w;
    }
    return shown;
  }
};

inline QStringList SummaryLines(const TFormSetupPage* page) {
  return page->Summary()->toPlainText().split(QLatin1Char('\n'));
}

// Clicks the option with the given text on a system page.
inline bool ClickSystemOption(TFormSetupSystemPage* page, const QString& text) {
  for (QRadioButton* button : page->OptionsGroup()->findChildren<QRadioButton*>()) {
    if (button->text() == text) {
      button->click();
      return true;
    }
  }
  return false;
}

// From the introduction back to page 1, "Arquivo texto", on to page 2.
inline void WalkToListDimension(Desktop& d) {
  const WizardPages& p = d.pages();
  d.about().ForwardButton()->click();
  p.page03B->BackwardButton()->click();
  p.page01->Option2()->click();
  p.page01->ForwardButton()->click();
}

// From the introduction to the input-system page for a list input.
inline void WalkToListSystem(Desktop& d, bool twoDimensional) {
  WalkToListDimension(d);
  const WizardPages& p = d.pages();
  (twoDimensional ? p.page02->Option1() : p.page02->Option2())->click();
  p.page02->ForwardButton()->click();
}

}  // namespace transref::testing
