#pragma once
// The wizard's two-option pages: the file kind of each side (pages 1 and 4)
// and the dimension of a coordinate list (pages 2 and 5).

#include "ui/TFormSetupPage.h"

class QButtonGroup;
class QRadioButton;

namespace transref {

// A page whose question is answered by one of two radio buttons, RBOption1
// and RBOption2, both bound to RBOption1Click.
class TFormSetupChoicePage : public TFormSetupPage {
  Q_OBJECT

 public:
  TFormSetupChoicePage(const QString& name, MainWindowLink& mainWindow, const QString& option1,
                       const QString& option2, QWidget* parent = nullptr);

  QRadioButton* Option1() const { return RBOption1; }
  QRadioButton* Option2() const { return RBOption2; }
  // 0 for the first option, 1 for the second, -1 before any answer.
  int Answer() const;
  // Selects an option as a click would (runs RBOption1Click).
  void SelectOption(int option);

 public slots:
  // Enables "Avançar >>", rebuilds the summary and writes the main window.
  void RBOption1Click();

 protected:
  virtual QStringList SummaryAdditions() const = 0;
  virtual void WriteMainWindow() = 0;
  // Rebuilds the summary from the current answer (nothing written elsewhere).
  void RefreshSummary();
  void AddOptions();

  QRadioButton* RBOption1;
  QRadioButton* RBOption2;
  QButtonGroup* options_;
};

// Page 1: the input file kind.
class TFormSetup01 final : public TFormSetupChoicePage {
  Q_OBJECT
 public:
  explicit TFormSetup01(MainWindowLink& mainWindow, QWidget* parent = nullptr);
  bool IsText() const { return Answer() == 1; }
 public slots:
  void BBForwardClick() override;
 protected:
  QStringList SummaryAdditions() const override;
  void WriteMainWindow() override;
  void FormClose() override;
};

// Page 2: dimension of the input list.
class TFormSetup02 final : public TFormSetupChoicePage {
  Q_OBJECT
 public:
  explicit TFormSetup02(MainWindowLink& mainWindow, QWidget* parent = nullptr);
  bool IsTwoDimensional() const { return Answer() == 0; }
 public slots:
  void BBForwardClick() override;
 protected:
  QStringList SummaryAdditions() const override;
  void WriteMainWindow() override;
  void FormShow() override;
};

// Page 4: the output file kind.
class TFormSetup04 final : public TFormSetupChoicePage {
  Q_OBJECT
 public:
  explicit TFormSetup04(MainWindowLink& mainWindow, QWidget* parent = nullptr);
  bool IsText() const { return Answer() == 1; }
 public slots:
  void BBForwardClick() override;
 protected:
  QStringList SummaryAdditions() const override;
  void WriteMainWindow() override;
  void FormShow() override;
};

// Page 5: dimension of the output list.
class TFormSetup05 final : public TFormSetupChoicePage {
  Q_OBJECT
 public:
  explicit TFormSetup05(MainWindowLink& mainWindow, QWidget* parent = nullptr);
  bool IsTwoDimensional() const { return Answer() == 0; }
 public slots:
  void BBForwardClick() override;
 protected:
  QStringList SummaryAdditions() const override;
  void WriteMainWindow() override;
  void FormShow() override;
};

}  // namespace transref
