#pragma once
// The wizard's coordinate-system pages: page 3B for the input and page 6 for
// the output. Each offers a run-time list of options in the radio group
// " Sistema de Coordenadas: "; an option selects a system (and where it names
// one, an ellipsoid) in the main window.

#include <QList>

#include "ui/MainWindowLink.h"
#include "ui/TFormSetupPage.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace transref {

// One option of the system pages and what it means.
struct WizardSystemOption {
  QString option;            // text of the radio button
  QString system;            // entry of the main window's system list
  QString ellipsoid;         // entry of the ellipsoid list; empty: locked by the system
  QString summarySystem;     // summary line of the system
  QString summaryEllipsoid;  // summary line of the ellipsoid
  bool projected;            // one of the three grid options
  bool cartesian;            // geocentric cartesian coordinates
};

// The seven options, in the order the pages offer them.
const QList<WizardSystemOption>& WizardSystemOptions();

class TFormSetupSystemPage : public TFormSetupPage {
  Q_OBJECT

 public:
  TFormSetupSystemPage(const QString& name, WizardSide side, MainWindowLink& mainWindow, QWidget* parent = nullptr);

  QGroupBox* OptionsGroup() const { return RGOptions; }
  // Texts of the options offered now, in order.
  QStringList OfferedTexts() const;
  // Position (in the offered list) and text of the last choice; -1 and empty
  // before any.
  int ChosenIndex() const { return chosenIndex_; }
  const QString& ChosenText() const { return chosenText_; }
  // Selects the option at `position` as a click would (runs RGOptionsClick).
  void SelectOption(int position);

 public slots:
  void RGOptionsClick();

 protected:
  // The options this page offers now, given the earlier answers.
  virtual QList<WizardSystemOption> OfferedOptions() const = 0;
  // Rebuilds the option list, reselects the remembered position and rebuilds
  // the summary from the choice.
  void FormShow() override;
  void ForwardTo(TFormSetupPage* next);

 private:
  void RebuildOptions();
  QStringList SummaryAdditions() const;

  WizardSide side_;
  QGroupBox* RGOptions;
  QButtonGroup* buttons_;
  QList<WizardSystemOption> offered_;
  int chosenIndex_ = -1;
  QString chosenText_;
};

// Page 3B: the input system.
class TFormSetup03B final : public TFormSetupSystemPage {
  Q_OBJECT
 public:
  explicit TFormSetup03B(MainWindowLink& mainWindow, QWidget* parent = nullptr);
 public slots:
  void BBForwardClick() override;
 protected:
  QList<WizardSystemOption> OfferedOptions() const override;
};

// Page 6: the output system.
class TFormSetup06 final : public TFormSetupSystemPage {
  Q_OBJECT
 public:
  explicit TFormSetup06(MainWindowLink& mainWindow, QWidget* parent = nullptr);
 public slots:
  void BBForwardClick() override;
 protected:
  QList<WizardSystemOption> OfferedOptions() const override;
};

}  // namespace transref
